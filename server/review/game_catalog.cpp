#include "game_catalog.h"

#include <algorithm>
#include <regex>

#include "recorded_game.h"

namespace lerva::review {

namespace {

const std::regex& recordIdPattern() {
    static const std::regex pattern("game-([0-9]{8})-([0-9]{6})-t([0-9]{1,19})");
    return pattern;
}

std::string dateOf(const std::string& id) {
    std::smatch parts;
    std::regex_match(id, parts, recordIdPattern());
    const std::string day = parts[1], time = parts[2];
    return day.substr(0, 4) + "-" + day.substr(4, 2) + "-" + day.substr(6, 2) + " " + time.substr(0, 2) + ":" +
           time.substr(2, 2) + ":" + time.substr(4, 2);
}

std::uint64_t tableOf(const std::string& id) { return std::stoull(id.substr(id.rfind("-t") + 2)); }

std::optional<GameSummary> summarize(const std::string& id, const std::filesystem::path& path) {
    try {
        const analysis::RecordedGame game = analysis::readRecordFile(path.string());
        return GameSummary{id, dateOf(id), game.names, game.totals, static_cast<int>(game.deals.size()),
                           game.abandoned, path};
    } catch (const analysis::RecordError&) {
        return std::nullopt;   // still being written, or not a game
    }
}

}  // namespace

bool GameCatalog::isRecordId(const std::string& id) { return std::regex_match(id, recordIdPattern()); }

std::vector<GameSummary> GameCatalog::list() {
    std::vector<GameSummary> games;
    const std::lock_guard lock(mutex_);
    std::map<std::string, Cached> seen;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir_, error)) {
        const std::filesystem::path& path = entry.path();
        const std::string id = path.stem().string();
        if (path.extension() != ".jsonl" || !isRecordId(id) || !entry.is_regular_file(error)) continue;
        Cached now{entry.file_size(error), entry.last_write_time(error), std::nullopt};
        const auto cached = cache_.find(id);
        if (cached != cache_.end() && cached->second.size == now.size && cached->second.time == now.time)
            now.summary = cached->second.summary;
        else
            now.summary = summarize(id, path);
        if (now.summary) games.push_back(*now.summary);
        seen.emplace(id, std::move(now));
    }
    cache_ = std::move(seen);
    std::sort(games.begin(), games.end(), [](const GameSummary& a, const GameSummary& b) {
        if (a.date != b.date) return a.date > b.date;
        return tableOf(a.id) > tableOf(b.id);
    });
    return games;
}

std::optional<GameSummary> GameCatalog::find(const std::string& id) {
    if (!isRecordId(id)) return std::nullopt;
    for (GameSummary& game : list())
        if (game.id == id) return std::move(game);
    return std::nullopt;
}

}  // namespace lerva::review

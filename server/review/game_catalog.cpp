#include "game_catalog.h"

#include <algorithm>
#include <regex>
#include <set>

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

const std::optional<GameSummary>& GameCatalog::summaryOf(const std::string& id, const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    const auto time = std::filesystem::last_write_time(path, error);
    Cached& cached = cache_[id];
    if (cached.size != size || cached.time != time || !cached.read) {
        cached = {size, time, true, error ? std::nullopt : summarize(id, path)};
    }
    return cached.summary;
}

std::vector<GameSummary> GameCatalog::list() {
    std::vector<GameSummary> games;
    const std::lock_guard lock(mutex_);
    std::set<std::string> seen;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir_, error)) {
        const std::filesystem::path& path = entry.path();
        const std::string id = path.stem().string();
        if (path.extension() != ".jsonl" || !isRecordId(id) || !entry.is_regular_file(error)) continue;
        seen.insert(id);
        if (const auto& summary = summaryOf(id, path)) games.push_back(*summary);
    }
    std::erase_if(cache_, [&](const auto& cached) { return !seen.contains(cached.first); });
    std::sort(games.begin(), games.end(), [](const GameSummary& a, const GameSummary& b) {
        if (a.date != b.date) return a.date > b.date;
        return tableOf(a.id) > tableOf(b.id);
    });
    return games;
}

std::optional<GameSummary> GameCatalog::find(const std::string& id) {
    // The pattern lets no separator or dot through: the path stays in the folder.
    if (!isRecordId(id)) return std::nullopt;
    const std::filesystem::path path = dir_ / (id + ".jsonl");
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const std::lock_guard lock(mutex_);
    return summaryOf(id, path);
}

}  // namespace lerva::review

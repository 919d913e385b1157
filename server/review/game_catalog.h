// The recorded games of a folder that can be reviewed: the finished records
// the server wrote there that read back as valid games. Each is known by its
// id, the record's file name without ".jsonl"; only an id of the server's own
// pattern (digits, letters, dashes) is ever turned back into a path, and only
// the games list() would show are found.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "messages.h"
#include "scoring.h"

namespace lerva::review {

struct GameSummary {
    std::string id;
    std::string date;                  // "YYYY-MM-DD HH:MM:SS", local time of the game's start
    SeatNames names;
    std::array<int, kTeams> totals{};  // final game points by team
    int deals = 0;
    bool abandoned = false;
    std::filesystem::path path;
};

class GameCatalog {
public:
    explicit GameCatalog(std::filesystem::path dir) : dir_(std::move(dir)) {}

    // Newest first. A record is read again only when its size or time changed.
    std::vector<GameSummary> list();
    // The game of an id that list() shows; nothing for any other text.
    std::optional<GameSummary> find(const std::string& id);

    // Is this a name the server gives its records ("game-YYYYMMDD-HHMMSS-tN")?
    static bool isRecordId(const std::string& id);

private:
    // The game in the record at `path`, read again only if it changed;
    // call with the mutex held.
    const std::optional<GameSummary>& summaryOf(const std::string& id, const std::filesystem::path& path);

    struct Cached {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time;
        bool read = false;
        std::optional<GameSummary> summary;   // nothing: not a finished, valid game
    };

    std::filesystem::path dir_;
    std::mutex mutex_;
    std::map<std::string, Cached> cache_;
};

}  // namespace lerva::review

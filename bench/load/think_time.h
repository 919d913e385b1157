// How long a load player thinks before each move, and the moves that wait
// for their time. People take seconds per card; with no pause at all every
// table always has a move in flight, and the latency measured is only the
// length of the server's queue (moves in flight / moves per second).
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "protocol.h"

namespace lerva::load {

using Clock = std::chrono::steady_clock;

// A pause drawn uniformly from [minMs, maxMs] before each move.
struct ThinkTime {
    int minMs = 0;
    int maxMs = 0;

    bool none() const { return maxMs == 0; }
    std::string text() const { return std::to_string(minMs) + "-" + std::to_string(maxMs) + " ms"; }
};

// "MIN-MAX" or "MS" in milliseconds; nothing when it is neither.
inline std::optional<ThinkTime> parseThinkTime(const std::string& text) {
    int low = -1, high = -1;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d-%d%c", &low, &high, &extra) == 2 && low >= 0 && high >= low)
        return ThinkTime{low, high};
    if (std::sscanf(text.c_str(), "%d%c", &low, &extra) == 1 && low >= 0) return ThinkTime{low, low};
    return std::nullopt;
}

// One player's pauses: the same seed and player number give the same pauses.
class Thinker {
public:
    Thinker(ThinkTime think, std::uint64_t seed, std::uint64_t player)
        : think_(think), rng_(seed * 0x9e3779b97f4a7c15ULL + player) {}

    Clock::duration next() {
        std::uniform_int_distribution<int> micros(think_.minMs * 1000, think_.maxMs * 1000);
        return std::chrono::microseconds(micros(rng_));
    }

private:
    ThinkTime think_;
    std::mt19937_64 rng_;
};

// Moves waiting for their player to finish thinking, earliest first. A
// connection is named by its slot and a serial, so that a move of a
// connection that closed meanwhile is recognised and dropped.
class PendingMoves {
public:
    struct Move {
        Clock::time_point due;
        std::size_t slot;
        std::uint64_t serial;
        Block block;
    };

    void add(Move move) { queue_.push(std::move(move)); }
    bool empty() const { return queue_.empty(); }
    Clock::time_point nextDue() const { return queue_.top().due; }
    // The earliest move if its time has come.
    std::optional<Move> takeDue(Clock::time_point now) {
        if (queue_.empty() || queue_.top().due > now) return std::nullopt;
        Move move = queue_.top();
        queue_.pop();
        return move;
    }

private:
    struct Later {
        bool operator()(const Move& a, const Move& b) const { return a.due > b.due; }
    };
    std::priority_queue<Move, std::vector<Move>, Later> queue_;
};

}  // namespace lerva::load

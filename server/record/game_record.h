// The record of one game as JSON lines: a "game" line when it starts, a
// "deal" line for every deal (names, hands, bids, trump, tricks, card and
// game points) and an "end" line. The table feeds it the engine's events.
#pragma once

#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "game.h"
#include "messages.h"

namespace lerva {

class GameRecord {
public:
    GameRecord(std::uint64_t tableNumber, std::uint64_t seed);

    // Which seats computer players play, by absolute seat.
    using ComputerSeats = std::array<bool, kSeats>;

    // Call with each event right after the engine reported it; `names` are
    // the names at the table for the current deal, `computer` who plays by
    // program.
    void onEvent(const Event& event, const Game& game, const SeatNames& names, const ComputerSeats& computer);

    // A computer player took over `seat` in the middle of the deal.
    void onComputerTakesOver(int seat);

    // The game ended before a team reached 12 (the table closed).
    void onAbandoned(const Game& game);

    // Lines completed since the last call, each one JSON object.
    std::vector<std::string> takeLines();

private:
    void pushLine(const nlohmann::json& line);

    std::uint64_t tableNumber_;
    std::uint64_t seed_;
    bool started_ = false;
    nlohmann::json deal_;
    std::vector<std::string> lines_;
};

}  // namespace lerva

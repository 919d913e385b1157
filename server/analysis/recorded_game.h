// A game record read back: every line checked for its shape and ranges,
// every deal replayed through the rules engine and checked against what the
// record says it came to. Whatever is read here is a game the rules allow.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "deal.h"
#include "messages.h"
#include "scoring.h"

namespace lerva::analysis {

// A record that is not a valid game; line() is 1-based, 0 for the file.
class RecordError : public std::runtime_error {
public:
    RecordError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
    int line() const { return line_; }
private:
    int line_;
};

struct RecordedBid {
    int seat = 0;
    int bid = 0;
};

struct RecordedTrick {
    int leader = 0;
    std::array<CardCode, kSeats> cards{};   // in play order from the leader
    int winner = 0;
    int points = 0;
};

struct RecordedDeal {
    int line = 0;
    int number = 0;
    int dealer = 0;
    SeatNames names;
    Hands hands{};
    std::vector<RecordedBid> bids;
    int declarer = 0;
    int contract = 0;
    bool allPassed = false;
    int trump = 0;
    std::vector<RecordedTrick> tricks;
    std::array<int, kTeams> cardPoints{};
    std::array<int, kTeams> gamePoints{};
    std::array<int, kTeams> totals{};
};

struct RecordedGame {
    std::uint64_t table = 0;
    std::uint64_t seed = 0;
    SeatNames names;                 // at the start of the game
    std::vector<RecordedDeal> deals;
    bool abandoned = false;
    int winnerTeam = -1;             // -1 when abandoned
    std::array<int, kTeams> totals{};
};

// "FILE line N: what", or "FILE: what" for the file as a whole.
std::string describe(const RecordError& error, const std::string& source);

// Reads and checks a whole record; throws RecordError naming the line of
// the first fault.
RecordedGame readRecord(std::string_view text);
RecordedGame readRecordFile(const std::string& path);

}  // namespace lerva::analysis

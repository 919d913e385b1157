// Checks the game records a server wrote: every line whole JSON, and a
// finished game's scores re-derived from its tricks equal to the totals
// the record gives and to what the player was sent.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>

namespace lerva::soak {

// The final game points a player was sent: own team, other team.
using Totals = std::array<int, 2>;

struct RecordCounts {
    long checked = 0;          // records with their end line, read and removed
    long scored = 0;           // of those, games of our players compared with what they were sent
    long cutLines = 0;         // lines that are not whole JSON
    long disagreements = 0;    // scores that do not add up
    std::string firstProblem;
};

// Reads every finished record in `dir`, checks it and removes it. A game
// whose first seat is a name in `sent` is compared with those totals (and
// the name is taken out of `sent`).
void checkRecords(const std::filesystem::path& dir, std::map<std::string, Totals>& sent, RecordCounts& counts);

}  // namespace lerva::soak

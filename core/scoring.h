// What a deal is worth in game points, and when a game is over.
#pragma once

#include <array>

namespace lerva {

constexpr int kTeams = 2;
constexpr int kDealCardPoints = 120;
constexpr int kTricksPerDeal = 9;
// Card points the declarers need to win a deal.
constexpr int kDeclarersNeed = 61;
// Losers below this many card points pay double ("schneider").
constexpr int kLosersSafe = 31;
// A team with this many game points has won the game.
constexpr int kGameTarget = 12;

// Partners sit opposite: seats 0 and 2 are team 0, seats 1 and 3 team 1.
constexpr int teamOf(int seat) { return seat % 2; }

struct DealOutcome {
    bool declarersWon;
    std::array<int, kTeams> gamePoints;   // by team; only one team scores
};

// Scores a deal from the declarers' side: their card points and tricks.
// Winners score 1, 2 when the losers stayed under 31 card points, 3 when the
// losers took no trick; defenders who beat the declarers score double; a
// deal played after the bid 10 scores double again.
DealOutcome scoreDeal(int declarerTeam, int declarerCardPoints, int declarerTricks,
                      bool bidTen);

constexpr bool gameOver(const std::array<int, kTeams>& totals) {
    return totals[0] >= kGameTarget || totals[1] >= kGameTarget;
}

}  // namespace lerva

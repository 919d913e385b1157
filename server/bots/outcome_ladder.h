// What the open-card solver answers for a bot: the outcomes a deal's score
// tells apart, and the best of them the declarers can force. Shared by the
// strong bot (one sampled world at a time) and the oracle (the real deal).
#pragma once

#include <array>
#include <vector>

#include "card_set.h"
#include "player_view.h"
#include "solver.h"

namespace lerva {

// From the declarers' side, worst first: no trick, under 31, under 61,
// made, made with the defenders under 31, made with every trick.
constexpr int kOutcomes = 6;

struct OutcomeLadder {
    // Value units the declarers must still win for each outcome above the
    // worst (index k for outcome k + 1).
    std::array<int, kOutcomes - 1> needed{};
    std::array<int, kOutcomes> score{};   // game points for the viewer's team
};

// The state of a deal as the ladder needs it, from the declarers' side.
struct DealSoFar {
    int viewerTeam = 0;
    int declarerTeam = 0;
    bool bidTen = false;
    int declarerPoints = 0;          // card points the declarers took so far
    bool declarersTookTrick = false;
    bool defendersTookTrick = false;
};

OutcomeLadder makeLadder(const DealSoFar& deal, int remainingUnits);
OutcomeLadder ladderFor(const PlayerView& view, int remainingUnits);

// The best outcome the declarers can force from the solver's position
// (kNoCard), or after the player to move plays `card`. Reaching an outcome
// implies reaching every lower one, so the walk starts at a guess (the
// outcome found before, mostly the same): two questions when it holds.
int bestOutcome(solver::Solver& solver, CardCode card, int declarerTeam, const OutcomeLadder& ladder, int guess);

// Game points for the viewer's team after each of `moves` in one world
// whose hands are `hands` (cards still held), solved open. Cards that play
// alike in that world share one search. Returns false when the solver's
// node limit stopped it: the scores then mean nothing.
bool scoreMoves(solver::Solver& solver, const PlayerView& view, const std::array<CardSet, kSeats>& hands,
                const std::vector<CardCode>& moves, int& guess, std::vector<int>& scores);

// The move with the best total value; among equals `preferred` (the
// heuristic player's card, which also weighs what a deal's score cannot
// see, such as points beyond a decided deal).
CardCode bestValued(const std::vector<CardCode>& moves, const std::vector<double>& value, CardCode preferred);

// What a deal is worth to `team` in game points when the declarers end with
// `declarerPoints` card points and `declarerTricks` tricks.
int dealScoreFor(int team, int declarerTeam, int declarerPoints, int declarerTricks, bool bidTen);

}  // namespace lerva

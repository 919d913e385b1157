// What a contract would score for the bidder's team, estimated by playing
// sampled deals out: the unseen cards dealt in ways that agree with the
// bids so far, the bidder declaring with a given trump, four heuristic
// players at the table. Cheap enough to value every trump at every bid.
// Given a solver, the last tricks of each sampled deal are solved open
// instead of played out, so that the estimate sees the end of the play as
// well as the strong bot plays it, not as the heuristic player does.
#pragma once

#include <array>

#include "player_view.h"
#include "rng.h"
#include "solver.h"

namespace lerva {

struct ContractValues {
    // Mean game points for the bidder's team when the bidder declares with
    // suit s as trump (index 1..4); "Ruutu" scores twice the diamonds value.
    std::array<double, 5> bySuit{};
    int deals = 0;
};

struct ContractEstimate {
    int deals = 48;                       // sampled deals per suit
    int solvedTricks = 0;                 // tricks solved open at the end of each (0: none)
    solver::Solver* solver = nullptr;     // needed when solvedTricks > 0
};

// Plays `how.deals` sampled deals for each suit the bidder could name. When
// the solver's node limit cuts a solve short, the deals valued before it
// are all the estimate counts.
ContractValues estimateContracts(const PlayerView& view, const ContractEstimate& how, Rng& rng);

}  // namespace lerva

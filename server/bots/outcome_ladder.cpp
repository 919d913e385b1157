#include "outcome_ladder.h"

#include <cmath>

#include "scoring.h"

namespace lerva {

using solver::kUnitsPerPoint;

int dealScoreFor(int team, int declarerTeam, int declarerPoints, int declarerTricks, bool bidTen) {
    return scoreDeal(declarerTeam, declarerPoints, declarerTricks, bidTen).gamePoints[team];
}

OutcomeLadder makeLadder(const DealSoFar& deal, int remainingUnits) {
    const int taken = deal.declarerPoints;
    OutcomeLadder ladder;
    ladder.needed = {deal.declarersTookTrick ? 0 : 1,
                     kUnitsPerPoint * (kLosersSafe - taken),
                     kUnitsPerPoint * (kDeclarersNeed - taken),
                     kUnitsPerPoint * (kDealCardPoints - kLosersSafe + 1 - taken),
                     deal.defendersTookTrick ? remainingUnits + 1 : remainingUnits};
    // A representative result of each outcome, scored by the deal's rules.
    const int points[kOutcomes] = {0, 0, kLosersSafe, kDeclarersNeed, kDealCardPoints, kDealCardPoints};
    const int tricks[kOutcomes] = {0, 1, 1, 1, kTricksPerDeal - 1, kTricksPerDeal};
    for (int k = 0; k < kOutcomes; ++k)
        ladder.score[k] = dealScoreFor(deal.viewerTeam, deal.declarerTeam, points[k], tricks[k], deal.bidTen);
    return ladder;
}

OutcomeLadder ladderFor(const PlayerView& view, int remainingUnits) {
    const int declarers = teamOf(view.declarer);
    return makeLadder({.viewerTeam = view.team(),
                       .declarerTeam = declarers,
                       .bidTen = view.bidTen,
                       .declarerPoints = view.cardPoints[declarers],
                       .declarersTookTrick = view.tricksWon[declarers] > 0,
                       .defendersTookTrick = view.tricksWon[1 - declarers] > 0},
                      remainingUnits);
}

int bestOutcome(solver::Solver& solver, CardCode card, int declarerTeam, const OutcomeLadder& ladder, int guess) {
    auto reaches = [&](int outcome) {
        const int needed = ladder.needed[outcome - 1];
        return card == kNoCard ? solver.teamReaches(declarerTeam, needed)
                               : solver.teamReachesAfter(card, declarerTeam, needed);
    };
    int outcome = guess;
    if (outcome > 0 && !reaches(outcome)) {
        do --outcome;
        while (outcome > 0 && !reaches(outcome));
        return outcome;
    }
    while (outcome < kOutcomes - 1 && reaches(outcome + 1)) ++outcome;
    return outcome;
}

bool scoreMoves(solver::Solver& solver, const PlayerView& view, const std::array<CardSet, kSeats>& hands,
                const std::vector<CardCode>& moves, int& guess, std::vector<int>& scores) {
    solver::Position position{hands, view.trump, view.leader, view.trickSize, view.trick};
    if (view.trickSize == 0) position.leader = view.seat;
    solver.setPosition(position);
    const OutcomeLadder ladder = ladderFor(view, solver.remainingUnits());
    const int declarers = teamOf(view.declarer);
    std::array<int, kDeckSize> outcomeOf;
    outcomeOf.fill(-1);
    scores.resize(moves.size());
    for (std::size_t m = 0; m < moves.size(); ++m) {
        int& outcome = outcomeOf[cardIndex(solver.representative(moves[m]))];
        if (outcome < 0) outcome = guess = bestOutcome(solver, moves[m], declarers, ladder, guess);
        scores[m] = ladder.score[outcome];
    }
    return !solver.stopped();
}

CardCode bestValued(const std::vector<CardCode>& moves, const std::vector<double>& value, CardCode preferred) {
    std::size_t best = 0;
    for (std::size_t m = 1; m < moves.size(); ++m)
        if (value[m] > value[best]) best = m;
    const double tolerance = 1e-9 * (1 + std::abs(value[best]));
    for (std::size_t m = 0; m < moves.size(); ++m)
        if (moves[m] == preferred && value[m] >= value[best] - tolerance) return preferred;
    return moves[best];
}

}  // namespace lerva

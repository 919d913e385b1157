#include "oracle_bot.h"

#include <algorithm>
#include <vector>

#include "hand_eval.h"
#include "outcome_ladder.h"
#include "solver.h"

namespace lerva {

namespace {

// The oracle's own solver per thread, keeping its table through a deal:
// every decision of a deal searches part of what the one before searched.
solver::Solver& oracleSolver() {
    thread_local solver::Solver solver(solver::SolverOptions{.keepTable = true});
    return solver;
}

}  // namespace

void OracleBot::revealDeal(const std::array<CardSet, kSeats>& dealt) {
    dealt_ = dealt;
    values_.reset();
}

std::array<CardSet, kSeats> OracleBot::handsNow(const PlayerView& view) const {
    std::array<CardSet, kSeats> hands = *dealt_;
    for (int t = 0; t < view.tricksDone; ++t)
        for (int i = 0; i < kSeats; ++i) hands[(view.tricks[t].leader + i) % kSeats].remove(view.tricks[t].cards[i]);
    for (int i = 0; i < view.trickSize; ++i) hands[(view.leader + i) % kSeats].remove(view.trick[i]);
    return hands;
}

const std::array<int, 5>& OracleBot::contractValues(const PlayerView& view) {
    if (values_) return *values_;
    solver::Solver& solver = oracleSolver();
    std::array<int, 5> values{};
    int guess = kOutcomes / 2;
    for (int suit = kDiamonds; suit <= kClubs; ++suit) {
        solver.setPosition({*dealt_, suit, view.forehand, 0, {}});
        const OutcomeLadder ladder =
            makeLadder({.viewerTeam = view.team(), .declarerTeam = view.team()}, solver.remainingUnits());
        guess = bestOutcome(solver, kNoCard, view.team(), ladder, guess);
        values[suit] = ladder.score[guess];
    }
    return *(values_ = values);
}

// Declares when its side wins the contract against best defence, at the
// cheapest bid; "Ruutu" when doubled diamonds win more. Over a partner who
// holds the auction it bids only for a better contract than the partner's.
int OracleBot::chooseBid(const PlayerView& view) {
    if (!dealt_) return heuristic_.chooseBid(view);
    const std::array<int, 5>& values = contractValues(view);
    const CardSet dealt = (*dealt_)[view.seat];
    auto bestAt = [&](int level, CardSet hand) {
        int best = values[kDiamonds];
        for (int suit = kHearts; suit <= kClubs; ++suit)
            if (trumpCount(hand, suit) >= level) best = std::max(best, values[suit]);
        return best;
    };
    const int cheapest = view.cheapestPlainBid();
    const int contract = cheapest > 0 ? bestAt(cheapest, dealt) : -1000;
    const int bidTen = 2 * values[kDiamonds];
    if (view.bidLegal(kBidTen) && bidTen > 0 && bidTen > contract) return kBidTen;
    const bool partnerLeads = view.partnerHoldsAuction();
    const int partners = partnerLeads ? bestAt(view.standingBids[view.partner()], (*dealt_)[view.partner()]) : 0;
    return cheapest > 0 && contract > partners ? cheapest : 0;
}

int OracleBot::chooseTrump(const PlayerView& view) {
    if (!dealt_) return heuristic_.chooseTrump(view);
    const std::array<int, 5>& values = contractValues(view);
    int best = 0;
    for (int suit = kDiamonds; suit <= kClubs; ++suit)
        if (view.trumpLegal(suit) && (best == 0 || values[suit] > values[best])) best = suit;
    return best;
}

CardCode OracleBot::chooseCard(const PlayerView& view) {
    const CardCode fallback = heuristic_.chooseCard(view);
    if (!dealt_ || view.legalCards.size() <= 1 || view.declarer < 0) return fallback;
    std::vector<CardCode> moves;
    for (CardCode card : view.legalCards) moves.push_back(card);
    std::vector<int> scores;
    int guess = kOutcomes / 2;
    scoreMoves(oracleSolver(), view, handsNow(view), moves, guess, scores);
    return bestValued(moves, std::vector<double>(scores.begin(), scores.end()), fallback);
}

}  // namespace lerva

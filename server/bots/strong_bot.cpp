#include "strong_bot.h"

#include <algorithm>
#include <vector>

#include "hand_eval.h"
#include "outcome_ladder.h"
#include "play_inference.h"
#include "solver.h"
#include "world_sampler.h"

namespace lerva {

namespace {

// One solver per thread: its table is large, and a bot may think on any
// worker. The solver's answers do not depend on what it held before.
solver::Solver& threadSolver() {
    thread_local solver::Solver solver;
    return solver;
}

thread_local std::uint64_t worldsSolved = 0;

}  // namespace

std::uint64_t strongBotNodesOnThisThread() { return threadSolver().nodes(); }
std::uint64_t strongBotWorldsOnThisThread() { return worldsSolved; }

ContractValues StrongBot::contractValues(const PlayerView& view) {
    Rng rng(rng_.fork());
    solver::Solver& solver = threadSolver();
    solver.setNodeLimit(solver.nodes() + tuning_.nodeBudget);
    const ContractValues values = estimateContracts(
        view, {.deals = tuning_.biddingDeals, .solvedTricks = tuning_.biddingSolvedTricks, .solver = &solver}, rng);
    solver.setNodeLimit(0);
    return values;
}

// Bids the cheapest bid the rules allow when some trump this hand may name
// at that level promises enough; "Ruutu" when doubled diamonds promise more.
int StrongBot::chooseBid(const PlayerView& view) {
    const ContractValues values = contractValues(view);
    if (values.deals == 0) return heuristic_.chooseBid(view);
    auto bestAt = [&](int level) {
        double best = values.bySuit[kDiamonds];
        for (int suit = kHearts; suit <= kClubs; ++suit)
            if (trumpCount(view.hand, suit) >= level) best = std::max(best, values.bySuit[suit]);
        return best;
    };
    const int cheapest = view.cheapestPlainBid();
    const double contract = cheapest > 0 ? bestAt(cheapest) : -1e9;
    const double bidTen = 2 * values.bySuit[kDiamonds];
    if (view.bidLegal(kBidTen) && bidTen > tuning_.declareMargin && bidTen > contract + tuning_.bidTenMargin) return kBidTen;

    const bool partnerLeads = view.partnerHoldsAuction();
    const double needed = tuning_.declareMargin + (partnerLeads ? tuning_.outbidPartnerMargin : 0.0);
    return cheapest > 0 && contract > needed ? cheapest : 0;
}

int StrongBot::chooseTrump(const PlayerView& view) {
    const ContractValues values = contractValues(view);
    if (values.deals == 0) return heuristic_.chooseTrump(view);
    int best = 0;
    for (int suit = kDiamonds; suit <= kClubs; ++suit)
        if (view.trumpLegal(suit) && (best == 0 || values.bySuit[suit] > values.bySuit[best])) best = suit;
    return best;
}

CardCode StrongBot::chooseCard(const PlayerView& view) {
    const CardCode fallback = heuristic_.chooseCard(view);
    const int tricksLeft = kTricksPerDeal - view.tricksDone;
    if (view.legalCards.size() <= 1 || tricksLeft > tuning_.searchFromTricksLeft || view.declarer < 0)
        return fallback;

    Rng rng(rng_.fork());
    const WorldSampler sampler(view);
    solver::Solver& solver = threadSolver();

    std::vector<CardCode> moves;
    for (CardCode card : view.legalCards) moves.push_back(card);
    std::vector<double> value(moves.size(), 0.0);
    std::vector<int> scores;
    double totalWeight = 0;
    int guess = kOutcomes / 2;
    solver.setNodeLimit(solver.nodes() + tuning_.nodeBudget);
    for (const World& world : drawWorlds(sampler, view, tuning_.worlds, tuning_.inference, rng)) {
        // A world cut short by the budget is thrown away: its answers mean nothing.
        if (!scoreMoves(solver, view, world.hands, moves, guess, scores)) break;
        for (std::size_t m = 0; m < moves.size(); ++m) value[m] += world.weight * scores[m];
        totalWeight += world.weight;
        ++worldsSolved;
    }
    solver.setNodeLimit(0);
    if (totalWeight <= 0) return fallback;

    return bestValued(moves, value, fallback);
}

}  // namespace lerva

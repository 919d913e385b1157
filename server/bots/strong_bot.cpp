#include "strong_bot.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "hand_eval.h"
#include "outcome_ladder.h"
#include "play_inference.h"
#include "shared_work.h"
#include "solver.h"
#include "world_sampler.h"

namespace lerva {

namespace {

// One solver per thread: its table is large, a bot may think on any worker
// and a decision's shares run on helper threads too. The solver's answers do
// not depend on what it held before.
solver::Solver& threadSolver() {
    thread_local solver::Solver solver;
    return solver;
}

std::atomic<std::uint64_t> searchNodes{0};
std::atomic<std::uint64_t> worldsSolved{0};

// What one share of a decision's worlds says of each move.
struct ShareValues {
    std::vector<double> value;   // weighted game points per move
    double weight = 0;
};

// Solves worlds share, share + shares, ... in turn, until the budget runs
// out; a world cut short is thrown away, its answers mean nothing.
ShareValues solveShare(const PlayerView& view, const std::vector<World>& worlds, const std::vector<CardCode>& moves,
                       std::size_t share, std::size_t shares, std::uint64_t budget) {
    solver::Solver& solver = threadSolver();
    const std::uint64_t nodesBefore = solver.nodes();
    solver.setNodeLimit(nodesBefore + budget);
    ShareValues result{std::vector<double>(moves.size(), 0.0)};
    std::vector<int> scores;
    int guess = kOutcomes / 2;
    std::uint64_t solved = 0;
    for (std::size_t w = share; w < worlds.size(); w += shares) {
        if (!scoreMoves(solver, view, worlds[w].hands, moves, guess, scores)) break;
        for (std::size_t m = 0; m < moves.size(); ++m) result.value[m] += worlds[w].weight * scores[m];
        result.weight += worlds[w].weight;
        ++solved;
    }
    solver.setNodeLimit(0);
    searchNodes += solver.nodes() - nodesBefore;
    worldsSolved += solved;
    return result;
}

}  // namespace

std::uint64_t strongBotSearchNodes() { return searchNodes; }
std::uint64_t strongBotWorldsSolved() { return worldsSolved; }

ContractValues StrongBot::contractValues(const PlayerView& view) {
    Rng rng(rng_.fork());
    solver::Solver& solver = threadSolver();
    const std::uint64_t nodesBefore = solver.nodes();
    solver.setNodeLimit(nodesBefore + tuning_.nodeBudget);
    const ContractValues values = estimateContracts(
        view, {.deals = tuning_.biddingDeals, .solvedTricks = tuning_.biddingSolvedTricks, .solver = &solver}, rng);
    solver.setNodeLimit(0);
    searchNodes += solver.nodes() - nodesBefore;
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
    const std::vector<World> worlds = drawWorlds(sampler, view, tuning_.worlds, tuning_.inference, rng);
    std::vector<CardCode> moves;
    for (CardCode card : view.legalCards) moves.push_back(card);

    const std::size_t shares = static_cast<std::size_t>(std::max(1, tuning_.shares));
    std::vector<ShareValues> parts(shares);
    runSharing(shares, [&](std::size_t share) {
        parts[share] = solveShare(view, worlds, moves, share, shares, tuning_.nodeBudget / shares);
    });
    // Added in share order, so that the sums do not depend on who finished first.
    std::vector<double> value(moves.size(), 0.0);
    double totalWeight = 0;
    for (const ShareValues& part : parts) {
        for (std::size_t m = 0; m < moves.size(); ++m) value[m] += part.value[m];
        totalWeight += part.weight;
    }
    if (totalWeight <= 0) return fallback;

    return bestValued(moves, value, fallback);
}

}  // namespace lerva

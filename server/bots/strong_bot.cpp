#include "strong_bot.h"

#include <algorithm>
#include <vector>

#include "contract_estimate.h"
#include "hand_eval.h"
#include "scoring.h"
#include "solver.h"
#include "world_sampler.h"

namespace lerva {

namespace {

using solver::kUnitsPerPoint;

// One solver per thread: its table is large, and a bot may think on any
// worker. The solver's answers do not depend on what it held before.
solver::Solver& threadSolver() {
    thread_local solver::Solver solver;
    return solver;
}

thread_local std::uint64_t worldsSolved = 0;

// The outcomes a deal's score tells apart, from the declarers' side, worst
// first: no trick, under 31, under 61, made, made with the defenders under
// 31, made with every trick.
constexpr int kOutcomes = 6;

struct OutcomeLadder {
    // Value units the declarers must still win for each outcome above the
    // worst (index k for outcome k + 1).
    std::array<int, kOutcomes - 1> needed{};
    std::array<int, kOutcomes> score{};   // game points for the viewer's team
};

OutcomeLadder ladderFor(const PlayerView& view, int remainingUnits) {
    const int declarers = teamOf(view.declarer);
    const int taken = view.cardPoints[declarers];
    const bool tookTrick = view.tricksWon[declarers] > 0;
    const bool defendersTookTrick = view.tricksWon[1 - declarers] > 0;
    OutcomeLadder ladder;
    ladder.needed = {tookTrick ? 0 : 1,
                     kUnitsPerPoint * (kLosersSafe - taken),
                     kUnitsPerPoint * (kDeclarersNeed - taken),
                     kUnitsPerPoint * (kDealCardPoints - kLosersSafe + 1 - taken),
                     defendersTookTrick ? remainingUnits + 1 : remainingUnits};
    // A representative result of each outcome, scored by the deal's rules.
    const int points[kOutcomes] = {0, 0, kLosersSafe, kDeclarersNeed, kDealCardPoints, kDealCardPoints};
    const int tricks[kOutcomes] = {0, 1, 1, 1, kTricksPerDeal - 1, kTricksPerDeal};
    for (int k = 0; k < kOutcomes; ++k)
        ladder.score[k] = dealScoreFor(view.team(), declarers, points[k], tricks[k], view.bidTen);
    return ladder;
}

// The best outcome the declarers can force after `card`. Reaching an
// outcome implies reaching every lower one, so the search walks from a
// guess (the outcome of the card searched before, mostly the same):
// two questions when the guess holds.
int outcomeAfter(solver::Solver& solver, CardCode card, int declarers, const OutcomeLadder& ladder, int guess) {
    auto reaches = [&](int outcome) { return solver.teamReachesAfter(card, declarers, ladder.needed[outcome - 1]); };
    int outcome = guess;
    if (outcome > 0 && !reaches(outcome)) {
        do --outcome;
        while (outcome > 0 && !reaches(outcome));
        return outcome;
    }
    while (outcome < kOutcomes - 1 && reaches(outcome + 1)) ++outcome;
    return outcome;
}

}  // namespace

std::uint64_t strongBotNodesOnThisThread() { return threadSolver().nodes(); }
std::uint64_t strongBotWorldsOnThisThread() { return worldsSolved; }

int dealScoreFor(int team, int declarerTeam, int declarerPoints, int declarerTricks, bool bidTen) {
    return scoreDeal(declarerTeam, declarerPoints, declarerTricks, bidTen).gamePoints[team];
}

// Bids the cheapest bid the rules allow when some trump this hand may name
// at that level promises enough; "Ruutu" when doubled diamonds promise more.
int StrongBot::chooseBid(const PlayerView& view) {
    Rng rng(rng_.fork());
    const ContractValues values = estimateContracts(view, tuning_.biddingDeals, rng);
    if (values.deals == 0) return heuristic_.chooseBid(view);
    auto bestAt = [&](int level) {
        double best = values.bySuit[kDiamonds];
        for (int suit = kHearts; suit <= kClubs; ++suit)
            if (trumpCount(view.hand, suit) >= level) best = std::max(best, values.bySuit[suit]);
        return best;
    };
    int cheapest = 0;
    for (int bid = 1; bid <= 9 && cheapest == 0; ++bid)
        if (view.bidLegal(bid)) cheapest = bid;
    const double contract = cheapest > 0 ? bestAt(cheapest) : -1e9;
    const double bidTen = 2 * values.bySuit[kDiamonds];
    if (view.bidLegal(10) && bidTen > tuning_.declareMargin && bidTen > contract + tuning_.bidTenMargin) return 10;

    const int partnerBid = view.standingBids[view.partner()];
    const bool partnerLeads = partnerBid > 0 &&
        std::all_of(view.standingBids.begin(), view.standingBids.end(), [&](int b) { return b <= partnerBid; });
    const double needed = tuning_.declareMargin + (partnerLeads ? tuning_.outbidPartnerMargin : 0.0);
    return cheapest > 0 && contract > needed ? cheapest : 0;
}

int StrongBot::chooseTrump(const PlayerView& view) {
    Rng rng(rng_.fork());
    const ContractValues values = estimateContracts(view, tuning_.biddingDeals, rng);
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
    const int declarers = teamOf(view.declarer);

    std::vector<CardCode> moves;
    for (CardCode card : view.legalCards) moves.push_back(card);
    std::vector<double> value(moves.size(), 0.0);
    double totalWeight = 0;
    int guess = kOutcomes / 2;
    solver.setNodeLimit(solver.nodes() + tuning_.nodeBudget);
    std::vector<int> outcomes(moves.size());
    for (int w = 0; w < tuning_.worlds; ++w) {
        const std::optional<World> world = sampler.sample(rng);
        if (!world) break;
        solver::Position position{world->hands, view.trump, view.leader, view.trickSize, view.trick};
        if (view.trickSize == 0) position.leader = view.seat;
        solver.setPosition(position);
        const OutcomeLadder ladder = ladderFor(view, solver.remainingUnits());
        // Cards that are interchangeable in this world share one search.
        std::array<int, kDeckSize> outcomeOf;
        outcomeOf.fill(-1);
        for (std::size_t m = 0; m < moves.size(); ++m) {
            int& outcome = outcomeOf[cardIndex(solver.representative(moves[m]))];
            if (outcome < 0) outcome = guess = outcomeAfter(solver, moves[m], declarers, ladder, guess);
            outcomes[m] = outcome;
        }
        if (solver.stopped()) break;   // the budget ran out inside this world: its answers are cut short
        for (std::size_t m = 0; m < moves.size(); ++m) value[m] += world->weight * ladder.score[outcomes[m]];
        totalWeight += world->weight;
        ++worldsSolved;
    }
    solver.setNodeLimit(0);
    if (totalWeight <= 0) return fallback;

    // The best average score; among equals the heuristic player's card, which
    // also weighs what the score cannot see (points beyond a decided deal).
    std::size_t best = 0;
    for (std::size_t m = 1; m < moves.size(); ++m)
        if (value[m] > value[best]) best = m;
    const double top = value[best];
    for (std::size_t m = 0; m < moves.size(); ++m)
        if (moves[m] == fallback && value[m] >= top - 1e-9 * totalWeight) return fallback;
    return moves[best];
}

}  // namespace lerva

#include "contract_estimate.h"

#include <algorithm>
#include <optional>

#include "game.h"
#include "heuristic_bot.h"
#include "outcome_ladder.h"
#include "world_sampler.h"

namespace lerva {

namespace {

Hands handsOf(const std::array<CardSet, kSeats>& sets) {
    Hands hands{};
    for (int seat = 0; seat < kSeats; ++seat) hands[seat] = handOf(sets[seat]);
    return hands;
}

// The rest of the deal solved open from a trick start: the best outcome the
// declarers can force, scored; nothing when the node limit cut it short.
std::optional<int> solveRest(const Game& game, solver::Solver& solver, int& guess) {
    const PlayerView view = game.viewFor(game.declarer());
    std::array<CardSet, kSeats> hands;
    for (int seat = 0; seat < kSeats; ++seat) hands[seat] = game.hand(seat);
    solver.setPosition({hands, view.trump, view.leader, 0, {}});
    const OutcomeLadder forDeclarers = ladderFor(view, solver.remainingUnits());
    // The ladder's scores depend only on the sides and the bid, not on the play so far.
    const OutcomeLadder forDefenders =
        makeLadder({.viewerTeam = 1 - view.team(), .declarerTeam = view.team(), .bidTen = view.bidTen}, 0);
    guess = bestOutcome(solver, kNoCard, view.team(), forDeclarers, guess);
    if (solver.stopped()) return std::nullopt;
    return forDeclarers.score[guess] - forDefenders.score[guess];
}

// The deal played with `declarer` holding the contract (bid 1) and `trump`:
// the others pass, then four heuristic players play it out, or play until
// `how.solvedTricks` are left and the solver takes over. Game points for
// the declarer's team (negative when the defenders score); nothing when the
// solver was cut short.
std::optional<int> playOut(const Hands& hands, int dealer, int declarer, int trump, const ContractEstimate& how,
                           int& guess) {
    Game game({.seed = 0, .firstDealer = dealer, .endAtTarget = false});
    Events events;
    game.startDeal(hands, events);
    HeuristicBot bot;
    const int solveAt =
        how.solver != nullptr && how.solvedTricks > 0 ? kTricksPerDeal - std::min(how.solvedTricks, kTricksPerDeal) : -1;
    int result = 0;
    while (game.toAct() >= 0) {
        const int seat = game.toAct();
        events.clear();
        bool done;
        if (game.phase() == Phase::Bidding) {
            done = game.bid(seat, seat == declarer ? 1 : 0, events);
        } else if (game.phase() == Phase::ChoosingTrump) {
            done = game.chooseTrump(seat, trump, events);
        } else {
            const PlayerView view = game.viewFor(seat);
            if (view.tricksDone == solveAt && view.trickSize == 0) return solveRest(game, *how.solver, guess);
            done = applyMove(game, seat, decide(bot, view), events);
        }
        if (!done) return 0;
        for (const Event& event : events)
            if (event.kind == Event::Kind::DealScored)
                result = event.dealPoints[teamOf(declarer)] - event.dealPoints[1 - teamOf(declarer)];
    }
    return result;
}

// One sampled deal's result for every suit; nothing when a solve was cut
// short: a deal counts for every suit or for none.
std::optional<std::array<int, 5>> resultsBySuit(const Hands& hands, const PlayerView& view, const ContractEstimate& how,
                                                std::array<int, 5>& guesses) {
    std::array<int, 5> results{};
    for (int suit = kDiamonds; suit <= kClubs; ++suit) {
        const std::optional<int> result = playOut(hands, view.dealer, view.seat, suit, how, guesses[suit]);
        if (!result) return std::nullopt;
        results[suit] = *result;
    }
    return results;
}

}  // namespace

ContractValues estimateContracts(const PlayerView& view, const ContractEstimate& how, Rng& rng) {
    const WorldSampler sampler(view);
    ContractValues values;
    std::array<double, 5> sums{};
    std::array<int, 5> guesses;
    guesses.fill(kOutcomes / 2);
    double weights = 0;
    for (int n = 0; n < how.deals; ++n) {
        const std::optional<World> world = sampler.sample(rng);
        if (!world) break;
        const std::optional<std::array<int, 5>> results = resultsBySuit(handsOf(world->hands), view, how, guesses);
        if (!results) break;
        for (int suit = kDiamonds; suit <= kClubs; ++suit) sums[suit] += world->weight * (*results)[suit];
        weights += world->weight;
        ++values.deals;
    }
    if (weights > 0)
        for (int suit = kDiamonds; suit <= kClubs; ++suit) values.bySuit[suit] = sums[suit] / weights;
    return values;
}

}  // namespace lerva

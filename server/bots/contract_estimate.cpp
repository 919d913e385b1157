#include "contract_estimate.h"

#include "game.h"
#include "heuristic_bot.h"
#include "world_sampler.h"

namespace lerva {

namespace {

Hands handsOf(const std::array<CardSet, kSeats>& sets) {
    Hands hands{};
    for (int seat = 0; seat < kSeats; ++seat) {
        int i = 0;
        for (CardCode card : sets[seat]) hands[seat][i++] = card;
    }
    return hands;
}

// The deal played with `declarer` holding the contract (bid 1) and `trump`:
// the others pass, then four heuristic players play it out. Game points for
// the declarer's team (negative when the defenders score).
int playOut(const Hands& hands, int dealer, int declarer, int trump) {
    Game game({.seed = 0, .firstDealer = dealer, .endAtTarget = false});
    Events events;
    game.startDeal(hands, events);
    HeuristicBot bot;
    int result = 0;
    while (game.toAct() >= 0) {
        const int seat = game.toAct();
        events.clear();
        bool done;
        if (game.phase() == Phase::Bidding) done = game.bid(seat, seat == declarer ? 1 : 0, events);
        else if (game.phase() == Phase::ChoosingTrump) done = game.chooseTrump(seat, trump, events);
        else done = applyMove(game, seat, decide(bot, game.viewFor(seat)), events);
        if (!done) return 0;
        for (const Event& event : events)
            if (event.kind == Event::Kind::DealScored)
                result = event.dealPoints[teamOf(declarer)] - event.dealPoints[1 - teamOf(declarer)];
    }
    return result;
}

}  // namespace

ContractValues estimateContracts(const PlayerView& view, int deals, Rng& rng) {
    const WorldSampler sampler(view);
    ContractValues values;
    std::array<double, 5> sums{};
    double weights = 0;
    for (int n = 0; n < deals; ++n) {
        const std::optional<World> world = sampler.sample(rng);
        if (!world) break;
        const Hands hands = handsOf(world->hands);
        for (int suit = kDiamonds; suit <= kClubs; ++suit)
            sums[suit] += world->weight * playOut(hands, view.dealer, view.seat, suit);
        weights += world->weight;
        ++values.deals;
    }
    if (weights > 0)
        for (int suit = kDiamonds; suit <= kClubs; ++suit) values.bySuit[suit] = sums[suit] / weights;
    return values;
}

}  // namespace lerva

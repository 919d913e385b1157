// Whole deals played by bots, for tests and benchmarks that look at each
// decision on the way: the bots' own answers go to the engine unmended, so a
// move it refuses is seen, not papered over as `decide` would.
#pragma once

#include <array>
#include <string>

#include "bot.h"

namespace lerva {

// The move the bot chooses for whatever the view asks, as it chose it.
inline Move askBot(Bot& bot, const PlayerView& view) {
    if (view.legalBids != 0) return {Move::Kind::Bid, bot.chooseBid(view)};
    if (view.legalTrumps != 0) return {Move::Kind::Trump, bot.chooseTrump(view)};
    return {Move::Kind::Card, bot.chooseCard(view)};
}

// Plays `deals` deals seeded from `rng`, the dealer moving round, showing
// every decision to `onDecision(game, seat, view)` before the move is made.
// Returns "" or, at the first move the engine refuses, what was refused.
template <class OnDecision>
std::string playBotDeals(Rng& rng, int deals, const std::array<Bot*, kSeats>& bots, OnDecision onDecision) {
    for (int deal = 0; deal < deals; ++deal) {
        Game game({.seed = rng.next(), .firstDealer = deal % kSeats, .endAtTarget = false});
        Events events;
        game.startDeal(events);
        while (game.toAct() >= 0) {
            const int seat = game.toAct();
            const PlayerView view = game.viewFor(seat);
            onDecision(game, seat, view);
            const Move move = askBot(*bots[seat], view);
            if (!applyMove(game, seat, move, events))
                return "deal " + std::to_string(deal) + ", seat " + std::to_string(seat) + ": move " +
                       std::to_string(move.value) + " refused";
        }
    }
    return "";
}

}  // namespace lerva

// Deals the cards a player cannot see to the other three, in every way
// that agrees with what the player has seen: the cards played, the voids
// shown, how many cards each still holds, and the trumps a declarer must
// have held to name a suit other than diamonds. Each world also carries a
// weight: how likely its hands make the bids that were made.
#pragma once

#include <array>
#include <optional>

#include "card_set.h"
#include "player_view.h"
#include "rng.h"
#include "table_knowledge.h"

namespace lerva {

struct World {
    std::array<CardSet, kSeats> hands{};   // cards still held, the viewer's own included
    double weight = 1;
};

class WorldSampler {
public:
    explicit WorldSampler(const PlayerView& view);

    // A world drawn at random; nothing when no draw came out right (a view
    // that no deal can produce), so a caller never plays on an impossible one.
    std::optional<World> sample(Rng& rng) const;

    // Does this world agree with everything the viewer has seen?
    bool consistent(const std::array<CardSet, kSeats>& hands) const;

    // How likely the standing bids are with these hands, by a simple model
    // of bidding on hand strength.
    double bidLikelihood(const std::array<CardSet, kSeats>& hands) const;

    int cardsHeld(int seat) const { return held_[seat]; }
    bool mayHold(int seat, CardCode card) const;

private:
    bool declarerHeldEnoughTrumps(const std::array<CardSet, kSeats>& hands) const;
    bool declarerNeedsTrumps() const;
    int declarerTrumpsHidden() const;

    const PlayerView& view_;
    TableKnowledge known_;
    std::array<int, kSeats> held_{};
    std::array<CardSet, kSeats> playedBy_{};
};

}  // namespace lerva

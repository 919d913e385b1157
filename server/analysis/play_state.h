// The card play of one deal as it stands between two cards: the hands left,
// the trick on the table, who leads it, and the card points each team has
// taken. Stepping it applies the trick rules; it does not judge legality
// (the record's replay did that).
#pragma once

#include <array>

#include "card_set.h"
#include "scoring.h"

namespace lerva::analysis {

struct PlayState {
    std::array<CardSet, kSeats> hands{};
    int trump = 0;
    int leader = 0;
    int trickSize = 0;
    std::array<CardCode, kSeats> trick{};   // in play order from the leader
    std::array<int, kTeams> taken{};        // card points of the tricks done

    int toMove() const { return (leader + trickSize) % kSeats; }
    // Cards still in the hands.
    int cardsToPlay() const;
    // Card points of the cards still in the hands and on the table.
    int pointsInPlay() const { return kDealCardPoints - taken[0] - taken[1]; }

    // The player to move plays `card`; a fourth card closes the trick.
    void play(CardCode card);
};

}  // namespace lerva::analysis

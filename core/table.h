// How the server's messages change the client's table state, as plain data
// operations. The table window runs them on its own fields and repaints;
// the fuzz target runs them on its own copy.
#pragma once

#include <array>
#include <cstdint>

#include "cards.h"
#include "protocol.h"

namespace lerva {

using CardCounts = std::array<std::uint16_t, kSeats>;  // by seat

// A new deal: the dealt cards in display order, the local player's count of
// them and nine for each of the others. Pairs of digits that spell no card
// are left out. Returns the number of cards in the hand.
int takeDeal(const Block& deal, Hand& hand, CardCounts& counts);

// A card that `report.seat` has put on the table, counted off that player's
// hand unless it is the local player's own (counted when it was played).
// A count never goes below zero. Returns true when the trick is now full.
bool placeCard(const CardReport& report, Trick& trick, CardCounts& counts);

// Takes the card in `slot` out of the local hand: the later cards move one
// slot to the front and the count drops by one. A slot outside the counted
// cards changes nothing.
void takeFromHand(Hand& hand, CardCounts& counts, int slot);

}  // namespace lerva

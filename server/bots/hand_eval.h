// How good a hand is for declaring, and with which trump: the heuristic
// player's bidding and trump choice rest on these numbers.
#pragma once

#include "card_set.h"

namespace lerva {

// Rough count of the tricks `hand` takes by itself with `trump` as trump
// suit: its trumps by their place in the trump order and their number, its
// aces and guarded tens in the plain suits.
double handStrength(CardSet hand, int trump);

// Trumps `hand` would hold with `trump` as trump suit.
inline int trumpCount(CardSet hand, int trump) { return (hand & trumpCards(trump)).size(); }

// The suit with the greatest strength among `allowedSuits` (bit s for suit s).
int bestSuit(CardSet hand, unsigned allowedSuits);

}  // namespace lerva

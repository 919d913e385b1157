// Shuffling and dealing the 36 cards.
#pragma once

#include <array>

#include "cards.h"
#include "rng.h"
#include "rules.h"

namespace lerva {

using Hands = std::array<Hand, kSeats>;   // by absolute seat, in dealt order

// Shuffles a full deck and deals nine cards to each seat.
Hands dealHands(Rng& rng);

}  // namespace lerva

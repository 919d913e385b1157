#include "deal.h"

#include <utility>

namespace lerva {

Hands dealHands(Rng& rng) {
    auto deck = fullDeck();
    for (int i = kDeckSize - 1; i > 0; --i)   // Fisher-Yates
        std::swap(deck[i], deck[rng.below(static_cast<std::uint32_t>(i + 1))]);
    Hands hands{};
    for (int i = 0; i < kDeckSize; ++i) hands[i % kSeats][i / kSeats] = deck[i];
    return hands;
}

}  // namespace lerva

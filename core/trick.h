// Who wins a trick. Shared by the server, its computer players and the tests.
#pragma once

#include <array>

#include "cards.h"
#include "rules.h"

namespace lerva {

// How strong a card is in a trick, as one number: trumps above everything,
// K♣ K♠ K♥ K♦ Q♣ ... J♦ and then the ace, 10, 9, 8, 7, 6 of the trump suit;
// a plain card of the led suit by its rank; any other card 0 (it cannot win).
// `led` is the led suit as ledSuitOf gives it.
constexpr int trickStrength(CardCode card, int led, int trump) {
    if (isFaceCard(card)) return 200 + card;          // 71..94: J♦ lowest, K♣ highest
    if (suitOf(card) == trump) return 100 + rankOf(card);  // the ace is rank 6
    if (suitOf(card) == led) return rankOf(card);
    return 0;
}

// Does `card` beat `best`, the card now winning a trick whose led suit is `led`?
constexpr bool beats(CardCode card, CardCode best, int led, int trump) {
    return trickStrength(card, led, trump) > trickStrength(best, led, trump);
}

// Index, in play order, of the card that wins a full trick.
int trickWinner(const std::array<CardCode, kSeats>& cardsInPlayOrder, int trump);

// Card points of the cards of one trick.
int trickPoints(const std::array<CardCode, kSeats>& cards);

}  // namespace lerva

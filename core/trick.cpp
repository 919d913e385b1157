#include "trick.h"

namespace lerva {

int trickWinner(const std::array<CardCode, kSeats>& cardsInPlayOrder, int trump) {
    const int led = ledSuitOf(cardsInPlayOrder[0], trump);
    int winner = 0;
    for (int i = 1; i < kSeats; ++i)
        if (beats(cardsInPlayOrder[i], cardsInPlayOrder[winner], led, trump)) winner = i;
    return winner;
}

int trickPoints(const std::array<CardCode, kSeats>& cards) {
    int points = 0;
    for (CardCode card : cards) points += cardPoints(card);
    return points;
}

}  // namespace lerva

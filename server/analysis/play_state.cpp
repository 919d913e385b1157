#include "play_state.h"

#include "trick.h"

namespace lerva::analysis {

int PlayState::cardsToPlay() const {
    int cards = 0;
    for (const CardSet& hand : hands) cards += hand.size();
    return cards;
}

void PlayState::play(CardCode card) {
    hands[toMove()].remove(card);
    trick[trickSize++] = card;
    if (trickSize < kSeats) return;
    const int winner = (leader + trickWinner(trick, trump)) % kSeats;
    taken[teamOf(winner)] += trickPoints(trick);
    leader = winner;
    trickSize = 0;
    trick = {};
}

}  // namespace lerva::analysis

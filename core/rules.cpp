#include "rules.h"

#include <algorithm>
#include <utility>

namespace lerva {

void sortHand(Hand& hand) {
    // Descending selection sort puts the face cards first, in their order.
    std::sort(hand.begin(), hand.end(), [](CardCode a, CardCode b) { return a > b; });
    const int faceEnd = static_cast<int>(
        std::find_if(hand.begin(), hand.end(), [](CardCode c) { return !isFaceCard(c); }) -
        hand.begin());
    const int cardEnd = static_cast<int>(
        std::find(hand.begin(), hand.end(), kNoCard) - hand.begin());
    // The plain cards move to the back suit by suit: diamonds last, then
    // hearts, spades, and clubs right behind the face cards. Moving a card
    // keeps the cards it passes in their order, so each suit stays descending.
    int last = cardEnd - 1;
    for (int suit = kDiamonds; suit <= kClubs; ++suit) {
        for (int i = cardEnd - 1; i >= faceEnd; --i) {
            if (suitOf(hand[i]) != suit) continue;
            for (int k = i; k < last; ++k) std::swap(hand[k], hand[k + 1]);
            --last;
        }
    }
}

bool bidAllowed(int bid, const Bids& bids) {
    if (bid == kPass || bid == kBidTen) return true;
    return bid >= bids[0] && bid > bids[2] && bid > bids[3];
}

bool trumpChoiceAllowed(const Hand& hand, int suit, int ownBid) {
    if (suit == kDiamonds) return true;
    const auto trumps = std::count_if(hand.begin(), hand.end(), [&](CardCode c) { return isTrump(c, suit); });
    return trumps >= ownBid;
}

int ledSuit(const Trick& trick, int trump) {
    int led = 0;
    for (int seat = kSeats - 1; seat >= 0; --seat) {
        const CardCode card = trick[seat];
        if (card != kNoCard)
            led = ledSuitOf(card, trump);
        else if (led != 0)
            break;
    }
    return led;
}

bool cardAllowed(const Hand& hand, CardCode card, int led, int trump) {
    if (led == 0) return true;
    auto follows = [&](CardCode c) { return followsLed(c, led, trump); };
    return follows(card) || std::none_of(hand.begin(), hand.end(), follows);
}

CardSet allowedCards(CardSet hand, int led, int trump) {
    const Hand cards = handOf(hand);
    CardSet allowed;
    for (CardCode card : hand)
        if (cardAllowed(cards, card, led, trump)) allowed.add(card);
    return allowed;
}

}  // namespace lerva

// The card vocabulary shared by the client, the server and the tests.
//
// A card is the number 10 * rank + suit. Ranks 1..9 are 6, 7, 8, 9, 10, ace,
// jack, queen, king; suits 1..4 are diamonds, hearts, spades, clubs. 0 means
// "no card". The same number is the resource id of the card's face picture.
#pragma once

#include <array>
#include <cstdint>

namespace lerva {

using CardCode = std::uint16_t;

constexpr int kHandSize = 9;
constexpr int kSeats = 4;
constexpr int kDeckSize = 36;
constexpr CardCode kNoCard = 0;

using Hand = std::array<CardCode, kHandSize>;   // 0 = empty slot
using Trick = std::array<CardCode, kSeats>;     // by seat, 0 = empty place

enum Suit : int { kDiamonds = 1, kHearts = 2, kSpades = 3, kClubs = 4 };
enum Rank : int {
    kSix = 1, kSeven, kEight, kNine, kTen, kAce, kJack, kQueen, kKing
};

constexpr int rankOf(int code) { return code / 10; }
constexpr int suitOf(int code) { return code % 10; }
constexpr CardCode makeCard(int rank, int suit) {
    return static_cast<CardCode>(10 * rank + suit);
}

// One of the 36 codes 11..14, 21..24, ..., 91..94.
constexpr bool isValidCard(int code) {
    return rankOf(code) >= kSix && rankOf(code) <= kKing &&
           suitOf(code) >= kDiamonds && suitOf(code) <= kClubs;
}
constexpr bool isValidSuit(int suit) { return suit >= kDiamonds && suit <= kClubs; }

// Jacks, queens and kings are trumps whatever their printed suit. The client
// tests "> 70" for a face card and "<= 69" for a plain one; 70 is no card.
constexpr bool isFaceCard(int code) { return code > 70; }
constexpr bool isPlainCard(int code) { return code != kNoCard && code <= 69; }

// A trump is a face card or a plain card of the trump suit.
constexpr bool isTrump(int code, int trump) {
    return code != kNoCard && (isFaceCard(code) || suitOf(code) == trump);
}

// Card points: ace 11, ten 10, king 4, queen 3, jack 2, nine to six 0.
constexpr int cardPoints(int code) {
    switch (rankOf(code)) {
    case kAce: return 11;
    case kTen: return 10;
    case kKing: return 4;
    case kQueen: return 3;
    case kJack: return 2;
    default: return 0;
    }
}

// All 36 cards, in code order.
constexpr std::array<CardCode, kDeckSize> fullDeck() {
    std::array<CardCode, kDeckSize> deck{};
    int i = 0;
    for (int rank = kSix; rank <= kKing; ++rank)
        for (int suit = kDiamonds; suit <= kClubs; ++suit)
            deck[i++] = makeCard(rank, suit);
    return deck;
}

// Seats are relative to the local player and run clockwise: 0 the local
// player (bottom), 1 left, 2 opposite (top), 3 right.
// Bids are stored by bid slot, a numbering of its own: slot 1 is the local
// player, 0 left, 2 right, 3 opposite.
constexpr int bidSlotOfSeat(int seat) {
    constexpr int slots[kSeats] = {1, 0, 3, 2};
    return slots[seat];
}
constexpr int seatOfBidSlot(int slot) {
    constexpr int seats[kSeats] = {1, 0, 3, 2};
    return seats[slot];
}

// Seat of absolute seat `other` as seen from absolute seat `viewer`.
constexpr int relativeSeat(int viewer, int other) { return (other - viewer + kSeats) % kSeats; }

}  // namespace lerva

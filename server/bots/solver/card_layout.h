// The cards re-numbered for one trump suit so that the solver's hot loop is
// a few bit operations: bits 0-17 hold the three plain suits, six bits each
// (6, 7, 8, 9, 10, ace upwards), and bits 18-35 the trumps in their order
// (6 .. ace of the trump suit, then J♦ .. K♣). Within a block a higher bit is
// a stronger card, and every trump bit lies above every plain bit, so the
// winner of a trick is its highest card among the led block and the trumps.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "card_set.h"

namespace lerva::solver {

using Mask = std::uint64_t;

constexpr int kTrumpBlock = 3;
constexpr int kFirstTrumpBit = 18;

constexpr int blockOf(int bit) { return bit < kFirstTrumpBit ? bit / 6 : kTrumpBlock; }
constexpr Mask blockMask(int block) {
    return block == kTrumpBlock ? ((Mask{1} << 18) - 1) << kFirstTrumpBit : Mask{0x3F} << (6 * block);
}

// Cards among six, by table: without a popcount instruction in the build,
// std::popcount is a library call in the solver's hot loops.
inline constexpr std::array<std::uint8_t, 64> kSixCount = [] {
    std::array<std::uint8_t, 64> count{};
    for (int bits = 0; bits < 64; ++bits) count[bits] = static_cast<std::uint8_t>(std::popcount(static_cast<unsigned>(bits)));
    return count;
}();

// The cards of `mask` in a plain block.
constexpr int plainBlockCount(Mask mask, int block) { return kSixCount[mask >> (6 * block) & 0x3F]; }

// Card points by layout bit; the same for every trump suit.
constexpr std::array<int, kDeckSize> kLayoutPoints = [] {
    std::array<int, kDeckSize> points{};
    for (int bit = 0; bit < 24; ++bit) points[bit] = bit % 6 == 4 ? 10 : bit % 6 == 5 ? 11 : 0;
    for (int bit = 24; bit < 28; ++bit) points[bit] = 2;
    for (int bit = 28; bit < 32; ++bit) points[bit] = 3;
    for (int bit = 32; bit < 36; ++bit) points[bit] = 4;
    return points;
}();

// Two cards of one block with the same points are interchangeable once no
// card still in play lies between them; this id says "same block, same points".
constexpr int equivalenceClass(int bit) { return blockOf(bit) * 16 + kLayoutPoints[bit]; }

constexpr int maskPoints(Mask mask) {
    int points = 0;
    for (; mask != 0; mask &= mask - 1) points += kLayoutPoints[std::countr_zero(mask)];
    return points;
}

class CardLayout {
public:
    explicit constexpr CardLayout(int trump) {
        int block = 0;
        for (int suit = kDiamonds; suit <= kClubs; ++suit) {
            const int base = suit == trump ? kFirstTrumpBit : 6 * block++;
            for (int rank = kSix; rank <= kAce; ++rank) place(makeCard(rank, suit), base + rank - kSix);
        }
        for (int rank = kJack; rank <= kKing; ++rank)
            for (int suit = kDiamonds; suit <= kClubs; ++suit)
                place(makeCard(rank, suit), cardIndex(makeCard(rank, suit)));   // 24..35 already in order
    }

    constexpr int bitOf(CardCode card) const { return toBit_[cardIndex(card)]; }
    constexpr CardCode cardOf(int bit) const { return toCard_[bit]; }

    constexpr Mask toMask(CardSet cards) const {
        Mask mask = 0;
        for (CardCode card : cards) mask |= Mask{1} << bitOf(card);
        return mask;
    }
    constexpr CardSet toCards(Mask mask) const {
        CardSet cards;
        for (; mask != 0; mask &= mask - 1) cards.add(cardOf(std::countr_zero(mask)));
        return cards;
    }

private:
    constexpr void place(CardCode card, int bit) {
        toBit_[cardIndex(card)] = static_cast<std::int8_t>(bit);
        toCard_[bit] = card;
    }
    std::array<std::int8_t, kDeckSize> toBit_{};
    std::array<CardCode, kDeckSize> toCard_{};
};

}  // namespace lerva::solver

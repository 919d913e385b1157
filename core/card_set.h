// A set of cards as a 36-bit mask, so that hands, played cards and legal
// moves cost no allocation: the simulator and the bots handle millions.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "cards.h"

namespace lerva {

// Position of a card in the mask: 0 (6♦) .. 35 (K♣), in code order.
constexpr int cardIndex(CardCode card) { return (rankOf(card) - 1) * 4 + (suitOf(card) - 1); }
constexpr CardCode cardAt(int index) { return makeCard(index / 4 + 1, index % 4 + 1); }

class CardSet {
public:
    constexpr CardSet() = default;
    template <typename Cards>
    static CardSet of(const Cards& cards) {
        CardSet set;
        for (CardCode card : cards)
            if (card != kNoCard) set.add(card);
        return set;
    }
    static constexpr CardSet fromMask(std::uint64_t mask) { CardSet s; s.bits_ = mask; return s; }

    constexpr void add(CardCode card) { bits_ |= bit(card); }
    constexpr void remove(CardCode card) { bits_ &= ~bit(card); }
    constexpr bool contains(CardCode card) const {
        return isValidCard(card) && (bits_ & bit(card)) != 0;
    }
    constexpr int size() const { return std::popcount(bits_); }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr std::uint64_t mask() const { return bits_; }

    constexpr CardSet operator&(CardSet o) const { return fromMask(bits_ & o.bits_); }
    constexpr CardSet operator|(CardSet o) const { return fromMask(bits_ | o.bits_); }
    constexpr CardSet without(CardSet o) const { return fromMask(bits_ & ~o.bits_); }
    constexpr bool operator==(const CardSet&) const = default;

    // Lowest and highest card by code; kNoCard for an empty set.
    constexpr CardCode lowest() const { return empty() ? kNoCard : cardAt(std::countr_zero(bits_)); }
    constexpr CardCode highest() const { return empty() ? kNoCard : cardAt(63 - std::countl_zero(bits_)); }

    // Iterates over the cards in code order.
    class Iterator {
    public:
        constexpr explicit Iterator(std::uint64_t rest) : rest_(rest) {}
        constexpr CardCode operator*() const { return cardAt(std::countr_zero(rest_)); }
        constexpr Iterator& operator++() { rest_ &= rest_ - 1; return *this; }
        constexpr bool operator!=(const Iterator& o) const { return rest_ != o.rest_; }
    private:
        std::uint64_t rest_;
    };
    constexpr Iterator begin() const { return Iterator(bits_); }
    constexpr Iterator end() const { return Iterator(0); }

private:
    static constexpr std::uint64_t bit(CardCode card) { return std::uint64_t{1} << cardIndex(card); }
    std::uint64_t bits_ = 0;
};

// Every face card (jacks, queens, kings): the trumps whatever the suit.
constexpr CardSet faceCards() { return CardSet::fromMask(((std::uint64_t{1} << 12) - 1) << 24); }
// The six plain cards (6 .. ace) of one suit.
constexpr CardSet plainSuit(int suit) {
    std::uint64_t mask = 0;
    for (int rank = kSix; rank <= kAce; ++rank) mask |= std::uint64_t{1} << cardIndex(makeCard(rank, suit));
    return CardSet::fromMask(mask);
}
// Every trump when `trump` is the trump suit.
constexpr CardSet trumpCards(int trump) { return faceCards() | plainSuit(trump); }

// The cards as a hand: in code order, the empty slots behind.
constexpr Hand handOf(CardSet cards) {
    Hand hand{};
    int i = 0;
    for (CardCode card : cards)
        if (i < kHandSize) hand[i++] = card;
    return hand;
}

}  // namespace lerva

// The rules the client enforces before it sends anything, and the hand order
// it shows. The server applies the same functions from each player's view.
#pragma once

#include <array>
#include <cstdint>

#include "card_set.h"
#include "cards.h"

namespace lerva {

constexpr int kPass = 0;      // the bid value of a pass on the wire
constexpr int kBidTen = 10;   // "Ruutu": diamonds trump, double score; it ends the auction at once
constexpr int kTopPlainBid = 9;   // the highest bid below "Ruutu"

using Bids = std::array<std::int16_t, kSeats>;    // by bid slot: 0 none, -1 passed, 1..10

// Puts a hand into display order, in place: face cards first by descending
// code, then clubs, spades, hearts, diamonds, each by descending rank.
// Empty slots (0) end up behind the cards.
void sortHand(Hand& hand);

// May the local player bid `bid` (1..9)? It must be at least the left
// player's standing bid (slot 0) and above those of the opposite (slot 3) and
// right (slot 2) players; the own slot is not looked at. A pass and the top
// bid 10 are always allowed.
bool bidAllowed(int bid, const Bids& bids);

// May a player who won the bidding with `ownBid` name `suit` as trump?
// Diamonds always; another suit only with at least `ownBid` trumps for it
// (face cards plus plain cards of that suit).
bool trumpChoiceAllowed(const Hand& hand, int suit, int ownBid);

// Led suit of a trick seen by the local player (seat 0), whose turn it is:
// the cards before theirs lie on a run of seats ending at seat 3. Returns the
// trump suit when the first card is a trump, its suit otherwise, and 0 when
// the local player leads.
int ledSuit(const Trick& trick, int trump);

// Led suit of a trick whose first card is `first`.
constexpr int ledSuitOf(CardCode first, int trump) {
    return isTrump(first, trump) ? trump : suitOf(first);
}

// Does `card` follow the led suit `led` (1..4)? When trumps were led, a
// trump does; otherwise a plain card of that suit (a face card never
// counts as a card of its printed suit).
constexpr bool followsLed(CardCode card, int led, int trump) {
    return led == trump ? isTrump(card, trump) : isPlainCard(card) && suitOf(card) == led;
}

// May `card` be played from `hand` when `led` was led (0 = leading)?
// Follow a plain led suit with a plain card of it if you can; if trumps were
// led, play a trump if you can; otherwise play anything.
bool cardAllowed(const Hand& hand, CardCode card, int led, int trump);
// Every card of `hand` that cardAllowed lets its holder play.
CardSet allowedCards(CardSet hand, int led, int trump);

}  // namespace lerva

// Everything one player may know at their turn: their own hand, the bids,
// the trump, the trick so far and every card played before. A computer
// player decides from this alone, as a person at the table would.
#pragma once

#include <array>
#include <cstdint>

#include "card_set.h"
#include "rules.h"
#include "scoring.h"

namespace lerva {

struct TrickRecord {
    int leader = -1;
    std::array<CardCode, kSeats> cards{};   // in play order, from the leader
    int winner = -1;
};

struct PlayerView {
    int seat = 0;
    int dealer = 0;
    int forehand = 0;
    CardSet hand;

    // Bidding, by absolute seat: 0 no bid yet, -1 passed, 1..10.
    std::array<int, kSeats> standingBids{};
    int declarer = -1;       // set once the auction is over
    int contract = 0;        // the winning bid, 0 when all passed
    bool bidTen = false;
    int trump = 0;           // 0 until named

    // Play.
    int leader = -1;                            // of the current trick
    int trickSize = 0;                          // cards on the table
    std::array<CardCode, kSeats> trick{};       // in play order
    int tricksDone = 0;
    std::array<TrickRecord, kTricksPerDeal> tricks{};
    CardSet played;                             // every card seen played this deal
    std::array<int, kTeams> cardPoints{};       // taken so far, by team
    std::array<int, kTeams> tricksWon{};
    std::array<int, kTeams> totals{};           // game points before this deal

    // What the rules allow now.
    std::uint32_t legalBids = 0;     // bit b set: bid b (0 = pass .. 10) allowed
    std::uint32_t legalTrumps = 0;   // bit s set: suit s (1..4) may be named
    CardSet legalCards;

    bool bidLegal(int bid) const { return bid >= kPass && bid <= kBidTen && (legalBids >> bid & 1u); }
    // The lowest bid of 1..9 the rules allow now; 0 when none is.
    int cheapestPlainBid() const {
        for (int bid = 1; bid <= kTopPlainBid; ++bid)
            if (bidLegal(bid)) return bid;
        return 0;
    }
    // Is the partner's bid the highest standing one?
    bool partnerHoldsAuction() const {
        const int partnerBid = standingBids[partner()];
        for (int bid : standingBids)
            if (bid > partnerBid) return false;
        return partnerBid > 0;
    }
    bool trumpLegal(int suit) const { return suit >= 1 && suit <= 4 && (legalTrumps >> suit & 1u); }
    int team() const { return teamOf(seat); }
    int partner() const { return (seat + 2) % kSeats; }
};

}  // namespace lerva

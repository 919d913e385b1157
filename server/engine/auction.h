// The bidding of one deal, kept in absolute seats.
//
// Each player's standing bid is their last bid: 0 before they bid, -1 once
// they passed (a pass is final), else 1..10. A bid is judged by the very rule
// the client applies, seen from the bidder's chair, so that the server never
// refuses a bid the client offered nor accepts one it would have refused.
#pragma once

#include <array>

#include "cards.h"
#include "rules.h"

namespace lerva {

constexpr int kPassed = -1;   // standing bid of a player who passed

class Auction {
public:
    explicit Auction(int forehand);

    bool finished() const { return finished_; }
    // Seat whose turn it is to bid; -1 once the auction is over.
    int toBid() const { return finished_ ? -1 : turn_; }
    int standing(int seat) const { return standing_[seat]; }

    // The standing bids as the player at `viewer` sees them, by bid slot.
    Bids slotsSeenBy(int viewer) const;
    // May `seat` make `bid` (0 = pass .. 10) now?
    bool allowed(int seat, int bid) const;
    // Makes the bid if allowed; false, and nothing changes, if not.
    bool bid(int seat, int bid);

    // The outcome, once finished.
    int declarer() const { return declarer_; }
    int contract() const { return contract_; }          // 0 when all passed
    bool allPassed() const { return finished_ && contract_ == 0; }
    bool bidTen() const { return contract_ == kBidTen; }

private:
    void advance();

    int forehand_;
    int turn_;
    bool finished_ = false;
    int declarer_ = -1;
    int contract_ = 0;
    std::array<int, kSeats> standing_{};
};

}  // namespace lerva

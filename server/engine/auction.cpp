#include "auction.h"

#include <algorithm>

namespace lerva {

Auction::Auction(int forehand) : forehand_(forehand), turn_(forehand) {}

Bids Auction::slotsSeenBy(int viewer) const {
    Bids bids{};
    for (int seat = 0; seat < kSeats; ++seat)
        bids[bidSlotOfSeat(relativeSeat(viewer, seat))] = static_cast<std::int16_t>(standing_[seat]);
    return bids;
}

bool Auction::allowed(int seat, int bid) const {
    if (finished_ || seat != turn_ || bid < kPass || bid > kBidTen) return false;
    return bidAllowed(bid, slotsSeenBy(seat));
}

bool Auction::bid(int seat, int bid) {
    if (!allowed(seat, bid)) return false;
    standing_[seat] = bid == kPass ? kPassed : bid;
    if (bid == kBidTen) {
        finished_ = true;
        declarer_ = seat;
        contract_ = kBidTen;
        return true;
    }
    advance();
    return true;
}

// Ends the auction when three have passed and the fourth holds a bid, or
// when all four passed; otherwise moves to the next player still bidding.
void Auction::advance() {
    const int passed = static_cast<int>(std::count(standing_.begin(), standing_.end(), kPassed));
    if (passed == kSeats) {
        finished_ = true;
        declarer_ = forehand_;
        contract_ = 0;
        return;
    }
    if (passed == kSeats - 1) {
        const int last = static_cast<int>(
            std::find_if(standing_.begin(), standing_.end(), [](int b) { return b != kPassed; }) -
            standing_.begin());
        if (standing_[last] > 0) {
            finished_ = true;
            declarer_ = last;
            contract_ = standing_[last];
            return;
        }
    }
    do turn_ = (turn_ + 1) % kSeats; while (standing_[turn_] == kPassed);
}

}  // namespace lerva

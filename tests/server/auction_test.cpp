#include <gtest/gtest.h>

#include "auction.h"

namespace lerva {
namespace {

TEST(Auction, EachPlayerSeesTheBidsInTheirOwnSlots) {
    Auction auction(0);
    for (int seat = 0; seat < kSeats; ++seat) ASSERT_TRUE(auction.bid(seat, seat + 1));
    // Standing bids: seat s holds s + 1. Slot 1 is the viewer, 0 the left
    // player (viewer + 1), 3 the opposite one, 2 the right one.
    const Bids expected[kSeats] = {{2, 1, 4, 3}, {3, 2, 1, 4}, {4, 3, 2, 1}, {1, 4, 3, 2}};
    for (int viewer = 0; viewer < kSeats; ++viewer)
        EXPECT_EQ(auction.slotsSeenBy(viewer), expected[viewer]) << "viewer " << viewer;
}

TEST(Auction, ABidMayEqualTheLeftNeighbourButMustTopTheOthersFromEverySeat) {
    for (int first = 0; first < kSeats; ++first) {
        SCOPED_TRACE("forehand " + std::to_string(first));
        Auction auction(first);
        const int next = (first + 1) % kSeats, across = (first + 2) % kSeats, last = (first + 3) % kSeats;
        ASSERT_TRUE(auction.bid(first, 5));
        // `first` sits at the right of `next`: 5 is not enough.
        EXPECT_FALSE(auction.allowed(next, 5));
        EXPECT_TRUE(auction.allowed(next, 6));
        EXPECT_TRUE(auction.bid(next, kPass));
        // Opposite: not enough either.
        EXPECT_FALSE(auction.allowed(across, 5));
        EXPECT_TRUE(auction.bid(across, kPass));
        // `first` is the left neighbour of `last`: equal is enough.
        EXPECT_FALSE(auction.allowed(last, 4));
        EXPECT_TRUE(auction.allowed(last, 5));
        EXPECT_FALSE(auction.bid(last, 4));
        EXPECT_TRUE(auction.bid(last, 5));
        // And now `last` sits at the right of `first`.
        EXPECT_EQ(auction.toBid(), first);
        EXPECT_FALSE(auction.allowed(first, 5));
        EXPECT_TRUE(auction.bid(first, 6));
        EXPECT_TRUE(auction.bid(last, kPass));
        EXPECT_TRUE(auction.finished());
        EXPECT_EQ(auction.declarer(), first);
        EXPECT_EQ(auction.contract(), 6);
    }
}

TEST(Auction, HowItEnds) {
    struct Case {
        const char* why;
        int forehand;
        std::vector<std::pair<int, int>> bids;   // seat, bid
        int declarer, contract;
        bool allPassed, bidTen;
    };
    const std::vector<Case> cases = {
        {"three passes after a bid", 1, {{1, 3}, {2, 0}, {3, 0}, {0, 0}}, 1, 3, false, false},
        {"the last to speak wins over three passes", 2, {{2, 0}, {3, 0}, {0, 0}, {1, 1}}, 1, 1, false, false},
        {"all four pass: forehand plays diamonds", 3, {{3, 0}, {0, 0}, {1, 0}, {2, 0}}, 3, 0, true, false},
        {"bid 10 ends it at once, over a 9", 0, {{0, 9}, {1, 10}}, 1, 10, false, true},
        {"bid 10 from forehand", 2, {{2, 10}}, 2, 10, false, true},
        {"passed players are skipped", 0, {{0, 2}, {1, 0}, {2, 3}, {3, 0}, {0, 4}, {2, 0}}, 0, 4, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Auction auction(c.forehand);
        for (auto [seat, bid] : c.bids) {
            ASSERT_FALSE(auction.finished());
            ASSERT_EQ(auction.toBid(), seat);
            ASSERT_TRUE(auction.bid(seat, bid));
        }
        EXPECT_TRUE(auction.finished());
        EXPECT_EQ(auction.toBid(), -1);
        EXPECT_EQ(auction.declarer(), c.declarer);
        EXPECT_EQ(auction.contract(), c.contract);
        EXPECT_EQ(auction.allPassed(), c.allPassed);
        EXPECT_EQ(auction.bidTen(), c.bidTen);
    }
}

TEST(Auction, RefusedBidsChangeNothing) {
    Auction auction(0);
    ASSERT_TRUE(auction.bid(0, 4));
    const Bids before = auction.slotsSeenBy(0);
    EXPECT_FALSE(auction.bid(2, 5)) << "out of turn";
    EXPECT_FALSE(auction.bid(1, 11)) << "no such bid";
    EXPECT_FALSE(auction.bid(1, -1)) << "no such bid";
    EXPECT_FALSE(auction.bid(1, 4)) << "the rule";
    EXPECT_EQ(auction.toBid(), 1);
    EXPECT_EQ(auction.slotsSeenBy(0), before);
    EXPECT_TRUE(auction.allowed(1, 10)) << "10 is always allowed";
    EXPECT_TRUE(auction.allowed(1, kPass));
}

}  // namespace
}  // namespace lerva

#include <gtest/gtest.h>

#include "scoring.h"

namespace lerva {
namespace {

TEST(Scoring, EveryCaseOfADeal) {
    struct Case {
        const char* why;
        int declarerTeam, declarerPoints, declarerTricks;
        bool bidTen;
        bool won;
        std::array<int, 2> gamePoints;
    };
    const Case cases[] = {
        {"61 wins", 0, 61, 5, false, true, {1, 0}},
        {"60 loses; defenders score double", 0, 60, 5, false, false, {0, 2}},
        {"losers with 31 are safe", 1, 89, 6, false, true, {0, 1}},
        {"losers under 31 pay 2", 1, 90, 6, false, true, {0, 2}},
        {"losers without a trick pay 3", 0, 120, 9, false, true, {3, 0}},
        {"a trick without points still counts", 0, 120, 8, false, true, {2, 0}},
        {"declarers under 31: defenders 4", 0, 30, 2, false, false, {0, 4}},
        {"declarers at 31: defenders 2", 0, 31, 2, false, false, {0, 2}},
        {"declarers without a trick: defenders 6", 0, 0, 0, false, false, {0, 6}},
        {"declarers with an empty trick: defenders 4", 0, 0, 1, false, false, {0, 4}},
        {"bid 10 won: 2", 0, 61, 5, true, true, {2, 0}},
        {"bid 10 won, losers under 31: 4", 1, 95, 7, true, true, {0, 4}},
        {"bid 10 won, losers without a trick: 6", 0, 120, 9, true, true, {6, 0}},
        {"bid 10 lost: 4", 0, 60, 4, true, false, {0, 4}},
        {"bid 10 lost under 31: 8", 0, 20, 1, true, false, {0, 8}},
        {"bid 10 lost without a trick: 12", 1, 0, 0, true, false, {12, 0}},
    };
    for (const Case& c : cases) {
        const DealOutcome outcome = scoreDeal(c.declarerTeam, c.declarerPoints, c.declarerTricks, c.bidTen);
        EXPECT_EQ(outcome.declarersWon, c.won) << c.why;
        EXPECT_EQ(outcome.gamePoints, c.gamePoints) << c.why;
    }
}

TEST(Scoring, TheGameEndsAtTwelve) {
    EXPECT_FALSE(gameOver({11, 11}));
    EXPECT_FALSE(gameOver({0, 0}));
    EXPECT_TRUE(gameOver({12, 0}));
    EXPECT_TRUE(gameOver({3, 12}));
    EXPECT_TRUE(gameOver({14, 12}));
}

}  // namespace
}  // namespace lerva

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry.h"
#include "rules.h"

using namespace lerva;

TEST(HandOrder, ShowsFaceCardsThenClubsSpadesHeartsDiamonds) {
    // 6♣ 7♠ 10♦ K♣ J♥ A♦ 6♠ Q♥ 8♦
    Hand hand{14, 23, 51, 94, 72, 61, 13, 82, 31};
    const Hand shown{94, 82, 72, 14, 23, 13, 61, 51, 31};
    sortHand(hand);
    EXPECT_EQ(hand, shown);
}

TEST(HandOrder, DoesNotDependOnTheDealtOrder) {
    Hand dealt{14, 23, 51, 94, 72, 61, 13, 82, 31};
    const Hand shown{94, 82, 72, 14, 23, 13, 61, 51, 31};
    std::sort(dealt.begin(), dealt.end());
    int permutations = 0;
    do {
        Hand hand = dealt;
        sortHand(hand);
        ASSERT_EQ(hand, shown);
        ++permutations;
    } while (std::next_permutation(dealt.begin(), dealt.end()));
    EXPECT_EQ(permutations, 362880);
}

TEST(HandOrder, SpecialHands) {
    struct Case { Hand dealt; Hand shown; };
    const Case cases[] = {
        // Nine face cards: pure descending order.
        {{71, 94, 82, 73, 91, 84, 92, 72, 83}, {94, 92, 91, 84, 83, 82, 73, 72, 71}},
        // No face cards: clubs, spades, hearts, diamonds, each descending.
        {{11, 24, 33, 42, 61, 54, 13, 22, 44}, {54, 44, 24, 33, 13, 42, 22, 61, 11}},
        // One suit: descending rank.
        {{12, 62, 22, 52, 32, 42, 72, 82, 92}, {92, 82, 72, 62, 52, 42, 32, 22, 12}},
        // A short hand keeps its empty slots behind the cards.
        {{0, 11, 0, 94, 24, 0, 0, 0, 0}, {94, 24, 11, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        Hand hand = c.dealt;
        sortHand(hand);
        EXPECT_EQ(hand, c.shown);
    }
}

TEST(Bidding, TheLocalRuleFromItsThreeNeighbours) {
    struct Case { Bids bids; int bid; bool allowed; };  // bids by slot: 0 left, 1 own, 2 right, 3 opposite
    const Case cases[] = {
        {{0, 0, 0, 0}, 1, true},
        {{0, 0, 0, 0}, 9, true},
        {{5, 0, -1, -1}, 5, true},   // equal to the left player's bid is enough
        {{5, 0, -1, -1}, 4, false},
        {{0, 0, 0, 5}, 5, false},    // the opposite player must be beaten
        {{0, 0, 0, 5}, 6, true},
        {{0, 0, 5, 0}, 5, false},    // and the right player
        {{0, 0, 5, 0}, 6, true},
        {{0, 9, 0, 0}, 1, true},     // the own slot never blocks
        {{-1, 0, -1, -1}, 1, true},  // everyone else passed
        {{9, 0, 9, 9}, 10, true},    // the top bid is always allowed
        {{9, 0, 9, 9}, 0, true},     // and so is a pass
        {{10, 0, 0, 0}, 9, false},
    };
    for (const auto& c : cases) EXPECT_EQ(bidAllowed(c.bid, c.bids), c.allowed) << c.bid;
}

TEST(TrumpChoice, NeedsAsManyTrumpsAsTheBid) {
    // Two face cards and three hearts: five trumps for hearts.
    const Hand fiveHearts{94, 71, 62, 52, 12, 13, 23, 33, 0};
    const Hand fourHearts{94, 71, 62, 52, 11, 13, 23, 33, 0};
    EXPECT_TRUE(trumpChoiceAllowed(fiveHearts, kHearts, 5));
    EXPECT_FALSE(trumpChoiceAllowed(fourHearts, kHearts, 5));
    EXPECT_TRUE(trumpChoiceAllowed(fourHearts, kDiamonds, 5));
    EXPECT_TRUE(trumpChoiceAllowed(Hand{}, kDiamonds, 9));
    EXPECT_FALSE(trumpChoiceAllowed(Hand{}, kClubs, 1));
    EXPECT_TRUE(trumpChoiceAllowed(Hand{}, kClubs, 0));
    EXPECT_TRUE(trumpChoiceAllowed(fourHearts, kSpades, 5));  // 2 faces + 13, 23, 33
}

TEST(Legality, FollowTheLedSuitOrTrumps) {
    struct Case { const char* what; Hand hand; Trick trick; int trump; CardCode card; bool allowed; };
    const Case cases[] = {
        {"leading: anything", {72, 22, 11}, {0, 0, 0, 0}, kSpades, 11, true},
        {"hearts led, plain heart", {22, 72, 11}, {0, 0, 0, 42}, kSpades, 22, true},
        {"hearts led, jack is no heart", {22, 72, 11}, {0, 0, 0, 42}, kSpades, 72, false},
        {"hearts led, other suit", {22, 72, 11}, {0, 0, 0, 42}, kSpades, 11, false},
        {"hearts led, no plain heart: a third suit", {72, 11, 34}, {0, 0, 0, 42}, kSpades, 11, true},
        {"queen led is spades", {13, 24}, {0, 0, 81, 0}, kSpades, 24, false},
        {"queen led, spade follows", {13, 24}, {0, 0, 81, 0}, kSpades, 13, true},
        {"queen led, any face card", {13, 91}, {0, 0, 81, 0}, kSpades, 91, true},
        {"queen led, no trump: anything", {11, 24}, {0, 0, 81, 0}, kSpades, 24, true},
        {"9 of spades led, face card", {91, 11}, {0, 43, 0, 0}, kSpades, 91, true},
        {"9 of spades led, diamond refused", {91, 11}, {0, 43, 0, 0}, kSpades, 11, false},
        {"first card is the run ending at seat 3", {22, 11}, {0, 41, 23, 11}, kSpades, 22, false},
        {"run from seat 1 led hearts", {22, 11}, {0, 42, 13, 31}, kSpades, 22, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cardAllowed(c.hand, c.card, ledSuit(c.trick, c.trump), c.trump), c.allowed) << c.what;
}

TEST(Geometry, HandSpreadPositions) {
    const int start9 = spreadStart(9, kCardWidth, kHandCentreX);
    const int expected[9] = {172, 207, 243, 278, 314, 349, 385, 420, 456};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(spreadPosition(start9, k, kCardWidth), expected[k]);
    EXPECT_EQ(spreadStart(8, kCardWidth, kHandCentreX), 190);
    EXPECT_EQ(spreadStart(1, kCardWidth, kHandCentreX), 314);
    const int side9 = spreadStart(9, 71, kSideHandCentreY);
    const int sideExpected[9] = {70, 105, 141, 176, 212, 247, 283, 318, 354};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(spreadPosition(side9, k, 71), sideExpected[k]);
}

TEST(Geometry, ClickedHandSlot) {
    struct Case { int x, y, cards, slot; };
    const Case cases[] = {
        {457, 400, 9, 8}, {526, 400, 9, 8}, {456, 400, 9, 7}, {422, 400, 9, 7},
        {421, 400, 9, 6}, {386, 400, 9, 6}, {385, 400, 9, 5}, {351, 400, 9, 5},
        {350, 400, 9, 4}, {315, 400, 9, 4}, {314, 400, 9, 3}, {280, 400, 9, 3},
        {279, 400, 9, 2}, {244, 400, 9, 2}, {243, 400, 9, 1}, {209, 400, 9, 1},
        {208, 400, 9, 0}, {174, 400, 9, 0},
        {173, 400, 9, -1}, {527, 400, 9, -1}, {400, 379, 9, -1}, {400, 475, 9, -1},
        {400, 380, 9, 6}, {400, 474, 9, 6},
        {316, 400, 1, 0}, {384, 400, 1, 0}, {315, 400, 1, -1}, {385, 400, 1, -1},
        {350, 400, 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(handSlotAt(c.x, c.y, c.cards), c.slot) << c.x << "," << c.y << " n=" << c.cards;
}

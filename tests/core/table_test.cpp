#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "protocol.h"
#include "table.h"

using namespace lerva;

TEST(TakeDeal, ShowsTheDealtCardsInDisplayOrderAndCountsThem) {
    struct Case { std::string text; Hand shown; int cards; };
    const Case cases[] = {
        // 6♣ 7♠ 10♦ K♣ J♥ A♦ 6♠ Q♥ 8♦
        {"142351947261138231", {94, 82, 72, 14, 23, 13, 61, 51, 31}, 9},
        // 70, 15, 05, x1, :1 and 00 spell no card and are left out.
        {"11701505x1:1009594", {94, 11, 0, 0, 0, 0, 0, 0, 0}, 2},
        // Seven pairs: the last two slots stay empty.
        {"14235194726113", {94, 72, 14, 23, 13, 61, 51, 0, 0}, 7},
        // Digits after the ninth pair are not read.
        {"14235194726113823192", {94, 82, 72, 14, 23, 13, 61, 51, 31}, 9},
        {"", {}, 0},
    };
    for (const auto& c : cases) {
        // What is left of the last deal is replaced, not added to.
        Hand hand{33, 44, 0, 0, 0, 0, 0, 0, 0};
        CardCounts counts{2, 0, 1, 5};
        EXPECT_EQ(takeDeal(textBlock(c.text), hand, counts), c.cards) << c.text;
        EXPECT_EQ(hand, c.shown) << c.text;
        const CardCounts expected{static_cast<std::uint16_t>(c.cards), 9, 9, 9};
        EXPECT_EQ(counts, expected) << c.text;
    }
}

TEST(PlaceCard, LaysReportedCardsAndCountsThemOffTheirHands) {
    struct Case {
        const char* what;
        Trick trick;
        CardCounts counts;
        std::vector<CardReport> reports;
        std::vector<bool> full;  // after each report
        Trick shown;
        CardCounts left;
    };
    const Case cases[] = {
        {"three cards make no full trick", {}, {5, 6, 6, 6},
         {{1, 11}, {2, 21}, {3, 31}}, {false, false, false},
         {0, 11, 21, 31}, {5, 5, 5, 5}},
        {"the fourth card fills it", {0, 11, 21, 31}, {5, 5, 5, 5},
         {{0, 41}}, {true},
         {41, 11, 21, 31}, {5, 5, 5, 5}},
        {"the fourth card of another seat fills it", {94, 0, 21, 31}, {4, 5, 5, 5},
         {{1, 11}}, {true},
         {94, 11, 21, 31}, {4, 4, 5, 5}},
        {"the own card changes no count", {}, {4, 4, 4, 4},
         {{0, 94}}, {false},
         {94, 0, 0, 0}, {4, 4, 4, 4}},
        {"a repeated report stops at zero", {}, {3, 1, 9, 9},
         {{1, 11}, {1, 11}, {1, 11}}, {false, false, false},
         {0, 11, 0, 0}, {3, 0, 9, 9}},
        {"a repeated seat overwrites its card", {}, {9, 9, 9, 9},
         {{2, 21}, {2, 94}}, {false, false},
         {0, 0, 94, 0}, {9, 9, 7, 9}},
    };
    for (const auto& c : cases) {
        Trick trick = c.trick;
        CardCounts counts = c.counts;
        for (std::size_t i = 0; i < c.reports.size(); ++i)
            EXPECT_EQ(placeCard(c.reports[i], trick, counts), c.full[i]) << c.what << ", report " << i;
        EXPECT_EQ(trick, c.shown) << c.what;
        EXPECT_EQ(counts, c.left) << c.what;
    }
}

TEST(TakeFromHand, ClosesTheGapAndCountsTheCardOff) {
    const Hand full{94, 82, 72, 14, 23, 13, 61, 51, 31};
    const Hand three{94, 23, 61, 0, 0, 0, 0, 0, 0};
    struct Case { const char* what; Hand hand; CardCounts counts; int slot; Hand left; CardCounts after; };
    const Case cases[] = {
        {"first slot", full, {9, 5, 6, 7}, 0, {82, 72, 14, 23, 13, 61, 51, 31, 0}, {8, 5, 6, 7}},
        {"middle slot", full, {9, 5, 6, 7}, 4, {94, 82, 72, 14, 13, 61, 51, 31, 0}, {8, 5, 6, 7}},
        {"last slot", full, {9, 5, 6, 7}, 8, {94, 82, 72, 14, 23, 13, 61, 51, 0}, {8, 5, 6, 7}},
        {"last card of a short hand", three, {3, 3, 3, 3}, 2, {94, 23, 0, 0, 0, 0, 0, 0, 0}, {2, 3, 3, 3}},
        {"one-card hand", {42}, {1, 1, 1, 1}, 0, {}, {0, 1, 1, 1}},
        // Slots outside the counted cards change nothing.
        {"negative slot", full, {9, 9, 9, 9}, -1, full, {9, 9, 9, 9}},
        {"slot past the hand", full, {9, 9, 9, 9}, 9, full, {9, 9, 9, 9}},
        {"empty slot behind the cards", three, {3, 3, 3, 3}, 3, three, {3, 3, 3, 3}},
        {"empty hand", {}, {0, 9, 9, 9}, 0, {}, {0, 9, 9, 9}},
        {"count beyond a hand", full, {10, 9, 9, 9}, 9, full, {10, 9, 9, 9}},
    };
    for (const auto& c : cases) {
        Hand hand = c.hand;
        CardCounts counts = c.counts;
        takeFromHand(hand, counts, c.slot);
        EXPECT_EQ(hand, c.left) << c.what;
        EXPECT_EQ(counts, c.after) << c.what;
    }
}

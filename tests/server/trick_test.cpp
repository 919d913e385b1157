#include <gtest/gtest.h>

#include "card_names.h"
#include "scoring.h"
#include "trick.h"

namespace lerva::test {
namespace {

TEST(Trick, WinnerFollowsTheTrumpOrderThenTheLedSuit) {
    struct Case {
        const char* why;
        std::array<const char*, 4> played;   // in play order
        int trump;
        int winner;                          // index in play order
    };
    const Case cases[] = {
        {"K♣ is the highest card", {"KD", "KH", "KC", "KS"}, kHearts, 2},
        {"kings by suit: ♣ ♠ ♥ ♦", {"KD", "KH", "KS", "QC"}, kHearts, 2},
        {"any king beats any queen", {"QC", "KD", "JC", "AH"}, kHearts, 1},
        {"queens by suit", {"QD", "QH", "QS", "JC"}, kClubs, 2},
        {"any queen beats any jack", {"JC", "QD", "JS", "AC"}, kClubs, 1},
        {"J♦ beats the ace of trumps", {"AH", "JD", "10H", "9H"}, kHearts, 1},
        {"the trump ace is below every jack", {"QH", "JH", "AC", "AD"}, kClubs, 0},
        {"trump suit A 10 9 8 7 6", {"6D", "9D", "10D", "8D"}, kDiamonds, 2},
        {"trump ace over trump ten", {"10S", "AS", "9S", "6S"}, kSpades, 1},
        {"the smallest trump beats the led ace", {"AS", "6H", "10S", "9S"}, kHearts, 1},
        {"no trump: the led suit's highest", {"9S", "AS", "10S", "6S"}, kHearts, 1},
        {"ten over nine in a plain suit", {"9S", "10S", "8S", "7S"}, kHearts, 1},
        {"other suits' aces do not win", {"9S", "AC", "AD", "7S"}, kHearts, 0},
        {"a jack leads trumps; plain cards of its suit do not follow", {"JS", "AS", "10S", "8C"}, kHearts, 0},
        {"a face card of the led plain suit is a trump", {"7C", "AH", "JC", "AC"}, kSpades, 2},
    };
    for (const Case& c : cases) {
        std::array<CardCode, kSeats> trick{};
        for (int i = 0; i < kSeats; ++i) trick[i] = card(c.played[i]);
        EXPECT_EQ(trickWinner(trick, c.trump), c.winner) << c.why;
    }
}

TEST(Trick, CardPointsAddUpToOneHundredTwenty) {
    EXPECT_EQ(trickPoints({card("AS"), card("10S"), card("KC"), card("6H")}), 25);
    EXPECT_EQ(trickPoints({card("QD"), card("JD"), card("9D"), card("8D")}), 5);
    int total = 0;
    for (CardCode code : fullDeck()) total += cardPoints(code);
    EXPECT_EQ(total, kDealCardPoints);
}

}  // namespace
}  // namespace lerva::test

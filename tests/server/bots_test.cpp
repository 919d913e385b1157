#include <gtest/gtest.h>

#include "bot_deals.h"
#include "card_names.h"
#include "hand_eval.h"
#include "heuristic_bot.h"
#include "rules.h"
#include "simulate.h"

namespace lerva::test {
namespace {

TEST(Bots, EveryBotAlwaysChoosesALegalMove) {
    for (const BotLevel level : {BotLevel::Random, BotLevel::Heuristic}) {
        SCOPED_TRACE(std::string(botLevelName(level)));
        Rng rng(17);
        std::vector<std::unique_ptr<Bot>> bots;
        for (int seat = 0; seat < kSeats; ++seat) bots.push_back(makeBot(level, rng.fork()));
        const std::array<Bot*, kSeats> seats{bots[0].get(), bots[1].get(), bots[2].get(), bots[3].get()};
        EXPECT_EQ(playBotDeals(rng, 300, seats, [](const Game&, int, const PlayerView&) {}), "");
    }
}

// A position in the play, from one player's chair.
struct Situation {
    const char* why;
    int seat, trump, declarer;
    std::vector<CardCode> hand;
    int leader;
    std::vector<CardCode> trick;             // in play order from the leader
    std::vector<TrickRecord> earlier;
    const char* expected;
};

PlayerView viewOf(const Situation& s) {
    PlayerView view;
    view.seat = s.seat;
    view.trump = s.trump;
    view.declarer = s.declarer;
    view.contract = 1;
    view.hand = CardSet::of(s.hand);
    view.leader = s.trick.empty() ? s.seat : s.leader;
    view.trickSize = static_cast<int>(s.trick.size());
    std::copy(s.trick.begin(), s.trick.end(), view.trick.begin());
    for (const TrickRecord& t : s.earlier) {
        view.tricks[view.tricksDone++] = t;
        view.played = view.played | CardSet::of(t.cards);
    }
    view.played = view.played | CardSet::of(s.trick);
    Hand hand{};
    std::copy(s.hand.begin(), s.hand.end(), hand.begin());
    const int led = s.trick.empty() ? 0 : ledSuitOf(s.trick[0], s.trump);
    for (CardCode c : s.hand)
        if (cardAllowed(hand, c, led, s.trump)) view.legalCards.add(c);
    return view;
}

TEST(HeuristicBot, PlaysSensibly) {
    const TrickRecord trumpsLed{1, {card("QH"), card("6H"), card("7C"), card("KH")}, 0};
    const std::vector<Situation> cases = {
        {"gives its ace to the partner who takes the trick", 3, kHearts, 1,
         cards({"8C", "AC", "9S", "6D"}), 0, cards({"6C", "KC", "7C"}), {}, "AC"},
        {"wins the last place with its smallest trump", 3, kDiamonds, 1,
         cards({"6D", "10D", "KC", "8C"}), 0, cards({"9S", "6S", "10S"}), {}, "6D"},
        {"keeps its king when the trick is lost", 1, kDiamonds, 0,
         cards({"KS", "6D", "9H", "8C"}), 0, cards({"KC"}), {}, "6D"},
        {"gives nothing while the last player may still trump", 2, kHearts, 0,
         cards({"10S", "7S", "8C", "9D"}), 0, cards({"AS", "6S"}), {}, "7S"},
        {"gives its ten once the last player showed no trumps", 2, kHearts, 0,
         cards({"10S", "7S", "8C", "9D"}), 0, cards({"AS", "6S"}), {trumpsLed}, "10S"},
        {"the declarer draws trumps with the highest one", 0, kHearts, 0,
         cards({"KC", "6H", "9S", "7D"}), 0, {}, {}, "KC"},
        {"a defender cashes an ace nobody can beat", 0, kHearts, 1,
         cards({"AS", "7S", "8D", "6C"}), 0, {}, {}, "AS"},
    };
    HeuristicBot bot;
    for (const Situation& s : cases) EXPECT_EQ(bot.chooseCard(viewOf(s)), card(s.expected)) << s.why;
}

TEST(HeuristicBot, BidsOnItsTrumpsAndNamesItsSuit) {
    HeuristicBot bot;
    const CardSet strongHearts = CardSet::of(cards({"KH", "QC", "QH", "JH", "AH", "10H", "9H", "8H", "AS"}));
    const CardSet weak = CardSet::of(cards({"6S", "7S", "8C", "6C", "7D", "8D", "9H", "6H", "7H"}));
    auto bidding = [](CardSet hand, std::array<int, kSeats> standing) {
        PlayerView view;
        view.seat = 0;
        view.hand = hand;
        view.standingBids = standing;
        Auction auction(0);
        Bids slots{};
        for (int s = 0; s < kSeats; ++s) slots[bidSlotOfSeat(relativeSeat(0, s))] = static_cast<std::int16_t>(standing[s]);
        for (int b = 0; b <= 10; ++b)
            if (bidAllowed(b, slots)) view.legalBids |= 1u << b;
        return view;
    };
    EXPECT_EQ(bot.chooseBid(bidding(strongHearts, {0, 0, 0, 0})), 1) << "opens with the cheapest bid";
    EXPECT_EQ(bot.chooseBid(bidding(strongHearts, {0, 5, 0, 0})), 5) << "equals its left neighbour";
    EXPECT_EQ(bot.chooseBid(bidding(strongHearts, {0, 0, 0, 5})), 6) << "tops its right neighbour";
    EXPECT_EQ(bot.chooseBid(bidding(strongHearts, {0, 8, 0, 0})), 8) << "up to its eight trumps";
    EXPECT_EQ(bot.chooseBid(bidding(strongHearts, {0, 0, 0, 8})), 0) << "not beyond them";
    EXPECT_EQ(bot.chooseBid(bidding(weak, {0, 0, 0, 0})), 0);

    // A fair hand leaves the contract to a partner who holds the auction.
    const CardSet fair = CardSet::of(cards({"KC", "KS", "KH", "JS", "JD", "10H", "8H", "10C", "8C"}));
    const double strength = handStrength(fair, kHearts);
    ASSERT_GT(strength, HeuristicTuning{}.declareStrength);
    ASSERT_LT(strength, HeuristicTuning{}.declareStrength + HeuristicTuning{}.outbidPartnerBy);
    EXPECT_GT(bot.chooseBid(bidding(fair, {0, 0, 0, 0})), 0);
    EXPECT_EQ(bot.chooseBid(bidding(fair, {0, -1, 3, 0})), 0);

    PlayerView trumpChoice;
    trumpChoice.hand = strongHearts;
    trumpChoice.legalTrumps = (1u << kDiamonds) | (1u << kHearts);
    EXPECT_EQ(bot.chooseTrump(trumpChoice), kHearts);
    trumpChoice.legalTrumps = 1u << kDiamonds;
    EXPECT_EQ(bot.chooseTrump(trumpChoice), kDiamonds);
}

TEST(HeuristicBot, BeatsTheRandomBotOnTheSameCards) {
    const SimResult result = simulate({.deals = 300, .teamA = BotLevel::Heuristic,
                                       .teamB = BotLevel::Random, .seed = 5, .duplicate = true,
                                       .compareWithOracle = false});
    EXPECT_EQ(result.dealsPlayed, 600);
    EXPECT_GT(result.gamePoints[0], 2 * result.gamePoints[1]);
    EXPECT_GT(result.cardPoints[0], result.cardPoints[1]);
}

// Bots made by the caller get the very seeds the level's bots get, so that a
// tuning compared that way plays the same deals as `--simulate` would.
TEST(Simulate, SideAMadeByTheCallerIsSeededAsItsLevel) {
    SimOptions byLevel{.deals = 40, .teamA = BotLevel::Random, .teamB = BotLevel::Heuristic, .seed = 9, .duplicate = true,
                      .compareWithOracle = false};
    SimOptions byMaker = byLevel;
    byMaker.teamA = BotLevel::Heuristic;
    byMaker.makeSideA = [](std::uint64_t seed) { return makeBot(BotLevel::Random, seed); };
    const SimResult expected = simulate(byLevel), made = simulate(byMaker);
    ASSERT_EQ(made.leads.size(), 40u);
    EXPECT_EQ(made.leads, expected.leads);
    EXPECT_NE(made.leads, std::vector<double>(40, 0.0)) << "random against heuristic bots is no draw";
}

}  // namespace
}  // namespace lerva::test

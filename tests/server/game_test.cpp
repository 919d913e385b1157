#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bot.h"
#include "card_names.h"
#include "game.h"
#include "trick.h"

namespace lerva::test {
namespace {

using Kind = Event::Kind;

// Hands with the given cards for seats 0 and 1; the rest of the deck fills
// seat 1 first (leaving out what `seat1Avoids`), then seats 0, 2 and 3.
Hands arrange(const std::vector<CardCode>& seat0, const std::vector<CardCode>& seat1,
              const std::function<bool(CardCode)>& seat1Avoids = [](CardCode) { return false; }) {
    std::vector<CardCode> rest;
    for (CardCode c : fullDeck())
        if (std::count(seat0.begin(), seat0.end(), c) + std::count(seat1.begin(), seat1.end(), c) == 0)
            rest.push_back(c);
    std::array<std::vector<CardCode>, kSeats> hands{seat0, seat1, {}, {}};
    auto fill = [&](int seat, const std::function<bool(CardCode)>& avoid) {
        for (auto it = rest.begin(); it != rest.end() && hands[seat].size() < kHandSize;)
            if (avoid(*it)) ++it;
            else { hands[seat].push_back(*it); it = rest.erase(it); }
    };
    fill(1, seat1Avoids);
    for (int seat : {0, 2, 3}) fill(seat, [](CardCode) { return false; });
    Hands out{};
    for (int seat = 0; seat < kSeats; ++seat) std::copy(hands[seat].begin(), hands[seat].end(), out[seat].begin());
    return out;
}

std::vector<Kind> kinds(const Events& events) {
    std::vector<Kind> out;
    for (const Event& e : events) out.push_back(e.kind);
    return out;
}

// A game dealt by seat 3, so that seat 0 is forehand: it bids first and leads.
Game gameWith(const Hands& hands, Events& events) {
    Game game({.seed = 1, .firstDealer = 3});
    game.startDeal(hands, events);
    return game;
}

TEST(Game, TheDealerMovesLeftAndForehandSpeaksFirst) {
    Game game({.seed = 3, .firstDealer = 2});
    std::vector<std::unique_ptr<Bot>> bots;
    for (int seat = 0; seat < kSeats; ++seat) bots.push_back(makeBot(BotLevel::Random, seat));
    for (int deal = 0; deal < 6; ++deal) {
        Events events;
        game.startDeal(events);
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events[0].kind, Kind::DealStarted);
        EXPECT_EQ(events[0].seat, (2 + deal) % kSeats) << "dealer of deal " << deal;
        EXPECT_EQ(events[1].kind, Kind::AskBid);
        EXPECT_EQ(events[1].seat, (3 + deal) % kSeats) << "forehand of deal " << deal;
        while (game.toAct() >= 0) {
            const int seat = game.toAct();
            ASSERT_TRUE(applyMove(game, seat, decide(*bots[seat], game.viewFor(seat)), events));
        }
        if (game.phase() == Phase::GameOver) break;
    }
}

TEST(Game, TheDeclarerMayNameOnlyASuitWithEnoughTrumps) {
    // Seat 1 holds three face cards and six hearts: nine trumps for hearts,
    // three for spades or clubs.
    Events events;
    Game game = gameWith(arrange({}, cards({"JS", "JH", "JD", "AH", "10H", "9H", "8H", "7H", "6H"})), events);
    ASSERT_TRUE(game.bid(0, 0, events));
    ASSERT_TRUE(game.bid(1, 8, events));
    ASSERT_TRUE(game.bid(2, 0, events));
    ASSERT_TRUE(game.bid(3, 0, events));
    EXPECT_EQ(events.back().kind, Kind::AskTrump);
    EXPECT_EQ(events.back().seat, 1);
    events.clear();
    EXPECT_FALSE(game.chooseTrump(1, kSpades, events));
    EXPECT_FALSE(game.chooseTrump(1, kClubs, events));
    EXPECT_FALSE(game.chooseTrump(0, kHearts, events)) << "not the declarer";
    EXPECT_FALSE(game.chooseTrump(1, 5, events));
    EXPECT_TRUE(game.trumpAllowed(1, kDiamonds));
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(game.chooseTrump(1, kHearts, events));
    EXPECT_EQ(kinds(events), (std::vector<Kind>{Kind::TrumpSet, Kind::AskCard}));
    EXPECT_EQ(events[0].value, kHearts);
    EXPECT_EQ(events[1].seat, 0) << "forehand leads, whoever declared";
}

TEST(Game, ADealEveryonePassedOrBidTenGoesStraightToPlayInDiamonds) {
    for (const bool bidTen : {false, true}) {
        SCOPED_TRACE(bidTen ? "bid 10" : "all passed");
        Events events;
        Game game = gameWith(arrange({}, {}), events);
        ASSERT_TRUE(game.bid(0, 0, events));
        ASSERT_TRUE(game.bid(1, bidTen ? 10 : 0, events));
        if (!bidTen) {
            ASSERT_TRUE(game.bid(2, 0, events));
            events.clear();
            ASSERT_TRUE(game.bid(3, 0, events));
        }
        const auto told = kinds(events);
        EXPECT_EQ(told.back(), Kind::AskCard);
        EXPECT_EQ(std::count(told.begin(), told.end(), Kind::AskTrump), 0);
        const auto trumpSet = std::find_if(events.begin(), events.end(), [](const Event& e) { return e.kind == Kind::TrumpSet; });
        ASSERT_NE(trumpSet, events.end());
        EXPECT_EQ(trumpSet->value, kDiamonds);
        EXPECT_EQ(game.declarer(), bidTen ? 1 : 0);
        EXPECT_EQ(game.toAct(), 0);
        EXPECT_EQ(game.phase(), Phase::Playing);
    }
}

TEST(Game, BothDutiesToFollow) {
    auto plainHeart = [](CardCode c) { return isPlainCard(c) && suitOf(c) == kHearts; };
    auto diamondsTrump = [](CardCode c) { return isTrump(c, kDiamonds); };
    struct Case {
        const char* why;
        const char* lead;
        std::vector<CardCode> seat1;
        std::function<bool(CardCode)> seat1Avoids;
        const char* tried;
        bool allowed;
    };
    const std::vector<Case> cases = {
        {"a plain heart follows hearts", "9H", cards({"7H", "JH"}), {}, "7H", true},
        {"the jack of hearts is no heart", "9H", cards({"7H", "JH"}), {}, "JH", false},
        {"without hearts a trump may go", "9H", cards({"JH", "6S"}), plainHeart, "JH", true},
        {"without hearts anything goes", "9H", cards({"JH", "6S"}), plainHeart, "6S", true},
        {"a queen leads trumps: follow with a trump", "QS", cards({"6D", "7S"}), {}, "6D", true},
        {"a queen leads trumps: a plain spade is no trump", "QS", cards({"6D", "7S"}), {}, "7S", false},
        {"any face card follows trumps", "9D", cards({"JC", "7S"}), {}, "JC", true},
        {"trumps led, trump held: no other card", "9D", cards({"JC", "7S"}), {}, "7S", false},
        {"no trumps: anything goes", "9D", cards({"7S", "8C"}), diamondsTrump, "7S", true},
        {"a card not held", "9D", cards({"7S"}), {}, "AS", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Events events;
        Game game = gameWith(arrange({card(c.lead)}, c.seat1, c.seat1Avoids ? c.seat1Avoids : [](CardCode) { return false; }),
                             events);
        for (int seat = 0; seat < kSeats; ++seat) ASSERT_TRUE(game.bid(seat, 0, events));   // diamonds
        EXPECT_FALSE(game.playCard(1, game.dealtHands()[1][0], events)) << "seat 1 plays before the lead";
        ASSERT_TRUE(game.playCard(0, card(c.lead), events));
        EXPECT_EQ(game.cardAllowed(1, card(c.tried)), c.allowed);
        events.clear();
        EXPECT_EQ(game.playCard(1, card(c.tried), events), c.allowed);
        EXPECT_EQ(events.empty(), !c.allowed);
    }
}

TEST(Game, TricksScoringAndTheEndAtTwelve) {
    Game game({.seed = 11, .firstDealer = 0});
    std::vector<std::unique_ptr<Bot>> bots;
    for (int seat = 0; seat < kSeats; ++seat) bots.push_back(makeBot(BotLevel::Random, 100 + seat));
    std::array<int, kTeams> totals{};
    int gameOvers = 0;
    while (game.phase() != Phase::GameOver) {
        ASSERT_LT(game.dealsStarted(), 100);
        ASSERT_FALSE(gameOver(totals)) << "played on past 12";
        Events events;
        game.startDeal(events);
        int leader = game.forehand();
        while (game.toAct() >= 0) {
            const int seat = game.toAct();
            events.clear();
            ASSERT_TRUE(applyMove(game, seat, decide(*bots[seat], game.viewFor(seat)), events));
            for (const Event& e : events) {
                if (e.kind == Kind::TrickTaken) {
                    // The winner takes the trick's points and leads the next one.
                    const TrickRecord& trick = game.tricks()[game.tricksDone() - 1];
                    EXPECT_EQ(trick.leader, leader);
                    EXPECT_EQ(trick.winner, e.seat);
                    EXPECT_EQ((trick.leader + trickWinner(trick.cards, game.trump())) % kSeats, e.seat);
                    leader = e.seat;
                }
                if (e.kind == Kind::DealScored) {
                    EXPECT_EQ(e.cardPoints[0] + e.cardPoints[1], 120);
                    const int team = teamOf(game.declarer());
                    int tricks = 0;
                    for (const TrickRecord& t : game.tricks()) tricks += teamOf(t.winner) == team;
                    const DealOutcome outcome =
                        scoreDeal(team, e.cardPoints[team], tricks, game.auction().bidTen());
                    EXPECT_EQ(e.dealPoints, outcome.gamePoints);
                    for (int t = 0; t < kTeams; ++t) totals[t] += outcome.gamePoints[t];
                    EXPECT_EQ(e.totals, totals);
                }
                gameOvers += e.kind == Kind::GameOver;
            }
        }
    }
    EXPECT_TRUE(gameOver(totals));
    EXPECT_EQ(gameOvers, 1);
    Events after;
    game.startDeal(after);
    EXPECT_TRUE(after.empty()) << "no deal after the game is over";
}

TEST(Game, ARefusedMoveChangesNothing) {
    Events events;
    Game game = gameWith(arrange({}, {}), events);
    for (int seat = 0; seat < kSeats; ++seat) ASSERT_TRUE(game.bid(seat, 0, events));
    const PlayerView before = game.viewFor(1);
    events.clear();
    EXPECT_FALSE(game.bid(0, 3, events)) << "bidding is over";
    EXPECT_FALSE(game.chooseTrump(0, kHearts, events));
    EXPECT_FALSE(game.playCard(2, game.dealtHands()[2][0], events));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(game.toAct(), 0);
    const PlayerView after = game.viewFor(1);
    EXPECT_EQ(after.hand, before.hand);
    EXPECT_EQ(after.trickSize, before.trickSize);
    EXPECT_EQ(after.played, before.played);
}

}  // namespace
}  // namespace lerva::test

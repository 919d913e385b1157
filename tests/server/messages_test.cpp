#include <gtest/gtest.h>

#include "ansi_text.h"
#include "messages.h"

namespace lerva {
namespace {

std::vector<Block> blocksFor(int receiver, const Event& event) {
    std::vector<Block> out;
    appendBlocksFor(receiver, event, out);
    return out;
}

TEST(Messages, CardsAreReportedAtTheSeatSeenFromEachReceiver) {
    // [receiver][player]: 0 self, 1 left, 2 opposite, 3 right.
    const int seat[kSeats][kSeats] = {{0, 1, 2, 3}, {3, 0, 1, 2}, {2, 3, 0, 1}, {1, 2, 3, 0}};
    for (int receiver = 0; receiver < kSeats; ++receiver)
        for (int player = 0; player < kSeats; ++player) {
            const auto blocks = blocksFor(receiver, {Event::Kind::CardPlayed, player, 42});
            ASSERT_EQ(blocks.size(), 1u);
            const auto report = parseCardReport(blocks[0]);
            ASSERT_TRUE(report);
            EXPECT_EQ(report->seat, seat[receiver][player]) << receiver << " sees " << player;
            EXPECT_EQ(report->card, 42);
            EXPECT_EQ(static_cast<unsigned char>(blocks[0][2]), 42) << "a raw byte";
        }
}

TEST(Messages, BidsAreReportedInTheReceiversBidSlots) {
    // [receiver][bidder]: slot 1 self, 0 left, 2 right, 3 opposite.
    const int slot[kSeats][kSeats] = {{1, 0, 3, 2}, {2, 1, 0, 3}, {3, 2, 1, 0}, {0, 3, 2, 1}};
    for (int receiver = 0; receiver < kSeats; ++receiver)
        for (int bidder = 0; bidder < kSeats; ++bidder)
            for (const int bid : {0, 1, 9, 10}) {
                const auto blocks = blocksFor(receiver, {Event::Kind::BidMade, bidder, bid});
                ASSERT_EQ(blocks.size(), 1u);
                EXPECT_EQ(blocks[0][0], '0' + slot[receiver][bidder]) << receiver << " sees " << bidder;
                EXPECT_EQ(blocks[0][2], bid == 10 ? ':' : '0' + bid);
            }
}

TEST(Messages, AsksGoOnlyToThePlayerAskedAndTheTrumpToAll) {
    const std::pair<Event::Kind, std::string_view> asks[] = {
        {Event::Kind::AskBid, "ok"}, {Event::Kind::AskTrump, "trump"}, {Event::Kind::AskCard, "okc"}};
    for (const auto& [kind, text] : asks)
        for (int receiver = 0; receiver < kSeats; ++receiver)
            for (int asked = 0; asked < kSeats; ++asked) {
                const auto blocks = blocksFor(receiver, {kind, asked});
                ASSERT_EQ(blocks.size(), receiver == asked ? 1u : 0u);
                if (!blocks.empty()) EXPECT_EQ(blockText(blocks[0]), text);
            }
    for (int receiver = 0; receiver < kSeats; ++receiver) {
        const auto blocks = blocksFor(receiver, {Event::Kind::TrumpSet, 2, kSpades});
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blockText(blocks[0]), "next 3");
        EXPECT_TRUE(blocksFor(receiver, {Event::Kind::TrickTaken, 1, 25}).empty());
    }
}

TEST(Messages, PointsAreToldFromTheReceiversTeam) {
    Event scored{Event::Kind::DealScored, 1};
    scored.cardPoints = {47, 73};
    scored.dealPoints = {0, 1};
    scored.totals = {5, 11};
    for (int receiver = 0; receiver < kSeats; ++receiver) {
        const auto blocks = blocksFor(receiver, scored);
        ASSERT_EQ(blocks.size(), 1u);
        const Points points = parsePoints(blocks[0]);
        const bool teamZero = receiver % 2 == 0;
        EXPECT_EQ(points.ownCardPoints, teamZero ? 47 : 73);
        EXPECT_EQ(points.ownGamePoints, teamZero ? 5 : 11);
        EXPECT_EQ(points.otherGamePoints, teamZero ? 11 : 5);
    }
}

TEST(Messages, ADealStartsWithLeftOppositeAndRightNamesThenTheHand) {
    const SeatNames names = {"Anu", "Bert", "Cili", "Dan"};
    const std::vector<std::string> expected[kSeats] = {
        {"Bert", "Cili", "Dan"}, {"Cili", "Dan", "Anu"}, {"Dan", "Anu", "Bert"}, {"Anu", "Bert", "Cili"}};
    const Hand hand = {11, 21, 31, 41, 51, 61, 71, 81, 94};
    for (int receiver = 0; receiver < kSeats; ++receiver) {
        std::vector<Block> blocks;
        appendDealStart(receiver, names, hand, blocks);
        ASSERT_EQ(blocks.size(), 4u);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(parseName(blocks[i]), expected[receiver][i]);
        EXPECT_EQ(blockText(blocks[3]), "112131415161718194");
    }
}

TEST(Messages, NamesAreCleanedBeforeTheyAreRelayed) {
    const std::pair<std::string, std::string> cases[] = {
        {"Mari", "Mari"},
        {"Ma\x01ri\x7f\r\n", "Mari"},
        {"J\xfcri", "J\xfcri"},                  // an Estonian letter in the client's code page
        {std::string(200, 'a'), std::string(122, 'a')},
        {"", "Nimetu"},
        {"\x01\x02\t", "Nimetu"},
    };
    for (const auto& [raw, relayed] : cases) EXPECT_EQ(cleanName(raw), relayed);
}

TEST(Messages, ASecretIsSplitOffAndNoPersonPassesForAComputerPlayer) {
    struct Case {
        std::string raw, shown, secret;
        bool nameless;
    };
    const Case cases[] = {
        {"Maret#kala7", "Maret", "kala7", false},
        {"Maret#kala#7", "Maret", "kala#7", false},
        {"#kala7", "Nimetu", "kala7", true},
        {"Nimetu", "Nimetu", "", true},
        {"Arvuti 2", "Arvuti 2 (inimene)", "", false},
        {"arvuti\xa0 3#x", "arvuti\xa0 3 (inimene)", "x", false},
        {"ARVUTI", "ARVUTI (inimene)", "", false},
        {"Arvutimees", "Arvutimees", "", false},
        {"Arvuti" + std::string(130, '7'), "Arvuti" + std::string(106, '7') + " (inimene)", "", false},
    };
    for (const Case& c : cases) {
        const ClaimedName claimed = claimName(c.raw);
        EXPECT_EQ(claimed.shown, c.shown) << c.raw;
        EXPECT_EQ(claimed.secret, c.secret) << c.raw;
        EXPECT_EQ(claimed.nameless, c.nameless) << c.raw;
        EXPECT_LE(claimed.shown.size(), kMaxRelayedName);
    }
}

TEST(Messages, NamesReadAsUtf8InLogsAndRecords) {
    EXPECT_EQ(ansiToUtf8("J\xfcri \xd5un"), "Jüri Õun");
    EXPECT_EQ(ansiToUtf8("\x8a\x9e\x80"), "Šž€");
    EXPECT_EQ(ansiToUtf8("\x81"), "\xef\xbf\xbd") << "no letter in the code page";
    EXPECT_EQ(ansiToUtf8("plain"), "plain");
}

}  // namespace
}  // namespace lerva

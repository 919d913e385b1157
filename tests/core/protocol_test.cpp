#include <gtest/gtest.h>

#include <string>

#include "protocol.h"

using namespace lerva;

namespace {

// Bytes of a block as a string: the text, then a check that all the rest is zero.
void expectBlock(const Block& block, const std::string& bytes) {
    ASSERT_LE(bytes.size(), kBlockSize);
    EXPECT_EQ(std::string(block.data(), bytes.size()), bytes);
    for (std::size_t i = bytes.size(); i < kBlockSize; ++i)
        ASSERT_EQ(block[i], '\0') << "padding byte " << i;
}

Block blockOf(const std::string& bytes) {
    Block block{};
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

}  // namespace

TEST(ClientBlocks, HaveTheirExactBytesAndZeroPadding) {
    struct Case { Block block; std::string bytes; };
    const Case cases[] = {
        {joinBlock(), "join"},
        {bidBlock(0), "bid  0"},
        {bidBlock(7), "bid  7"},
        {bidBlock(10), "bid  10"},
        {trumpChoiceBlock(3), "next 3"},
        {cardPlayBlock(11), std::string("scard\x0b", 6)},
        {cardPlayBlock(42), std::string("scard*", 6)},
        {userNameBlock("Mari"), "Mari"},
        {userNameBlock(""), ""},
    };
    for (const auto& c : cases) expectBlock(c.block, c.bytes);
}

TEST(ClientBlocks, AnOverlongUserNameIsCutSoItsNulFits) {
    const Block block = userNameBlock(std::string(300, 'x'));
    EXPECT_EQ(blockText(block), std::string(127, 'x'));
    EXPECT_EQ(block[127], '\0');
}

TEST(ClientBlocks, ServerReadsBackWhatTheClientSends) {
    for (int bid = 0; bid <= 10; ++bid) EXPECT_EQ(parseBid(bidBlock(bid)), bid);
    for (int suit = 1; suit <= 4; ++suit) EXPECT_EQ(parseTrumpChoice(trumpChoiceBlock(suit)), suit);
    for (CardCode card : fullDeck()) EXPECT_EQ(parseCardPlay(cardPlayBlock(card)), card);
    EXPECT_TRUE(isJoin(joinBlock()));
    EXPECT_EQ(parseUserName(userNameBlock("Tõnu")), "Tõnu");
}

TEST(ClientBlocks, ServerRefusesMalformedChoices) {
    for (const char* text : {"bid 5", "bid  11", "bid  x", "bid  ", "bid  5 ", "bid  -1", "next 3"})
        EXPECT_FALSE(parseBid(textBlock(text))) << text;
    for (const char* text : {"next 0", "next 5", "next  1", "next", "bid  1"})
        EXPECT_FALSE(parseTrumpChoice(textBlock(text))) << text;
    for (int card : {0, 10, 15, 70, 95, 200})
        EXPECT_FALSE(parseCardPlay(cardPlayBlock(static_cast<CardCode>(card)))) << card;
    EXPECT_FALSE(parseCardPlay(textBlock("sbard")));
    EXPECT_FALSE(isJoin(textBlock("joins")));
}

TEST(ServerBlocks, HaveTheirExactBytes) {
    struct Case { Block block; std::string bytes; };
    const Case cases[] = {
        {okBlock(), "ok"},
        {okcBlock(), "okc"},
        {trumpBlock(), "trump"},
        {nextBlock(2), "next 2"},
        {nameBlock("Mari"), "name Mari"},
        {bidReportBlock(1, 0), "1 0"},
        {bidReportBlock(3, 10), "3 :"},
        {cardReportBlock(2, 94), "2 ^"},
        {pointBlock(61, 3, 12), std::string("point=\x03\x0c", 8)},
        {dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}), "142351947261138231"},
    };
    for (const auto& c : cases) expectBlock(c.block, c.bytes);
}

TEST(ServerBlocks, ClassifyByPhaseAndKeywordOrder) {
    using M = ServerMessage;
    struct Case { int phase; std::string text; M expected; };
    const Case cases[] = {
        {0, "name Mari", M::Name},
        {0, "142351947261138231", M::Deal},
        {0, "ok", M::Deal},              // a keyword of another phase
        {0, "next 1", M::Deal},
        {1, "okc", M::Okc},              // okc before ok
        {1, "ok", M::Ok},
        {1, "next 3", M::Next},
        {1, "trump", M::Trump},
        {1, "trumpokc", M::Okc},
        {1, "next trump", M::Next},      // next before trump
        {1, "1 5", M::BidReport},
        {1, "name Mari", M::BidReport},
        {1, "point", M::BidReport},
        {2, "okc", M::Okc},
        {2, "pointokc", M::Okc},
        {2, "point", M::Point},
        {2, "trump", M::CardReport},     // no trump test in play
        {2, "next 2", M::CardReport},
        {2, "ok", M::CardReport},
        {2, "0 \x0b", M::CardReport},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classify(c.phase, textBlock(c.text)), c.expected) << c.phase << " " << c.text;
}

TEST(ServerBlocks, KeywordsAfterTheFirstNulAreNotSeen) {
    EXPECT_EQ(classify(1, blockOf(std::string("x\0okc", 5))), ServerMessage::BidReport);
    EXPECT_EQ(classify(2, blockOf(std::string("\0point", 6))), ServerMessage::CardReport);
}

TEST(ServerBlocks, DealDigitsGiveTheCardsInDealtOrder) {
    const Hand expected{11, 21, 31, 41, 51, 61, 71, 81, 91};
    EXPECT_EQ(parseDeal(textBlock("112131415161718191")), expected);
    // Pairs that spell no card are left empty; the rest still count.
    const Hand partial{11, 0, 0, 0, 0, 0, 0, 0, 94};
    EXPECT_EQ(parseDeal(textBlock("11701505x1:1009594")), partial);
    EXPECT_EQ(parseDeal(textBlock("")), Hand{});
}

TEST(ServerBlocks, BidReportsInAndOutOfRange) {
    struct Case { std::string bytes; std::optional<std::pair<int, int>> expected; };
    const Case cases[] = {
        {"1 0", std::pair{1, -1}},  // a pass of the local player
        {"3 :", std::pair{3, 10}},
        {"0 9", std::pair{0, 9}},
        {"2 1", std::pair{2, 1}},
        {"4 1", std::nullopt},
        {"/ 1", std::nullopt},
        {"1 ;", std::nullopt},
        {"1 /", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto report = parseBidReport(blockOf(c.bytes));
        ASSERT_EQ(report.has_value(), c.expected.has_value()) << c.bytes;
        if (report) EXPECT_EQ(std::pair(report->slot, report->bid), *c.expected);
    }
}

TEST(ServerBlocks, CardReportsRoundTripAndRefuseWhatIsNoCard) {
    for (int seat = 0; seat < kSeats; ++seat)
        for (CardCode card : fullDeck()) {
            const auto report = parseCardReport(cardReportBlock(seat, card));
            ASSERT_TRUE(report);
            EXPECT_EQ(report->seat, seat);
            EXPECT_EQ(report->card, card);
        }
    EXPECT_FALSE(parseCardReport(cardReportBlock(4, 11)));
    EXPECT_FALSE(parseCardReport(blockOf("/ \x0b")));
    for (int raw : {0, 10, 70, 95, 0xC8 /* -56 as a signed byte */})
        EXPECT_FALSE(parseCardReport(blockOf(std::string("0 ") + static_cast<char>(raw)))) << raw;
}

TEST(ServerBlocks, NextPointAndName) {
    EXPECT_EQ(parseNext(nextBlock(3)), 3);
    EXPECT_FALSE(parseNext(textBlock("next 5")));
    EXPECT_FALSE(parseNext(textBlock("next")));

    const Points won = parsePoints(pointBlock(61, 11, 11));
    EXPECT_EQ(won.ownCardPoints, 61);
    EXPECT_EQ(won.ownGamePoints, 11);
    const Points zero = parsePoints(pointBlock(0, 0, 12));  // a 0 score ends the text early
    EXPECT_EQ(zero.ownCardPoints, 0);
    EXPECT_EQ(zero.otherGamePoints, 12);
    EXPECT_EQ(parsePoints(pointBlock(-3, 0, 0)).ownCardPoints, -3);  // signed bytes

    EXPECT_EQ(parseName(nameBlock("Mari")), "Mari");
    EXPECT_EQ(parseName(textBlock("name ")), "");
    EXPECT_FALSE(parseName(textBlock("name")));
    EXPECT_FALSE(parseName(textBlock("")));
    const std::string longest(kMaxRelayedName, 'n');
    EXPECT_EQ(parseName(nameBlock(longest)), longest);
    EXPECT_EQ(parseName(nameBlock(longest + "tail")), longest);
}

// The receive thread against a server played by the test on 127.0.0.1:113.
#include <gtest/gtest.h>

#include <string>

#include "Link.h"
#include "support/box_closer.h"
#include "support/fake_server.h"
#include "table.h"
#include "table_fixture.h"

using namespace lerva;

namespace {

constexpr DWORD kWait = 10000;

class ReceiveTest : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        ASSERT_TRUE(server.listening()) << "port 113 is taken";
        ASSERT_EQ(conn.MakeConn("127.0.0.1", 113), 0);
        ASSERT_TRUE(server.accept());
        startReceiving(*conn.getSocket());
        const auto join = server.receive();
        ASSERT_TRUE(join && isJoin(*join));
        ASSERT_TRUE(waitFor([&] { return caption() == "Katkesta" && table->serverSocket; }));
    }
    void TearDown() override {
        if (game) WindowProc(table->GetWnd(), WM_COMMAND, IDC_CONNECT_TABLE, 0);
        EXPECT_TRUE(waitFor([&] { return !game && caption() == "\xDChenda"; }));
        TableTest::TearDown();
    }
    template <class Condition>
    bool waitFor(Condition done, DWORD timeoutMs = kWait) { return pumpUntil(done, timeoutMs); }

    std::string caption() const {
        char text[32] = {};
        GetDlgItemTextA(table->GetWnd(), IDC_CONNECT_TABLE, text, sizeof text);
        return text;
    }
    bool visible(int id) const { return IsWindowVisible(GetDlgItem(table->GetWnd(), id)) != 0; }
    bool hasText(const std::string& text) const { return infoText().find(text) != std::string::npos; }

    // Names and a deal: the table ends up in its bidding phase.
    void deal() {
        for (const char* name : {"Vasak", "Vastas", "Parem"}) server.send(nameBlock(name));
        server.send(dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}));
        ASSERT_TRUE(waitFor([&] { return table->hand[0] != 0 && visible(IDC_PASS); }));
    }
    // A whole auction ending in `suit` as trump: the table is then playing.
    void bidAndChoose(int suit) {
        server.send(nextBlock(suit));
        ASSERT_TRUE(waitFor([&] { return table->trump == suit; }));
    }

    FakeServer server;
};

}  // namespace

TEST_F(ReceiveTest, AnnouncesItselfAndWaits) {
    EXPECT_TRUE(game);
    EXPECT_EQ(table->serverSocket, conn.getSocket());
    EXPECT_TRUE(hasText("\r\nOotan teisi m\xE4ngijaid..."));
}

TEST_F(ReceiveTest, NamesAndTheDealOpenTheBidding) {
    for (const char* name : {"Vasak", "Vastas", "Parem", "Neljas"}) server.send(nameBlock(name));
    server.send(dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}));
    ASSERT_TRUE(waitFor([&] { return table->hand[0] != 0; }));
    // A fourth name within one deal is ignored.
    EXPECT_EQ(table->playerNames[0], "Vasak");
    EXPECT_EQ(table->playerNames[1], "Vastas");
    EXPECT_EQ(table->playerNames[2], "Parem");
    EXPECT_EQ(table->hand, (Hand{94, 82, 72, 14, 23, 13, 61, 51, 31}));
    EXPECT_EQ(table->cardCount, (CardCounts{9, 9, 9, 9}));
    for (HBITMAP face : table->handBitmaps) EXPECT_NE(face, nullptr);
    ASSERT_TRUE(waitFor([&] { return hasText("\r\nM\xE4ng algas\r\nPakkumine algas"); }));
    for (int id = IDC_PASS; id <= IDC_DIAMONDS_BID; ++id) EXPECT_TRUE(visible(id)) << id;
    EXPECT_FALSE(table->bidTurn);
}

TEST_F(ReceiveTest, BiddingMessagesDriveTheTable) {
    deal();
    server.send(okBlock());
    ASSERT_TRUE(waitFor([&] { return table->bidTurn; }));
    server.send(bidReportBlock(1, 0));
    server.send(bidReportBlock(3, 10));
    ASSERT_TRUE(waitFor([&] { return table->bids[3] == 10; }));
    EXPECT_EQ(table->bids[1], -1);  // a reported 0 is a pass
    // Out-of-range slots and values change nothing.
    server.send(textBlock("5 3"));
    server.send(textBlock("0 ;"));
    server.send(okcBlock());        // "okc" gives the turn to play, never to bid
    ASSERT_TRUE(waitFor([&] { return table->playTurn; }));
    EXPECT_EQ(table->bids, (Bids{0, -1, 0, 10}));
    server.send(trumpBlock());
    ASSERT_TRUE(waitFor([&] { return visible(IDC_TRUMP_FIRST); }));
    EXPECT_TRUE(hasText("\r\nTee trump"));
    EXPECT_FALSE(visible(IDC_PASS));
    EXPECT_FALSE(table->bidTurn);
    server.send(textBlock("next 7"));  // no such suit: dropped, still bidding
    server.send(nextBlock(3));
    ASSERT_TRUE(waitFor([&] { return table->trump == 3; }));
    EXPECT_EQ(table->bids, (Bids{}));
    for (int id = IDC_TRUMP_FIRST; id < IDC_TRUMP_FIRST + 4; ++id) EXPECT_FALSE(visible(id));
    for (int id = IDC_PASS; id <= IDC_DIAMONDS_BID; ++id) EXPECT_FALSE(visible(id));
}

TEST_F(ReceiveTest, ThePauseAfterTheTrumpHoldsBackTheNextMessage) {
    deal();
    server.send(nextBlock(2));
    server.send(okcBlock());
    ASSERT_TRUE(waitFor([&] { return table->trump == 2; }));
    const DWORD trumpShown = GetTickCount();
    ASSERT_TRUE(waitFor([&] { return table->playTurn; }));
    EXPECT_GE(GetTickCount() - trumpShown, 1300u);
}

TEST_F(ReceiveTest, AFullTrickStaysThreeSecondsThenClears) {
    deal();
    bidAndChoose(3);
    server.send(textBlock("trump"));  // no keyword of play: a card report of no seat
    server.send(cardReportBlock(1, 41));
    server.send(cardReportBlock(2, 43));
    server.send(cardReportBlock(3, 44));
    ASSERT_TRUE(waitFor([&] { return table->trick[3] == 44; }));
    EXPECT_EQ(table->trick, (Trick{0, 41, 43, 44}));
    EXPECT_EQ(table->cardCount, (CardCounts{9, 8, 8, 8}));
    server.send(cardReportBlock(0, 42));
    server.send(okcBlock());
    ASSERT_TRUE(waitFor([&] { return table->trick[0] == 42; }));
    const DWORD full = GetTickCount();
    EXPECT_EQ(table->cardCount[0], 9);  // the own card was counted when played
    ASSERT_TRUE(waitFor([&] { return table->trick == Trick{}; }));
    EXPECT_GE(GetTickCount() - full, 2800u);
    ASSERT_TRUE(waitFor([&] { return table->playTurn; }));
}

TEST_F(ReceiveTest, ABlockSentInTwoPiecesIsOneMessage) {
    for (const char* name : {"Vasak", "Vastas", "Parem"}) server.send(nameBlock(name));
    server.sendSplit(dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}), 7, 300);
    ASSERT_TRUE(waitFor([&] { return table->hand[8] != 0; }));
    EXPECT_EQ(table->hand, (Hand{94, 82, 72, 14, 23, 13, 61, 51, 31}));
    server.sendSplit(okBlock(), 1, 200);
    ASSERT_TRUE(waitFor([&] { return table->bidTurn; }));
    EXPECT_EQ(table->bids, (Bids{}));  // no piece was taken as a bid report
}

TEST_F(ReceiveTest, PointsClearTheTableAndShowTheResults) {
    BoxCloser boxes;
    deal();
    bidAndChoose(1);
    server.send(pointBlock(61, 11, 11));
    ASSERT_TRUE(waitFor([&] { return boxes.count() == 2; }));
    EXPECT_EQ(table->hand, Hand{});
    EXPECT_EQ(table->trump, 0);
    EXPECT_FALSE(table->playerNames[0]);
    const auto texts = boxes.texts();
    EXPECT_EQ(texts[0], "Teie v\xF5itsite selle m\xE4ngu tulemusega 61/59");
    EXPECT_EQ(texts[1], "Praegune m\xE4ngupunktide seis on 11/11\n(See tiim, mis v\xE4hemalt 12 punkti saab v\xF5idab)");
    EXPECT_EQ(boxes.captions()[0], "Tulemused");
    EXPECT_TRUE(game);  // the game goes on: the next deal starts with names
    for (const char* name : {"A", "B", "C"}) server.send(nameBlock(name));
    server.send(dealBlock({11, 12, 13, 14, 21, 22, 23, 24, 31}));
    ASSERT_TRUE(waitFor([&] { return table->hand[0] != 0; }));
    EXPECT_EQ(table->playerNames[0], "A");
}

TEST_F(ReceiveTest, TheEndOfTheGameShutsTheConnectionBeforeTheFinalBox) {
    bool closedBeforeFinalBox = false;
    BoxCloser boxes([&](const std::string&, const std::string& text) {
        if (text.find("terve m\xE4ngu") != std::string::npos) closedBeforeFinalBox = server.clientClosed(2000);
    });
    deal();
    bidAndChoose(1);
    server.send(pointBlock(60, 12, 5));
    ASSERT_TRUE(waitFor([&] { return !game; }));
    EXPECT_TRUE(closedBeforeFinalBox);
    const auto texts = boxes.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Teie kaotasite selle m\xE4ngu tulemusega 60/60");
    EXPECT_EQ(texts[1], "Teie v\xF5itsite terve m\xE4ngu tulemusega 12/5");
    ASSERT_TRUE(waitFor([&] { return caption() == "\xDChenda"; }));
}

TEST_F(ReceiveTest, AServerThatClosesMidBiddingEmptiesTheTable) {
    deal();
    server.send(bidReportBlock(0, 5));
    ASSERT_TRUE(waitFor([&] { return table->bids[0] == 5; }));
    server.close();
    ASSERT_TRUE(waitFor([&] { return !game && caption() == "\xDChenda"; }));
    EXPECT_TRUE(hasText("\r\nM\xE4ng katkestatud"));
    EXPECT_EQ(table->hand, Hand{});
    EXPECT_EQ(table->bids, Bids{});
    EXPECT_FALSE(table->playerNames[0]);
    for (int id = IDC_PASS; id <= IDC_DIAMONDS_BID; ++id) EXPECT_FALSE(visible(id));
}

TEST_F(ReceiveTest, DisconnectDuringThePauseEndsTheConnectionAtOnce) {
    deal();
    bidAndChoose(4);
    for (int seat : {1, 2, 3, 0}) server.send(cardReportBlock(seat, static_cast<CardCode>(10 * (seat + 1) + 4)));
    ASSERT_TRUE(waitFor([&] { return table->trick[0] != 0; }));
    const DWORD clicked = GetTickCount();
    WindowProc(table->GetWnd(), WM_COMMAND, IDC_CONNECT_TABLE, 0);
    ASSERT_TRUE(waitFor([&] { return caption() == "\xDChenda"; }));
    EXPECT_LT(GetTickCount() - clicked, 1500u);
    EXPECT_EQ(table->trick, Trick{});
    EXPECT_TRUE(server.clientClosed());
    EXPECT_TRUE(hasText("\r\nM\xE4ng katkestatud"));
}

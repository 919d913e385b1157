// A whole scripted deal: the test plays the server on 127.0.0.1:113 and a
// person at the real client.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "geometry.h"
#include "protocol.h"
#include "table.h"
#include "support/fake_server.h"  // Windows Sockets before the rest of Windows
#include "support/client_process.h"

using namespace lerva;

namespace {

constexpr COLORREF kTableColour = RGB(178, 34, 34);

class DealTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(client.started());
        ASSERT_NE(client.waitForTable(), nullptr);
    }

    // Opens the dialog, types the name and connects; the server accepts.
    void connectAs(const std::string& name) {
        server.emplace(113);
        ASSERT_TRUE(server->listening()) << "port 113 is taken";
        ASSERT_TRUE(ClientProcess::click(client.control(201)));
        HWND dialog = client.waitForDialog();
        ASSERT_NE(dialog, nullptr);
        ClientProcess::type(GetDlgItem(dialog, 102), name);
        ASSERT_TRUE(ClientProcess::click(GetDlgItem(dialog, 204)));
        ASSERT_TRUE(server->accept());
    }
    // Connects and takes the client's first two blocks: its name and "join".
    void joinAs(const std::string& name) {
        connectAs(name);
        EXPECT_TRUE(expectBlock(name));
        EXPECT_TRUE(expectBlock("join"));
    }
    // Nothing arrives from the client for a while.
    bool silent(DWORD ms = 700) { return !server->receive(ms); }
    bool expectBlock(const std::string& text) {
        const auto block = server->receive();
        return block && blockText(*block) == text;
    }
    bool painted(int x, int y) const { return client.pixel(x, y) != kTableColour; }
    bool visible(int id) const { return IsWindowVisible(client.control(id)) != 0; }

    std::optional<FakeServer> server;  // the server side, once connecting
    ClientProcess client{windowsPath(LERVA_EXE), windowsPath(LERVA_RUN_DIR)};
};

}  // namespace

TEST_F(DealTest, AWholeDealFromTheConnectClickToTheResults) {
    connectAs("Mari");
    EXPECT_TRUE(expectBlock("Mari"));  // the user name block comes first
    EXPECT_TRUE(expectBlock("join"));
    ASSERT_TRUE(client.waitForInfo("\r\n\xDChendan serveriga 127.0.0.1\r\n\xDChendus serveriga loodud\r\nOotan teisi m\xE4ngijaid..."));
    ASSERT_TRUE(waitUntil([&] { return client.caption(201) == "Katkesta"; }, 5000));

    for (const char* name : {"Vasak", "Vastas", "Parem"}) server->send(nameBlock(name));
    server->send(dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}));
    ASSERT_TRUE(client.waitForInfo("\r\nM\xE4ng algas\r\nPakkumine algas"));
    EXPECT_TRUE(visible(600));
    // The hand spreads from x = 172 to 526; the others' backs are drawn.
    ASSERT_TRUE(waitUntil([&] { return painted(175, 430) && painted(523, 430); }, 5000));
    EXPECT_FALSE(painted(168, 430));
    EXPECT_FALSE(painted(530, 430));
    EXPECT_TRUE(painted(60, 150));   // left backs at x = 50
    EXPECT_TRUE(painted(640, 150));  // right backs end at x = 650
    EXPECT_TRUE(painted(200, 60));   // top backs at y = 25

    // Bidding: the left player bid 5; 4 is refused, 5 accepted.
    server->send(bidReportBlock(0, 5));
    server->send(okBlock());
    Sleep(300);
    ASSERT_TRUE(ClientProcess::click(client.control(604)));
    ASSERT_TRUE(client.waitForInfo("\r\nPead rohkem pakkuma v\xF5i passima"));
    EXPECT_TRUE(silent());
    ASSERT_TRUE(ClientProcess::click(client.control(605)));
    EXPECT_TRUE(expectBlock("bid  5"));
    ASSERT_TRUE(client.waitForInfo("\r\nPakkusid 5"));
    ASSERT_TRUE(ClientProcess::click(client.control(606)));  // the turn is over
    EXPECT_TRUE(silent());

    // The trump: hearts has only three trumps for a bid of 5; diamonds is always allowed.
    server->send(bidReportBlock(1, 5));
    server->send(trumpBlock());
    ASSERT_TRUE(waitUntil([&] { return visible(206); }, 5000));
    EXPECT_FALSE(visible(600));
    ASSERT_TRUE(ClientProcess::click(client.control(207)));
    ASSERT_TRUE(client.waitForInfo("\r\nSa ei saa artut trumbiks teha"));
    EXPECT_TRUE(silent());
    ASSERT_TRUE(ClientProcess::click(client.control(206)));
    EXPECT_TRUE(expectBlock("next 1"));
    ASSERT_TRUE(waitUntil([&] { return !visible(206); }, 5000));

    server->send(nextBlock(1));
    ASSERT_TRUE(waitUntil([&] { return painted(110, 30); }, 5000));  // the suit icon beside "Trump:"

    // A trick led by the left player with a trump: the 6 of clubs is refused.
    server->send(cardReportBlock(1, 41));
    server->send(cardReportBlock(2, 11));
    server->send(cardReportBlock(3, 91));
    server->send(okcBlock());
    ASSERT_TRUE(waitUntil([&] { return painted(235 + 35, 199 + 48) && painted(395 + 35, 199 + 48); }, 5000));
    Sleep(300);
    client.clickTable(300, 420);  // slot 3, the 6 of clubs
    ASSERT_TRUE(client.waitForInfo("\r\nSa ei saa seda kaarti k\xE4ia"));
    EXPECT_TRUE(silent());
    client.clickTable(400, 420);  // slot 6, the ace of diamonds
    const auto played = server->receive();
    ASSERT_TRUE(played);
    EXPECT_EQ(parseCardPlay(*played), CardCode{61});
    server->send(cardReportBlock(0, 61));
    // The four cards stay three seconds, then the table is cleared.
    ASSERT_TRUE(waitUntil([&] { return painted(315 + 35, 264 + 48); }, 5000));
    const DWORD full = GetTickCount();
    for (auto [x, y] : {std::pair{315, 264}, {235, 199}, {315, 134}, {395, 199}})
        EXPECT_TRUE(waitUntil([&] { return painted(x + 10, y + 48); }, 1000)) << x << "," << y;
    ASSERT_TRUE(waitUntil([&] { return !painted(315 + 35, 264 + 48); }, 6000));
    EXPECT_GE(GetTickCount() - full, 2500u);
    // Eight cards left: the hand now starts at x = 190 (the paint that
    // clears the trick may still be under way).
    EXPECT_TRUE(waitUntil([&] { return painted(193, 430); }, 3000));
    EXPECT_FALSE(painted(186, 430));

    server->send(pointBlock(61, 3, 0));
    EXPECT_EQ(client.dismissBox(), "Teie v\xF5itsite selle m\xE4ngu tulemusega 61/59");
    EXPECT_EQ(client.dismissBox(), "Praegune m\xE4ngupunktide seis on 3/0\n(See tiim, mis v\xE4hemalt 12 punkti saab v\xF5idab)");

    // The last deal of the game: the client shuts the connection before the final box.
    for (const char* name : {"Vasak", "Vastas", "Parem"}) server->send(nameBlock(name));
    server->send(dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}));
    server->send(nextBlock(2));
    server->send(pointBlock(50, 5, 12));
    EXPECT_EQ(client.dismissBox(), "Teie kaotasite selle m\xE4ngu tulemusega 50/70");
    EXPECT_TRUE(server->clientClosed(5000));
    EXPECT_EQ(client.dismissBox(), "Teie kaotasite terve m\xE4ngu tulemusega 5/12");
    ASSERT_TRUE(client.waitForInfo("\r\nM\xE4ng katkestatud"));
    ASSERT_TRUE(waitUntil([&] { return client.caption(201) == "\xDChenda"; }, 5000));

    ASSERT_TRUE(ClientProcess::click(client.control(203)));
    EXPECT_EQ(client.waitForExit(), 18u);
}

TEST_F(DealTest, ARefusedConnectionIsReported) {
    // Nobody listens on port 113.
    ASSERT_TRUE(ClientProcess::click(client.control(201)));
    HWND dialog = client.waitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ClientProcess::text(GetDlgItem(dialog, 102)), "player");
    EXPECT_EQ(ClientProcess::text(GetDlgItem(dialog, 103)), "127.0.0.1");
    ASSERT_TRUE(ClientProcess::click(GetDlgItem(dialog, 204)));
    ASSERT_TRUE(client.waitForInfo("\r\n\xDChenduse loomine eba\xF5nnestus. Error 310061"));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 5000));
    EXPECT_EQ(client.caption(201), "\xDChenda");
    // The dialog opens again, once.
    ASSERT_TRUE(ClientProcess::click(client.control(201)));
    ASSERT_NE(client.waitForDialog(), nullptr);
    ASSERT_TRUE(ClientProcess::click(client.control(201)));
    Sleep(500);
    int dialogs = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, "Connection", nullptr); w; w = FindWindowExA(nullptr, w, "Connection", nullptr))
        dialogs += IsWindowVisible(w) ? 1 : 0;
    EXPECT_EQ(dialogs, 1);
}

TEST_F(DealTest, TabMovesThroughTheDialogInCreationOrder) {
    ASSERT_TRUE(ClientProcess::click(client.control(201)));
    HWND dialog = client.waitForDialog();
    ASSERT_NE(dialog, nullptr);
    const HWND order[4] = {GetDlgItem(dialog, 102), GetDlgItem(dialog, 103), GetDlgItem(dialog, 204),
                           GetDlgItem(dialog, 205)};
    auto focused = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        for (int i = 0; i < 4; ++i)
            if (info.hwndFocus == order[i]) return i;
        return -1;
    };
    auto pressTab = [&] {
        const int before = focused();
        HWND target = before >= 0 ? order[before] : dialog;
        PostMessageA(target, WM_KEYDOWN, VK_TAB, 0);
        PostMessageA(target, WM_KEYUP, VK_TAB, 0xC0000000);
        return waitUntil([&] { return focused() >= 0 && focused() != before; }, 3000);
    };
    ASSERT_TRUE(pressTab());
    for (int press = 0; press < 4; ++press) {
        const int before = focused();
        ASSERT_TRUE(pressTab()) << "from control " << before;
        EXPECT_EQ(focused(), (before + 1) % 4);
    }
}

TEST_F(DealTest, DisconnectSendsNothingAndEndsTheConnection) {
    joinAs("player");
    ASSERT_TRUE(waitUntil([&] { return client.caption(201) == "Katkesta"; }, 5000));
    ASSERT_TRUE(ClientProcess::click(client.control(201)));
    EXPECT_FALSE(server->receive(5000));  // the connection ends without a block
    ASSERT_TRUE(client.waitForInfo("\r\nM\xE4ng katkestatud"));
    ASSERT_TRUE(waitUntil([&] { return client.caption(201) == "\xDChenda"; }, 5000));
}

TEST_F(DealTest, TheExitButtonEndsTheProgramWithNothingSent) {
    joinAs("player");
    ASSERT_TRUE(waitUntil([&] { return client.caption(201) == "Katkesta"; }, 5000));
    ASSERT_TRUE(ClientProcess::click(client.control(203)));
    EXPECT_EQ(client.waitForExit(), 18u);
    EXPECT_FALSE(server->receive(3000));  // the connection ends with the process, without a block
}

TEST_F(DealTest, TheHandIsClickedWithinItsSlots) {
    joinAs("player");
    for (const char* name : {"Vasak", "Vastas", "Parem"}) server->send(nameBlock(name));
    server->send(dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}));
    server->send(nextBlock(3));
    server->send(okcBlock());
    ASSERT_TRUE(client.waitForInfo("Pakkumine algas"));
    Sleep(2000);  // the pause after the trump
    // Outside the hand band nothing is played.
    for (auto [x, y] : {std::pair{173, 400}, {527, 400}, {400, 379}, {400, 475}}) client.clickTable(x, y);
    EXPECT_TRUE(silent());
    // The left edge plays the first card, the king of clubs.
    client.clickTable(174, 400);
    auto played = server->receive();
    ASSERT_TRUE(played);
    EXPECT_EQ(parseCardPlay(*played), CardCode{94});
    // Seven more clicks in the middle of the shrinking hand, each on the card
    // that lies there; the table stays empty, so every card may be led.
    Hand hand{82, 72, 14, 23, 13, 61, 51, 31, 0};
    CardCounts counts{8, 9, 9, 9};
    for (int n = 8; n > 1; --n) {
        server->send(okcBlock());
        Sleep(300);
        const int x = n % 2 ? 350 : 340;
        const int slot = handSlotAt(x, 400, n);
        ASSERT_GE(slot, 0);
        client.clickTable(x, 400);
        played = server->receive();
        ASSERT_TRUE(played);
        EXPECT_EQ(parseCardPlay(*played), hand[slot]) << n << " cards, slot " << slot;
        takeFromHand(hand, counts, slot);
    }
    // One card is left: its slot is x = 316 to 384.
    server->send(okcBlock());
    Sleep(300);
    client.clickTable(315, 400);
    client.clickTable(385, 400);
    EXPECT_TRUE(silent());
    client.clickTable(316, 400);
    played = server->receive();
    ASSERT_TRUE(played);
    EXPECT_EQ(parseCardPlay(*played), hand[0]);
}

// A whole game of the real client against the real server and three
// computer players, played by a person who bids "Ruutu" whenever it is their
// turn (a deal in diamonds counts double, so the game is short), names
// diamonds when asked and plays the first card the client accepts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "support/box_closer.h"
#include "support/client_process.h"

namespace {

bool visible(HWND control) { return control && IsWindowVisible(control); }

// With LERVA_ATTACH set, the game is played on the client that is already
// running (started by `./lerva play`, say) instead of one started here.
std::unique_ptr<ClientProcess> startOrAttach() {
    if (const char* title = std::getenv("LERVA_ATTACH"); title && *title)
        return std::make_unique<ClientProcess>(ClientProcess::Attach{title, 120000});
    return std::make_unique<ClientProcess>(windowsPath(LERVA_EXE), windowsPath(LERVA_RUN_DIR));
}

}  // namespace

// The window that './lerva play' opens, with the table's controls.
TEST(PlayStart, ShowsTheTableWindowWithItsControls) {
    const char* title = std::getenv("LERVA_ATTACH");
    if (!title || !*title) GTEST_SKIP() << "only for a client started by ./lerva play (LERVA_ATTACH)";
    ClientProcess client(ClientProcess::Attach{title, 120000});
    ASSERT_TRUE(client.started()) << "no window titled " << title << " appeared";
    EXPECT_NE(client.waitForTable(60000), nullptr);
}

TEST(WholeGame, PlaysToTheFinalResultAgainstThreeComputerPlayers) {
    const std::unique_ptr<ClientProcess> started = startOrAttach();
    ClientProcess& client = *started;
    ASSERT_TRUE(client.started()) << "no client window appeared";
    ASSERT_NE(client.waitForTable(), nullptr);
    ASSERT_TRUE(ClientProcess::click(client.control(201)));
    HWND dialog = client.waitForDialog();
    ASSERT_NE(dialog, nullptr);
    ClientProcess::type(GetDlgItem(dialog, 102), "Inimene");
    ASSERT_TRUE(ClientProcess::click(GetDlgItem(dialog, 204)));
    ASSERT_TRUE(client.waitForInfo("\r\n\xDChendus serveriga loodud"));
    ASSERT_TRUE(client.waitForInfo("\r\nM\xE4ng algas", 30000)) << "no deal: is the server running with three bots?";

    int deals = 0;
    std::string finalResult;
    const DWORD start = GetTickCount();
    while (finalResult.empty()) {
        ASSERT_LT(GetTickCount() - start, 15u * 60 * 1000) << "the game did not end; deals so far: " << deals;
        if (HWND box = findMessageBox(client.pid())) {
            const std::string text = messageBoxText(box);
            char caption[32] = {};
            GetWindowTextA(box, caption, sizeof caption);
            EXPECT_STREQ(caption, "Tulemused");
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
            if (text.find("selle m\xE4ngu") != std::string::npos) ++deals;
            if (text.find("terve m\xE4ngu") != std::string::npos) finalResult = text;
            continue;
        }
        if (visible(client.control(206))) {
            ClientProcess::click(client.control(206));
        } else if (visible(client.control(610))) {
            ClientProcess::click(client.control(610));  // does nothing until it is this player's turn
        } else {
            // A click on each card from the right: refused cards only log a
            // line, and after the one that is played the rest do nothing.
            for (int x = 520; x >= 176; x -= 18) client.clickTable(x, 430);
        }
        Sleep(250);
    }
    EXPECT_GE(deals, 1);
    EXPECT_NE(finalResult.find("terve m\xE4ngu tulemusega"), std::string::npos) << finalResult;
    EXPECT_TRUE(waitUntil([&] { return client.caption(201) == "\xDChenda"; }, 10000));
    EXPECT_TRUE(client.waitForInfo("\r\nM\xE4ng katkestatud"));
    ASSERT_TRUE(ClientProcess::click(client.control(203)));
    EXPECT_EQ(client.waitForExit(), 18u);
    std::printf("the game ended after %d deals: %s\n", deals, finalResult.c_str());
}

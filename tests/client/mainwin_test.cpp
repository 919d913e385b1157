#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "table_fixture.h"

namespace {

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

std::string windowText(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The control's rectangle in the client coordinates of its parent.
RECT clientRect(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool isTableEmpty(const MainWin& t) {
    auto allZero = [](const auto& a) {
        for (auto v : a) if (v != 0) return false;
        return true;
    };
    for (const auto& name : t.playerNames) if (name) return false;
    return !t.bidTurn && !t.playTurn && t.trump == 0 && allZero(t.trick) && allZero(t.cardCount) &&
           allZero(t.hand) && allZero(t.bids);
}

std::string fileContents(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST_F(TableTest, NewTableIsEmptyWithItsCardBacksLoaded) {
    MainWin fresh("LervaGUI", "Lerva 1.1", WS_SYSMENU, 700, 600, nullptr, GetModuleHandleA(nullptr), brush,
                  nullptr);
    EXPECT_TRUE(isTableEmpty(fresh));
    EXPECT_TRUE(fresh.showTitle);
    EXPECT_EQ(fresh.serverSocket, nullptr);
    EXPECT_EQ(fresh.GetWnd(), nullptr);
    ASSERT_NE(fresh.cardBackBitmap, nullptr);
    ASSERT_NE(fresh.sideBackBitmap, nullptr);
    EXPECT_EQ(bitmapSize(fresh.cardBackBitmap).cx, 71);
    EXPECT_EQ(bitmapSize(fresh.cardBackBitmap).cy, 96);
    EXPECT_EQ(bitmapSize(fresh.sideBackBitmap).cx, 96);
    EXPECT_EQ(bitmapSize(fresh.sideBackBitmap).cy, 71);
}

TEST_F(TableTest, BuildMakesTheNineteenControls) {
    struct Case { int id; const char* cls; const char* text; int x, y, w, h; bool visible, enabled; DWORD style; };
    constexpr DWORD button = WS_CHILD | WS_TABSTOP;
    const Case cases[] = {
        // An edit control takes WS_BORDER off its style and draws the border itself.
        {101, "Edit", "", 0, 495, 600, 69, true, true,
         WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY},
        {201, "Button", "\xDC" "henda", 600, 495, 90, 23, true, true, button},
        {202, "Button", "Seaded", 600, 518, 90, 23, true, false, button},
        {203, "Button", "V\xE4lju", 600, 541, 90, 23, true, true, button},
        {206, "Button", "Ruutu", 150, 470, 100, 25, false, true, button},
        {207, "Button", "\xC4rtu", 250, 470, 100, 25, false, true, button},
        {208, "Button", "Poti", 350, 470, 100, 25, false, true, button},
        {209, "Button", "Risti", 450, 470, 100, 25, false, true, button},
        {600, "Button", "Pass", 197, 470, 50, 25, false, true, button},
        {610, "Button", "Ruutu", 247, 470, 50, 25, false, true, button},
        {601, "Button", "1", 297, 470, 25, 25, false, true, button},
        {605, "Button", "5", 397, 470, 25, 25, false, true, button},
        {609, "Button", "9", 497, 470, 25, 25, false, true, button},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(table->GetWnd(), c.id);
        ASSERT_NE(control, nullptr);
        char cls[32] = {};
        GetClassNameA(control, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, c.cls);
        EXPECT_EQ(windowText(control), c.text);
        const RECT r = clientRect(control);
        EXPECT_EQ(r.left, c.x);
        EXPECT_EQ(r.top, c.y);
        EXPECT_EQ(r.right - r.left, c.w);
        EXPECT_EQ(r.bottom - r.top, c.h);
        EXPECT_EQ(IsWindowVisible(control) != 0, c.visible);
        EXPECT_EQ(IsWindowEnabled(control) != 0, c.enabled);
        const DWORD style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & c.style, c.style);
        if (std::string(c.cls) == "Button") {
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
        }
    }
    // The numeric bids tile the row without gaps.
    for (int k = 1; k <= 9; ++k) {
        const RECT r = clientRect(GetDlgItem(table->GetWnd(), 600 + k));
        EXPECT_EQ(r.left, 297 + 25 * (k - 1));
        EXPECT_EQ(windowText(GetDlgItem(table->GetWnd(), 600 + k)), std::to_string(k));
    }
    // The fields hold the same controls.
    EXPECT_EQ(table->infoBox, GetDlgItem(table->GetWnd(), 101));
    EXPECT_EQ(table->diamondsBidButton, GetDlgItem(table->GetWnd(), 610));
    EXPECT_EQ(table->trumpButtons[3], GetDlgItem(table->GetWnd(), 209));
    EXPECT_EQ(table->bidButtons[8], GetDlgItem(table->GetWnd(), 609));
    int children = 0, visible = 0;
    for (HWND c = GetWindow(table->GetWnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ++children;
        visible += IsWindowVisible(c) ? 1 : 0;
    }
    EXPECT_EQ(children, 19);
    EXPECT_EQ(visible, 4);
}

TEST_F(TableTest, BuildEmptiesTheErrorFile) {
    {
        std::ofstream stale("error");
        stale << "12345\n";
    }
    MainWin another("LervaGUI", "Lerva 1.1", WS_SYSMENU, 700, 600, nullptr, GetModuleHandleA(nullptr), brush,
                    nullptr);
    another.create(301);
    another.build();
    EXPECT_EQ(fileContents("error"), "");
    std::remove("error");
}

TEST_F(TableTest, BuildLogsControlsThatCannotBeCreated) {
    // Without a window no control can be made: each of the first four
    // failures is one line with the system's error code.
    MainWin windowless("LervaGUI", "Lerva 1.1", WS_SYSMENU, 700, 600, nullptr, GetModuleHandleA(nullptr),
                       brush, nullptr);
    windowless.build();
    const std::string log = fileContents("error");
    int lines = 0;
    for (char c : log) lines += c == '\n';
    EXPECT_EQ(lines, 4) << log;
    EXPECT_NE(log.find_first_of("0123456789"), std::string::npos);
    EXPECT_EQ(windowless.infoBox, nullptr);
    std::remove("error");
}

TEST_F(TableTest, PrintInfoTextAppendsExactlyAndScrollsToTheEnd) {
    EXPECT_EQ(infoText(), "");
    printInfoText("\r\nÜhendus serveriga loodud");
    EXPECT_EQ(infoText(), "\r\n\xDChendus serveriga loodud");
    printInfoText("\r\nOotan");
    EXPECT_EQ(infoText(), "\r\n\xDChendus serveriga loodud\r\nOotan");
    DWORD start = 0, end = 0;
    SendMessageA(table->infoBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, static_cast<DWORD>(infoText().size()));
    EXPECT_EQ(end, start);
}

TEST_F(TableTest, ALongSessionKeepsItsNewestLines) {
    char line[64];
    for (int i = 0; i < 1200; ++i) {  // past the 30000 characters an edit box takes
        std::snprintf(line, sizeof line, "\r\nSa ei saa seda kaarti k\xE4ia %04d", i);
        printInfoText(line);
    }
    const std::string text = infoText();
    EXPECT_EQ(text.substr(text.size() - std::strlen(line)), line);  // the last line is there
    EXPECT_EQ(text.substr(0, 2), "\r\n");                         // whole lines only
    EXPECT_LT(text.size(), 25000u);
}

TEST_F(TableTest, PrintInfoTextFromSeveralThreadsKeepsEveryAppendWhole) {
    constexpr int kThreads = 3, kLines = 40;
    std::atomic<int> finished{0};
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
        writers.emplace_back([t, &finished] {
            for (int i = 0; i < kLines; ++i) {
                char line[64];
                std::snprintf(line, sizeof line, "\r\n<%d:%02d-abcdefghij>", t, i);
                printInfoText(line);
            }
            ++finished;
        });
    // The main thread owns the box and must keep taking the writers' appends.
    while (finished < kThreads) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        drainMessages();
    }
    for (auto& w : writers) w.join();
    const std::string text = infoText();
    int whole = 0;
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kLines; ++i) {
            char line[64];
            std::snprintf(line, sizeof line, "\r\n<%d:%02d-abcdefghij>", t, i);
            whole += text.find(line) != std::string::npos;
        }
    EXPECT_EQ(whole, kThreads * kLines);
    EXPECT_EQ(text.size(), static_cast<std::size_t>(kThreads * kLines) * std::string("\r\n<0:00-abcdefghij>").size());
}

TEST_F(TableTest, ResetGameEmptiesEmptyAndFullTables) {
    table->resetGame();
    EXPECT_TRUE(isTableEmpty(*table));

    table->hand = {94, 82, 72, 14, 23, 13, 61, 51, 31};
    table->cardCount = {9, 9, 8, 7};
    table->trick = {0, 11, 12, 13};
    table->bids = {5, -1, 6, 0};
    table->trump = 3;
    table->bidTurn = table->playTurn = true;
    table->playerNames = {std::string("Mari"), std::string("Jaan"), std::string("Tiit")};
    table->showTitle = true;
    table->resetGame();
    EXPECT_TRUE(isTableEmpty(*table));
    EXPECT_TRUE(table->showTitle);  // the title card is not the deal's business
}

// The real client, started as a program and used as a person would.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/client_process.h"

namespace {

constexpr COLORREF kTableColour = RGB(178, 34, 34);

std::string runDirectory() {
    const std::string dir = windowsPath(LERVA_RUN_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

std::string fileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(App, StartsWithTheTitleCardThenTheTableAndItsControls) {
    const std::string dir = runDirectory();
    const std::string errorFile = dir + "\\error";
    { std::ofstream stale(errorFile); stale << "1400\n"; }

    ClientProcess client(windowsPath(LERVA_EXE), dir);
    ASSERT_TRUE(client.started());
    // While the title card is up, the window is shown and its controls are
    // not built yet.
    HWND early = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (early = findWindowOf(client.pid(), "LervaGUI")) != nullptr; }, 20000));
    POINT corner{175 + 175, 212 + 100};
    ClientToScreen(early, &corner);
    HDC screen = GetDC(nullptr);
    const bool titleSeen = waitUntil([&] { return GetPixel(screen, corner.x, corner.y) != kTableColour; }, 1500);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(titleSeen) << "no title card in the middle of the table";

    HWND table = client.waitForTable();
    ASSERT_NE(table, nullptr);
    char title[64] = {};
    GetWindowTextA(table, title, sizeof title);
    EXPECT_STREQ(title, "Lerva 1.1");
    RECT r;
    GetWindowRect(table, &r);
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_EQ(r.left, 162);
        EXPECT_EQ(r.top, 84);
    }
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 600);
    const DWORD style = GetWindowLongA(table, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));

    int children = 0, shown = 0;
    for (HWND c = GetWindow(table, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ++children;
        shown += IsWindowVisible(c) ? 1 : 0;
    }
    EXPECT_EQ(children, 19);
    EXPECT_EQ(shown, 4);
    for (int id : {101, 201, 202, 203, 206, 207, 208, 209, 600, 601, 605, 609, 610})
        EXPECT_NE(client.control(id), nullptr) << id;
    EXPECT_EQ(client.caption(201), "\xDChenda");
    EXPECT_FALSE(IsWindowEnabled(client.control(202)));
    EXPECT_EQ(fileContents(errorFile), "");

    // The title card is gone once the table has its controls.
    EXPECT_TRUE(waitUntil([&] { return client.pixel(350, 312) == kTableColour; }, 5000));
    EXPECT_EQ(client.pixel(20, 300), kTableColour);

    ASSERT_TRUE(ClientProcess::click(client.control(203)));
    EXPECT_EQ(client.waitForExit(), 18u);
}

TEST(App, ClosingTheTableWindowEndsTheProgram) {
    ClientProcess client(windowsPath(LERVA_EXE), runDirectory());
    ASSERT_NE(client.waitForTable(), nullptr);
    PostMessageA(client.table(), WM_CLOSE, 0, 0);
    EXPECT_EQ(client.waitForExit(), 18u);
}

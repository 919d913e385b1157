// The connection dialog, the colours window and the commands that open them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ConnWin.h"
#include "Options.h"
#include "support/fake_server.h"
#include "table_fixture.h"

namespace {

RECT desktop() {
    RECT d;
    GetWindowRect(GetDesktopWindow(), &d);
    return d;
}

bool onDesktopOf1024x768() {
    const RECT d = desktop();
    return d.right - d.left == 1024 && d.bottom - d.top == 768;
}

std::string textOf(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// WM_QUIT waiting in this thread's queue, if any.
bool quitPosted() {
    // Everything else is handled, or a pending paint would come back forever.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return true;
        DispatchMessageA(&msg);
    }
    return false;
}

int visibleWindowsOfClass(const char* cls) {
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, cls, nullptr); w; w = FindWindowExA(nullptr, w, cls, nullptr))
        count += IsWindowVisible(w) ? 1 : 0;
    return count;
}

// The table with both dialog objects, as the program makes them.
class DialogTest : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        Win = &connection;
        Opts = &options;
    }
    void TearDown() override {
        Win = nullptr;
        Opts = nullptr;
        TableTest::TearDown();
    }
    LRESULT command(HWND from, int id) { return WindowProc(from, WM_COMMAND, id, 0); }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    ConnWin connection{"Connection", "\xDChenda", WS_POPUP | WS_BORDER, 300, 175, nullptr, instance,
                       CreateSolidBrush(RGB(100, 149, 237)), nullptr};
    OptWin options{"Options", "Seaded", WS_SYSMENU | WS_MINIMIZEBOX, 700, 600, nullptr, instance,
                   CreateSolidBrush(RGB(220, 220, 220)), nullptr};
};

}  // namespace

TEST_F(DialogTest, TheConnectionDialogOpensOnceWithItsDefaults) {
    EXPECT_EQ(command(table->GetWnd(), IDC_CONNECT_TABLE), 0);
    ASSERT_TRUE(connection.isOpen);
    HWND dialog = connection.GetWnd();
    EXPECT_EQ(command(table->GetWnd(), IDC_CONNECT_TABLE), 0);  // only brought to the front
    EXPECT_EQ(connection.GetWnd(), dialog);
    EXPECT_EQ(visibleWindowsOfClass("Connection"), 1);

    RECT r;
    GetWindowRect(dialog, &r);
    if (onDesktopOf1024x768()) {
        EXPECT_EQ(r.left, 362);
        EXPECT_EQ(r.top, 296);
    }
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 175);
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CAPTION), DWORD(WS_POPUP | WS_BORDER));

    struct Case { int id; const char* text; int x, y, w, h; };
    const Case cases[] = {{102, "player", 40, 35, 220, 20}, {103, "127.0.0.1", 40, 85, 220, 20},
                          {204, "\xDChenda", 40, 125, 90, 25}, {205, "Katkesta", 170, 125, 90, 25}};
    for (const auto& c : cases) {
        HWND control = GetDlgItem(dialog, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(textOf(control), c.text);
        RECT cr;
        GetWindowRect(control, &cr);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&cr), 2);
        EXPECT_EQ(cr.left, c.x) << c.id;
        EXPECT_EQ(cr.top, c.y) << c.id;
        EXPECT_EQ(cr.right - cr.left, c.w) << c.id;
        EXPECT_EQ(cr.bottom - cr.top, c.h) << c.id;
        EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
    }
    // The boxes do not scroll: what is typed is limited to what fits.
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, 102), GWL_STYLE) & ES_AUTOHSCROLL);

    const auto address = connection.GetEditText(IDC_SERVER);
    EXPECT_STREQ(address.get(), "127.0.0.1");
    SetDlgItemTextA(dialog, IDC_NAME, "");
    const auto empty = connection.GetEditText(IDC_NAME);
    ASSERT_NE(empty.get(), nullptr);
    EXPECT_STREQ(empty.get(), "");

    // Cancel closes it without touching the connection; it opens again fresh.
    SetDlgItemTextA(dialog, IDC_SERVER, "10.0.0.1");
    SendMessageA(dialog, WM_COMMAND, IDC_CANCEL, 0);
    EXPECT_FALSE(connection.isOpen);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(game);
    EXPECT_FALSE(quitPosted());
    command(table->GetWnd(), IDC_CONNECT_TABLE);
    ASSERT_TRUE(connection.isOpen);
    EXPECT_EQ(textOf(GetDlgItem(connection.GetWnd(), IDC_SERVER)), "127.0.0.1");
    // However the window goes, the dialog knows it is closed.
    DestroyWindow(connection.GetWnd());
    EXPECT_FALSE(connection.isOpen);
    EXPECT_FALSE(quitPosted());
}

TEST_F(DialogTest, ARefusedConnectionIsReportedAndClosesTheDialog) {
    command(table->GetWnd(), IDC_CONNECT_TABLE);
    ASSERT_TRUE(connection.isOpen);
    HWND dialog = connection.GetWnd();
    SetDlgItemTextA(dialog, IDC_SERVER, "localhost");  // names are not looked up
    SendMessageA(dialog, WM_COMMAND, IDC_CONNECT, 0);
    EXPECT_FALSE(connection.isOpen);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(game);
    const std::string text = infoText();
    EXPECT_NE(text.find("\r\n\xDChendan serveriga localhost"), std::string::npos) << text;
    const std::string failed = "\r\n\xDChenduse loomine eba\xF5nnestus. Error ";
    const auto error = text.find(failed);
    ASSERT_NE(error, std::string::npos) << text;
    const int code = std::atoi(text.c_str() + error + failed.size());
    EXPECT_GE(code, 300000) << text;  // the connect stage failed
    EXPECT_LT(code, 400000) << text;
}

TEST_F(DialogTest, OverlongNamesAndAddressesAreCutToFit) {
    FakeServer server(113);
    ASSERT_TRUE(server.listening()) << "port 113 is taken";
    command(table->GetWnd(), IDC_CONNECT_TABLE);
    HWND dialog = connection.GetWnd();
    const std::string longAddress = "127.0.0.1" + std::string(300, ' ');
    const std::string longName(300, 'N');
    SetDlgItemTextA(dialog, IDC_SERVER, longAddress.c_str());
    SetDlgItemTextA(dialog, IDC_NAME, longName.c_str());
    SendMessageA(dialog, WM_COMMAND, IDC_CONNECT, 0);
    // The progress line is cut to its buffer; the name to its block.
    const std::string text = infoText();
    const auto line = text.find("\r\n\xDChendan serveriga 127.0.0.1");
    ASSERT_NE(line, std::string::npos);
    EXPECT_EQ(text.find("\r\n", line + 2) - line, 127u);
    ASSERT_TRUE(server.accept(3000));
    {
        const auto name = server.receive();
        ASSERT_TRUE(name);
        EXPECT_EQ(lerva::blockText(*name), longName.substr(0, 127));
        EXPECT_TRUE(game);  // the connect button disconnects from now on
        ASSERT_TRUE(pumpUntil([&] { return textOf(table->connectButton) == "Katkesta"; }, 10000));
        WindowProc(table->GetWnd(), WM_COMMAND, IDC_CONNECT_TABLE, 0);  // disconnect
        ASSERT_TRUE(pumpUntil([&] { return !game && textOf(table->connectButton) == "\xDChenda"; }, 10000));
    }
}

TEST_F(DialogTest, TheColoursWindowShowsItsPaletteAndChangesNothing) {
    command(table->GetWnd(), IDC_SETTINGS);
    ASSERT_TRUE(options.isOpen);
    HWND window = options.GetWnd();
    command(table->GetWnd(), IDC_SETTINGS);
    EXPECT_EQ(visibleWindowsOfClass("Options"), 1);
    RECT r;
    GetWindowRect(window, &r);
    const RECT d = desktop();
    const int dh = d.bottom - d.top;
    EXPECT_EQ(r.top, (dh - 600 + 50) / 2);
    EXPECT_EQ(r.bottom, (dh + 600 - 147) / 2);
    if (onDesktopOf1024x768()) {
        EXPECT_EQ(r.left, 162);
        EXPECT_EQ(r.top, 109);
        EXPECT_EQ(r.right, 862);
        EXPECT_EQ(r.bottom, 610);
    }
    HWND list = GetDlgItem(window, IDC_COLOURS);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
    char entry[32] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "V\xE4rvid");

    // The swatches, both columns, top to bottom.
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF palette[6] = {RGB(178, 34, 34), RGB(0, 139, 0), RGB(100, 149, 237),
                                 RGB(255, 215, 0), RGB(255, 255, 255), RGB(255, 255, 255)};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(GetPixel(dc, 250, 70 + 65 * k), palette[k]) << k;
        EXPECT_EQ(GetPixel(dc, 450, 70 + 65 * k), palette[k]) << k;
    }
    ReleaseDC(window, dc);

    // Choosing the entry changes nothing; closing the window ends nothing.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_COLOURS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(GetClassLongPtrA(table->GetWnd(), GCLP_HBRBACKGROUND), reinterpret_cast<LONG_PTR>(brush));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(options.isOpen);
    EXPECT_FALSE(quitPosted());
    command(table->GetWnd(), IDC_SETTINGS);
    EXPECT_TRUE(options.isOpen);
    EXPECT_EQ(SendMessageA(GetDlgItem(options.GetWnd(), IDC_COLOURS), LB_GETCOUNT, 0, 0), 1);
}

#include <gtest/gtest.h>

#include <vector>

#include "WinClass.h"

namespace {

// Records what reaches the object, and what the window procedure saw of the
// object at each message.
class RecordingWindow : public WinClass {
public:
    RecordingWindow(int width, int height, const char* className = "LervaTestWindow")
        : WinClass(className, "test", WS_OVERLAPPEDWINDOW, width, height, nullptr,
                   GetModuleHandleA(nullptr), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr) {}
    LRESULT WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
        received.push_back(msg);
        if (msg == WM_NCCREATE) boundAtNcCreate = GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        return WinClass::WinProc(hwnd, msg, wParam, lParam);
    }
    RECT rect() const { return winRect; }
    static RECT centred(int w, int h) { return centredRect(w, h); }

    std::vector<UINT> received;
    LONG_PTR boundAtNcCreate = 0;
};

// The WM_QUIT value posted to this thread, or -1 if none.
int postedQuit() {
    // Everything else is handled, or a pending paint would come back forever.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
        DispatchMessageA(&msg);
    }
    return -1;
}

RECT desktop() {
    RECT d;
    GetWindowRect(GetDesktopWindow(), &d);
    return d;
}

}  // namespace

TEST(WinClass, BindsTheWindowFromNcCreateOn) {
    RecordingWindow window(300, 200);
    ASSERT_EQ(window.create(), 0);
    ASSERT_FALSE(window.received.empty());
    // Messages before WM_NCCREATE (such as WM_GETMINMAXINFO) went to the
    // default procedure; WM_NCCREATE is the first the object sees.
    EXPECT_EQ(window.received.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(window.boundAtNcCreate, reinterpret_cast<LONG_PTR>(&window));
    EXPECT_EQ(GetWindowLongPtrA(window.GetWnd(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
    const auto before = window.received.size();
    SendMessageA(window.GetWnd(), WM_USER + 7, 0, 0);
    ASSERT_EQ(window.received.size(), before + 1);
    EXPECT_EQ(window.received.back(), static_cast<UINT>(WM_USER + 7));
}

TEST(WinClass, SecondCreateOverTheSameObjectWorks) {
    RecordingWindow window(300, 200);
    ASSERT_EQ(window.create(), 0);
    HWND first = window.GetWnd();
    DestroyWindow(first);
    EXPECT_EQ(postedQuit(), 18);  // the default procedure ends the loop on WM_DESTROY
    ASSERT_EQ(window.create(), 0);  // the class is registered already
    EXPECT_NE(window.GetWnd(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(GetWindowLongPtrA(window.GetWnd(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
}

TEST(WinClass, CentresOnTheDesktopAndCreatesAtThatRectangle) {
    const RECT d = desktop();
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    struct Case { int w, h; };
    for (const Case c : {Case{700, 600}, Case{300, 175}, Case{dw + 1, 100}, Case{dw + 2, dh + 3}, Case{1, 1}}) {
        const RECT r = RecordingWindow::centred(c.w, c.h);
        EXPECT_EQ(r.left, (dw - c.w) / 2);
        EXPECT_EQ(r.right, (dw + c.w) / 2);
        EXPECT_EQ(r.top, (dh - c.h) / 2);
        EXPECT_EQ(r.bottom, (dh + c.h) / 2);
    }
    // A window one pixel wider than an even desktop: -1 / 2 truncates to 0,
    // and the window is one pixel narrower than asked.
    if (dw % 2 == 0) {
        const RECT wide = RecordingWindow::centred(dw + 1, 100);
        EXPECT_EQ(wide.left, 0);
        EXPECT_EQ(wide.right - wide.left, dw);
    }
    if (dw == 1024 && dh == 768) {
        const RECT table = RecordingWindow::centred(700, 600);
        EXPECT_EQ(table.left, 162);
        EXPECT_EQ(table.top, 84);
        EXPECT_EQ(table.right, 862);
        EXPECT_EQ(table.bottom, 684);
    }
    RecordingWindow window(400, 300);
    ASSERT_EQ(window.create(), 0);
    RECT actual;
    GetWindowRect(window.GetWnd(), &actual);
    const RECT wanted = window.rect();
    EXPECT_EQ(actual.left, wanted.left);
    EXPECT_EQ(actual.top, wanted.top);
    EXPECT_EQ(actual.right - actual.left, 400);
    EXPECT_EQ(actual.bottom - actual.top, 300);
    EXPECT_TRUE(GetWindowLongA(window.GetWnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST(WinClass, IconFromTheProgramOrTheSystem) {
    // Separate classes: the first registration of a class name decides its icon.
    RecordingWindow own(200, 100, "LervaOwnIcon"), plain(200, 100, "LervaSystemIcon");
    ASSERT_EQ(own.create(301), 0);
    ASSERT_EQ(plain.create(), 0);
    const HICON systemIcon = LoadIcon(nullptr, IDI_APPLICATION);
    auto classIcon = [](const WinClass& w, int which) {
        return reinterpret_cast<HICON>(GetClassLongPtrA(w.GetWnd(), which));
    };
    EXPECT_NE(classIcon(own, GCLP_HICON), nullptr);
    EXPECT_NE(classIcon(own, GCLP_HICON), systemIcon);
    EXPECT_NE(classIcon(own, GCLP_HICONSM), nullptr);
    EXPECT_EQ(classIcon(plain, GCLP_HICON), systemIcon);
}

TEST(WinClass, CreateReportsAWindowThatCannotBeMade) {
    // A child window without a parent cannot be created.
    WinClass orphan("LervaTestOrphan", "orphan", WS_CHILD, 100, 100, nullptr, GetModuleHandleA(nullptr),
                    static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr);
    EXPECT_EQ(orphan.create(), 1);
    EXPECT_EQ(orphan.GetWnd(), nullptr);
}

TEST(WinClass, DestructorDestroysTheWindowAndShowIsOne) {
    HWND hwnd;
    {
        RecordingWindow window(200, 100);
        ASSERT_EQ(window.create(), 0);
        hwnd = window.GetWnd();
        EXPECT_EQ(window.show(), 1);
        EXPECT_TRUE(IsWindowVisible(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
    postedQuit();
    RecordingWindow never(200, 100);  // destroying an object without a window is harmless
}

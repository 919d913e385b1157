#include "WinClass.h"

WinClass::WinClass() : hWnd(nullptr) {}

WinClass::WinClass(const char* className, const char* title, DWORD style, int width,
                   int height, HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent)
    : hWnd(nullptr) {
    setParameters(className, title, style, menu, instance, brush, parent);
    winRect = centredRect(width, height);
}

WinClass::~WinClass() {
    if (hWnd) {
        DestroyWindow(hWnd);
        hWnd = nullptr;
    }
}

void WinClass::setParameters(const char* className_, const char* title_, DWORD style_,
                             HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent) {
    className = className_;
    title = title_;
    style = style_;
    hMenu = menu;
    hInstance = instance;
    hBrush = brush;
    hParent = parent;
}

RECT WinClass::centredRect(int width, int height) {
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int dw = desktop.right - desktop.left;
    const int dh = desktop.bottom - desktop.top;
    return RECT{(dw - width) / 2, (dh - height) / 2, (dw + width) / 2, (dh + height) / 2};
}

int WinClass::create() {
    return registerAndCreate(LoadIcon(nullptr, IDI_APPLICATION), LoadIcon(nullptr, IDI_APPLICATION));
}

int WinClass::create(int iconId) {
    const LPCSTR id = MAKEINTRESOURCEA(LOWORD(iconId));
    return registerAndCreate(LoadIconA(hInstance, id), LoadIconA(hInstance, id));
}

int WinClass::registerAndCreate(HICON icon, HICON smallIcon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = stWinProc;
    wc.hInstance = hInstance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = hBrush;
    wc.lpszClassName = className;
    wc.hIconSm = smallIcon;
    // A second create over the same object finds the class registered
    // already, with the same procedure and brush; creation goes on with it.
    RegisterClassExA(&wc);
    hWnd = CreateWindowExA(WS_EX_CLIENTEDGE, className, title, style, winRect.left, winRect.top,
                           winRect.right - winRect.left, winRect.bottom - winRect.top, hParent,
                           hMenu, hInstance, this);
    return hWnd ? 0 : 1;
}

int WinClass::show() {
    ShowWindow(hWnd, SW_SHOW);
    UpdateWindow(hWnd);
    return 1;
}

LRESULT CALLBACK WinClass::stWinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WinClass*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->WinProc(hwnd, msg, wParam, lParam);
}

LRESULT WinClass::WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(18);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

#include "Options.h"

namespace {

constexpr COLORREF kPalette[6] = {
    RGB(178, 34, 34), RGB(0, 139, 0),     RGB(100, 149, 237),
    RGB(255, 215, 0), RGB(255, 255, 255), RGB(255, 255, 255),
};

}  // namespace

OptWin::OptWin(const char* className, const char* title, DWORD style, int width, int height,
               HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent) {
    setParameters(className, title, style, menu, instance, brush, parent);
    // Centred across; a little lower and shorter than asked down.
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int dw = desktop.right - desktop.left;
    const int dh = desktop.bottom - desktop.top;
    winRect = RECT{(dw - width) / 2, (dh - height + 50) / 2, (dw + width) / 2, (dh + height - 147) / 2};
}

OptWin::~OptWin() {
    if (hWnd) {
        DestroyWindow(hWnd);
        hWnd = nullptr;
    }
    for (HBRUSH brush : swatchBrushes)
        if (brush) DeleteObject(brush);
}

void OptWin::build() {
    hColourList = CreateWindowExA(0, "LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | LBS_STANDARD, 0, 0, 125,
                                  578, hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_COLOURS)),
                                  hInstance, nullptr);
    SendDlgItemMessageA(hWnd, IDC_COLOURS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Värvid"));
}

void OptWin::paint(HWND hwnd) {
    for (int k = 0; k < 6; ++k)
        if (!swatchBrushes[k]) swatchBrushes[k] = CreateSolidBrush(kPalette[k]);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 200, 25, "Peavärv:", 8);
    TextOutA(dc, 400, 25, "Lisavärv:", 9);
    HGDIOBJ original = SelectObject(dc, swatchBrushes[0]);
    for (int k = 0; k < 6; ++k) {
        SelectObject(dc, swatchBrushes[k]);
        Rectangle(dc, 200, 50 + 65 * k, 300, 90 + 65 * k);
        Rectangle(dc, 400, 50 + 65 * k, 500, 90 + 65 * k);
    }
    SelectObject(dc, original);
    EndPaint(hwnd, &ps);
}

LRESULT OptWin::WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case WM_DESTROY:
        isOpen = false;
        return 0;
    case WM_COMMAND:
        // A selection in the list is noticed and changes nothing.
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

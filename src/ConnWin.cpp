#include "ConnWin.h"

#include "Lerva.h"

ConnWin::ConnWin(const char* className, const char* title, DWORD style, int width, int height,
                 HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent) {
    setParameters(className, title, style, menu, instance, brush, parent);
    winRect = centredRect(width, height);
}

ConnWin::~ConnWin() {
    if (hWnd) {
        DestroyWindow(hWnd);
        hWnd = nullptr;
    }
}

void ConnWin::build() {
    auto control = [&](const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h, hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInstance, nullptr);
    };
    // Creation order is the TAB order.
    hNameEdit = control("EDIT", "player", WS_BORDER, 40, 35, 220, 20, IDC_NAME);
    hServerEdit = control("EDIT", "127.0.0.1", WS_BORDER, 40, 85, 220, 20, IDC_SERVER);
    hConnectButton = control("BUTTON", "Ühenda", BS_PUSHBUTTON, 40, 125, 90, 25, IDC_CONNECT);
    hCancelButton = control("BUTTON", "Katkesta", BS_PUSHBUTTON, 170, 125, 90, 25, IDC_CANCEL);
}

LRESULT ConnWin::WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 40, 15, "Kasutajanimi:", 13);
        TextOutA(dc, 40, 65, "Serveri IP:", 11);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CONNECT) {
            WindowProc(hwnd, msg, wParam, lParam);
        } else if (LOWORD(wParam) == IDC_CANCEL) {
            isOpen = false;
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_DESTROY:
        // However the window goes, the next connect command opens a new one.
        isOpen = false;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

std::unique_ptr<char[]> ConnWin::GetEditText(int id) const {
    HWND box = GetDlgItem(hWnd, id);
    const int length = box ? GetWindowTextLengthA(box) : 0;
    auto text = std::make_unique<char[]>(length + 1);
    if (length > 0) GetDlgItemTextA(hWnd, id, text.get(), length + 1);
    return text;
}

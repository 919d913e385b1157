// The small popup in which the player types a user name and the server's
// address before connecting.
#pragma once

#include <windows.h>

#include <memory>

#include "WinClass.h"

enum ConnControlId : int { IDC_NAME = 102, IDC_SERVER = 103, IDC_CONNECT = 204, IDC_CANCEL = 205 };

class ConnWin : public WinClass {
public:
    ConnWin(const char* className, const char* title, DWORD style, int width, int height,
            HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent);
    ~ConnWin() override;

    LRESULT WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void build();

    // The text of the child control `id`, NUL-terminated, exactly as typed;
    // an empty box gives an empty text.
    std::unique_ptr<char[]> GetEditText(int id) const;

    bool isOpen = false;
    HWND hConnectButton = nullptr;
    HWND hCancelButton = nullptr;
    HWND hServerEdit = nullptr;
    HWND hNameEdit = nullptr;
};

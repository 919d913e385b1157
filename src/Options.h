// The settings window: the client's colour palette, shown for reference.
#pragma once

#include <windows.h>

#include <array>

#include "WinClass.h"

enum OptControlId : int { IDC_COLOURS = 401 };

class OptWin : public WinClass {
public:
    OptWin(const char* className, const char* title, DWORD style, int width, int height,
           HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent);
    ~OptWin() override;

    LRESULT WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void build();

    bool isOpen = false;
    HWND hColourList = nullptr;

private:
    void paint(HWND hwnd);
    // One brush per palette row, made at the first paint and kept.
    std::array<HBRUSH, 6> swatchBrushes{};
};

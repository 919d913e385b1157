// Base of every top-level window: holds the window's parameters, registers
// its class, creates it and routes each message to the object's WinProc.
#pragma once

#include <windows.h>

class WinClass {
public:
    // Leaves every field but hWnd to the subclass constructor.
    WinClass();
    // Centres a window of the given size on the desktop.
    WinClass(const char* className, const char* title, DWORD style, int width, int height,
             HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent);
    virtual ~WinClass();

    virtual LRESULT WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Registers the class with the system's application icon and creates the
    // window; 0 when the window exists, 1 when it could not be created.
    int create();
    // The same with the class icons taken from the resource `iconId`.
    int create(int iconId);
    // Shows and activates the window and paints it at once; always 1.
    int show();
    HWND GetWnd() const { return hWnd; }

    static LRESULT CALLBACK stWinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    WinClass(const WinClass&) = delete;
    WinClass& operator=(const WinClass&) = delete;

protected:
    HWND hWnd;
    HWND hParent;
    HBRUSH hBrush;
    HINSTANCE hInstance;
    HMENU hMenu;
    DWORD style;
    RECT winRect;
    const char* className;
    const char* title;

    // The rectangle of a window of this size centred on the desktop. Only the
    // desktop's size counts; the divisions truncate toward zero.
    static RECT centredRect(int width, int height);
    // Stores the window parameters that every subclass constructor takes.
    void setParameters(const char* className, const char* title, DWORD style, HMENU menu,
                       HINSTANCE instance, HBRUSH brush, HWND parent);

private:
    int registerAndCreate(HICON icon, HICON smallIcon);
};

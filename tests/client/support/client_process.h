// The real client, started as its own process and used as a person would:
// buttons are clicked, the dialog is typed into, the hand is clicked at
// coordinates, the info box and the result boxes are read.
#pragma once

#include <windows.h>

#include <string>

#include "box_closer.h"

class ClientProcess {
public:
    // Starts `exe` with `workDir`, made if missing, as its current directory.
    ClientProcess(const std::string& exe, const std::string& workDir);
    // The client someone else started: the first table window titled
    // `title` that appears within `timeoutMs`. Not started() if none does.
    struct Attach {
        std::string title;
        DWORD timeoutMs;
    };
    explicit ClientProcess(const Attach& attach);
    ~ClientProcess();
    ClientProcess(const ClientProcess&) = delete;
    ClientProcess& operator=(const ClientProcess&) = delete;

    bool started() const { return process.hProcess != nullptr; }
    DWORD pid() const { return process.dwProcessId; }
    // The table window once it carries its controls; null if it never does.
    HWND waitForTable(DWORD timeoutMs = 20000);
    HWND table() const { return tableWindow; }
    // The connection dialog, once open; null if it does not open in time.
    HWND waitForDialog(DWORD timeoutMs = 10000);
    // The process's exit code once it has ended, or STILL_ACTIVE.
    DWORD waitForExit(DWORD timeoutMs = 10000);

    HWND control(int id) const { return GetDlgItem(tableWindow, id); }
    std::string infoText() const;
    // Waits until the info box holds `text`.
    bool waitForInfo(const std::string& text, DWORD timeoutMs = 15000) const;
    std::string caption(int id) const;
    // The text of any window, this process's or another's.
    static std::string text(HWND hwnd);

    // A click on a visible, enabled button; false if a person could not click it.
    static bool click(HWND button);
    // A click at client coordinates of the table.
    void clickTable(int x, int y) const;
    // Types into an edit box, replacing its text.
    static void type(HWND edit, const std::string& text);

    // The next result box: its text, after it is dismissed; empty on time-out.
    std::string dismissBox(DWORD timeoutMs = 20000) const;
    // The colour of the table window's client pixel (x, y) on the screen.
    COLORREF pixel(int x, int y) const;

private:
    PROCESS_INFORMATION process{};
    HWND tableWindow = nullptr;
};

// Waits up to `timeoutMs` for `done` to be true.
template <class Condition>
bool waitUntil(Condition done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

// A Linux path as the Windows programs under Wine see it (drive Z:).
std::string windowsPath(const std::string& unixPath);

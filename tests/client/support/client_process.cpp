#include "client_process.h"

std::string ClientProcess::text(HWND hwnd) {
    // WM_GETTEXT, not GetWindowText: only the message reaches the text of
    // another process's controls.
    char buffer[8192] = {};
    DWORD_PTR ignored;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        5000, &ignored);
    return buffer;
}

std::string windowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

ClientProcess::ClientProcess(const std::string& exe, const std::string& workDir) {
    CreateDirectoryA(workDir.c_str(), nullptr);  // a fresh build has none yet
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(),
                        &startup, &process))
        process = PROCESS_INFORMATION{};
}

ClientProcess::ClientProcess(const Attach& attach) {
    HWND window = nullptr;
    waitUntil([&] { return (window = FindWindowA("LervaGUI", attach.title.c_str())) != nullptr; }, attach.timeoutMs);
    if (!window) return;
    GetWindowThreadProcessId(window, &process.dwProcessId);
    process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE,
                                   process.dwProcessId);
}

ClientProcess::~ClientProcess() {
    if (!process.hProcess) return;
    // A client this test started does not outlive it; one it attached to
    // belongs to whoever started it.
    if (process.hThread && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
}

// The table builds its controls in a row; the bid 9 button comes last.
constexpr int kLastControlBuilt = 609;

HWND ClientProcess::waitForTable(DWORD timeoutMs) {
    waitUntil([&] {
        tableWindow = findWindowOf(pid(), "LervaGUI");
        return tableWindow && GetDlgItem(tableWindow, kLastControlBuilt);
    }, timeoutMs);
    return tableWindow && GetDlgItem(tableWindow, kLastControlBuilt) ? tableWindow : nullptr;
}

HWND ClientProcess::waitForDialog(DWORD timeoutMs) {
    HWND dialog = nullptr;
    waitUntil([&] {
        dialog = findWindowOf(pid(), "Connection");
        return dialog && GetDlgItem(dialog, 205);
    }, timeoutMs);
    return dialog;
}

DWORD ClientProcess::waitForExit(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    return code;
}

std::string ClientProcess::infoText() const { return text(control(101)); }

bool ClientProcess::waitForInfo(const std::string& text, DWORD timeoutMs) const {
    return waitUntil([&] { return infoText().find(text) != std::string::npos; }, timeoutMs);
}

std::string ClientProcess::caption(int id) const { return text(control(id)); }

bool ClientProcess::click(HWND button) {
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

void ClientProcess::clickTable(int x, int y) const {
    PostMessageA(tableWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(tableWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ClientProcess::type(HWND edit, const std::string& text) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
}

std::string ClientProcess::dismissBox(DWORD timeoutMs) const {
    HWND box = nullptr;
    if (!waitUntil([&] { return (box = findMessageBox(pid())) != nullptr; }, timeoutMs)) return {};
    const std::string text = messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    // Closing a box can take a moment in a screen without a window manager.
    waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
    return text;
}

COLORREF ClientProcess::pixel(int x, int y) const {
    POINT at{x, y};
    ClientToScreen(tableWindow, &at);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

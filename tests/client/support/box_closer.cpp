#include "box_closer.h"

namespace {

struct Search { DWORD pid; const char* cls; HWND found; };

BOOL CALLBACK findTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && lstrcmpA(cls, search->cls) == 0 && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND findWindowOf(DWORD pid, const char* cls) {
    Search search{pid, cls, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findMessageBox(DWORD pid) { return findWindowOf(pid, "#32770"); }

std::string messageBoxText(HWND box) {
    char text[512] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

BoxCloser::BoxCloser(std::function<void(const std::string&, const std::string&)> before)
    : beforeDismiss(std::move(before)), watcher([this] { run(); }) {}

BoxCloser::~BoxCloser() {
    stopping = true;
    watcher.join();
}

void BoxCloser::run() {
    HWND last = nullptr;
    while (!stopping) {
        HWND box = findMessageBox(GetCurrentProcessId());
        if (box && box != last) {
            char caption[128] = {};
            GetWindowTextA(box, caption, sizeof caption);
            const std::string text = messageBoxText(box);
            if (beforeDismiss) beforeDismiss(caption, text);
            {
                std::lock_guard<std::mutex> lock(mutex);
                seenTexts.push_back(text);
                seenCaptions.push_back(caption);
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            last = box;
        }
        Sleep(20);
    }
}

std::vector<std::string> BoxCloser::texts() const {
    std::lock_guard<std::mutex> lock(mutex);
    return seenTexts;
}

std::vector<std::string> BoxCloser::captions() const {
    std::lock_guard<std::mutex> lock(mutex);
    return seenCaptions;
}

std::size_t BoxCloser::count() const {
    std::lock_guard<std::mutex> lock(mutex);
    return seenTexts.size();
}

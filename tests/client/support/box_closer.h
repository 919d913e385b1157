// Reads and dismisses the message boxes of this process from a thread of
// its own, as a person would, while the thread that showed them waits.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class BoxCloser {
public:
    // `beforeDismiss` runs with each box's caption and text before the box
    // is closed.
    explicit BoxCloser(std::function<void(const std::string&, const std::string&)> beforeDismiss = {});
    ~BoxCloser();
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    std::vector<std::string> texts() const;
    std::vector<std::string> captions() const;
    std::size_t count() const;

private:
    void run();
    std::function<void(const std::string&, const std::string&)> beforeDismiss;
    mutable std::mutex mutex;
    std::vector<std::string> seenTexts, seenCaptions;
    std::atomic<bool> stopping{false};
    std::thread watcher;
};

// The visible top-level window of class `cls` of process `pid`, or null.
HWND findWindowOf(DWORD pid, const char* cls);
// The visible message box ("#32770") of process `pid`, or null.
HWND findMessageBox(DWORD pid);
// Its text.
std::string messageBoxText(HWND box);

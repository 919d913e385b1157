#include "log.h"

#include "ansi_text.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace lerva {

namespace {
std::atomic<int> currentLevel{static_cast<int>(LogLevel::Info)};
std::mutex writeMutex;
constexpr const char* kLevelNames[] = {"error", "warn", "info", "debug"};
}  // namespace

std::optional<LogLevel> parseLogLevel(std::string_view name) {
    for (int i = 0; i < 4; ++i)
        if (name == kLevelNames[i]) return static_cast<LogLevel>(i);
    return std::nullopt;
}

void setLogLevel(LogLevel level) { currentLevel = static_cast<int>(level); }

bool logEnabled(LogLevel level) { return static_cast<int>(level) <= currentLevel; }

std::tm localTime(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return local;
}

void writeLogLine(LogLevel level, const std::string& text) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::tm local = localTime(seconds);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    // Log lines quote player names, which are in the client's code page.
    const std::string readable = ansiToUtf8(text);
    std::lock_guard lock(writeMutex);
    std::fprintf(stderr, "%s.%03d %-5s %s\n", stamp, static_cast<int>(millis),
                 kLevelNames[static_cast<int>(level)], readable.c_str());
}

}  // namespace lerva

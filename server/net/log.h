// Log lines with a level, to stderr, whole lines from any thread.
#pragma once

#include <ctime>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

namespace lerva {

enum class LogLevel { Error = 0, Warn, Info, Debug };

std::optional<LogLevel> parseLogLevel(std::string_view name);
void setLogLevel(LogLevel level);
bool logEnabled(LogLevel level);
void writeLogLine(LogLevel level, const std::string& text);
// The local time of `when`, safely from any thread.
std::tm localTime(std::time_t when);

template <typename... Parts>
void logAt(LogLevel level, const Parts&... parts) {
    if (!logEnabled(level)) return;
    std::ostringstream text;
    (text << ... << parts);
    writeLogLine(level, text.str());
}

template <typename... Parts> void logError(const Parts&... p) { logAt(LogLevel::Error, p...); }
template <typename... Parts> void logWarn(const Parts&... p) { logAt(LogLevel::Warn, p...); }
template <typename... Parts> void logInfo(const Parts&... p) { logAt(LogLevel::Info, p...); }
template <typename... Parts> void logDebug(const Parts&... p) { logAt(LogLevel::Debug, p...); }

}  // namespace lerva

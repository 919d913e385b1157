// The command line of lerva-server.
#pragma once

#include <optional>
#include <string>

#include "config.h"
#include "log.h"

namespace lerva {

struct Options {
    ServerConfig server;
    LogLevel logLevel = LogLevel::Info;
    bool help = false;
    bool version = false;
    // Headless: bots only, no network.
    std::optional<long> simulate;          // number of deals
    std::optional<BotLevel> versus;        // the other team's bots (default: the same)
    bool duplicate = false;
    int simThreads = 1;
    // Headless: the exact analysis of a game record.
    std::optional<std::string> analyze;    // the record's path
};

// Parses argv; on a mistake returns nothing and sets `error` to a sentence
// that names the option.
std::optional<Options> parseOptions(int argc, const char* const* argv, std::string& error);

std::string usageText();

}  // namespace lerva

#include "options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <string_view>

namespace lerva {

namespace {

template <typename Number>
bool parseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseSeconds(std::string_view text, Millis& value) {
    double seconds = 0;
    if (!parseNumber(text, seconds) || !std::isfinite(seconds) || seconds < 0 || seconds > 1e7)
        return false;
    value = Millis(static_cast<long long>(std::llround(seconds * 1000)));
    return true;
}

}  // namespace

std::string usageText() {
    return R"(Usage: lerva-server [OPTIONS]

The Lerva game server: seats players four to a table, deals, runs the
auction, judges the tricks, scores, and fills empty seats with computer
players.

Network:
  --bind ADDR            address to listen on (default 0.0.0.0)
  --port N               TCP port (default 113; below 1024 needs root or
                         cap_net_bind_service)
  --max-connections N    connections at once (default: as many as the
                         open-file limit allows, which the server raises
                         to the system's hard limit at start)
  --name-timeout S       seconds a new connection has to send its name and
                         "join" (default 30)

Web table (off unless --web-port is given):
  --web-port N           serve the table's page at http://ADDR:N/ and its
                         players' WebSocket at /play; browser players sit at
                         the same tables as everyone else (0 picks a free port)
  --web-origin ORIGIN    also let pages of ORIGIN (e.g. https://cards.example)
                         open the WebSocket; the page's own origin always may
                         (repeatable)

Tables:
  --bots N               computer players seated at each new table at once
                         (0-3, default 0)
  --fill-after S         fill free seats with computer players after S seconds
  --bot-level L          computer players: strong (default), heuristic or
                         random
  --bot-delay MS         a computer player's move shows no sooner than this
                         (default 700 ms), nor before the clients' own pauses
                         after a trick and after the trump are over; 0 plays
                         at full speed
  --trick-pause MS       how long clients hold a full trick on the table
                         (default 3000); the web page and the computer
                         players keep to it
  --trump-pause MS       how long clients wait after the trump is named
                         (default 1500)
  --turn-timeout S       a computer player moves for a person after S seconds
                         (default: never)
  --rejoin-wait S        a table whose players all left waits S seconds for
                         one to come back (default 60)
  --seed N               deal the same cards on every run (for tests)

Records:
  --log-dir DIR          write one JSON-lines record per game into DIR; with
                         --web-port, the games are reviewed at /review
  --log-level L          error, warn, info (default) or debug, to stderr

Simulation (no network):
  --simulate N           play N deals with computer players only and print
                         the results and deals per second
  --versus L             the second team's bot level (default: --bot-level)
  --duplicate            play every deal twice, with the teams' seats swapped
  --threads N            play (or analyse) the deals on N threads (default 1);
                         the results do not depend on it

Analysis (no network):
  --analyze FILE         print the exact analysis of every card of a game
                         record, one JSON line per deal; a record that is cut
                         or not a valid game is refused (exit status 1)

  --help                 this text
  --version              the version
)";
}

std::optional<Options> parseOptions(int argc, const char* const* argv, std::string& error) {
    Options options;
    ServerConfig& server = options.server;
    using Handler = std::function<bool(std::string_view)>;
    const std::map<std::string_view, Handler> withValue = {
        {"--bind", [&](std::string_view v) { server.bindAddress = v; return !v.empty(); }},
        {"--port", [&](std::string_view v) { return parseNumber(v, server.port); }},
        {"--max-connections",
         [&](std::string_view v) { return parseNumber(v, server.maxConnections) && server.maxConnections > 0; }},
        {"--name-timeout", [&](std::string_view v) { return parseSeconds(v, server.nameTimeout); }},
        {"--bots",
         [&](std::string_view v) { return parseNumber(v, server.botsPerTable) && server.botsPerTable >= 0 && server.botsPerTable <= 3; }},
        {"--fill-after",
         [&](std::string_view v) { Millis m; return parseSeconds(v, m) && (server.fillAfter = m, true); }},
        {"--bot-level",
         [&](std::string_view v) { auto l = parseBotLevel(v); return l && (server.botLevel = *l, true); }},
        {"--bot-delay",
         [&](std::string_view v) { long ms; return parseNumber(v, ms) && ms >= 0 && (server.botDelay = Millis(ms), true); }},
        {"--web-port",
         [&](std::string_view v) { unsigned short p; return parseNumber(v, p) && (server.webPort = p, true); }},
        {"--web-origin",
         [&](std::string_view v) {
             if (v.find("://") == v.npos || v.back() == '/') return false;
             server.webOrigins.emplace_back(v);
             return true;
         }},
        {"--trick-pause",
         [&](std::string_view v) { long ms; return parseNumber(v, ms) && ms >= 0 && (server.trickPause = Millis(ms), true); }},
        {"--trump-pause",
         [&](std::string_view v) { long ms; return parseNumber(v, ms) && ms >= 0 && (server.trumpPause = Millis(ms), true); }},
        {"--turn-timeout",
         [&](std::string_view v) {
             Millis m;
             if (!parseSeconds(v, m)) return false;
             server.turnTimeout = m.count() > 0 ? std::optional(m) : std::nullopt;
             return true;
         }},
        {"--rejoin-wait", [&](std::string_view v) { return parseSeconds(v, server.abandonAfter); }},
        {"--seed",
         [&](std::string_view v) { std::uint64_t s; return parseNumber(v, s) && (server.seed = s, true); }},
        {"--log-dir", [&](std::string_view v) { server.logDir = v; return !v.empty(); }},
        {"--log-level",
         [&](std::string_view v) { auto l = parseLogLevel(v); return l && (options.logLevel = *l, true); }},
        {"--simulate",
         [&](std::string_view v) { long n; return parseNumber(v, n) && n > 0 && (options.simulate = n, true); }},
        {"--threads",
         [&](std::string_view v) { return parseNumber(v, options.simThreads) && options.simThreads >= 1 && options.simThreads <= 64; }},
        {"--analyze", [&](std::string_view v) { options.analyze = std::string(v); return !v.empty(); }},
        {"--versus",
         [&](std::string_view v) { auto l = parseBotLevel(v); return l && (options.versus = *l, true); }},
    };

    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") { options.help = true; continue; }
        if (arg == "--version") { options.version = true; continue; }
        if (arg == "--duplicate") { options.duplicate = true; continue; }
        std::string_view value;
        bool inlineValue = false;
        if (const auto eq = arg.find('='); eq != arg.npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            inlineValue = true;
        }
        const auto handler = withValue.find(arg);
        if (handler == withValue.end()) {
            error = "unknown option '" + std::string(arg) + "' (see --help)";
            return std::nullopt;
        }
        if (!inlineValue) {
            if (i + 1 >= argc) {
                error = "option " + std::string(arg) + " needs a value";
                return std::nullopt;
            }
            value = argv[++i];
        }
        if (!handler->second(value)) {
            error = "bad value '" + std::string(value) + "' for " + std::string(arg) + " (see --help)";
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace lerva

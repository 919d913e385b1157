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

template <typename Number>
bool parseWithin(std::string_view text, Number& value, Number low, Number high) {
    Number parsed{};
    if (!parseNumber(text, parsed) || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

// Seconds, fractions allowed, between `low` and `high`.
bool parseSeconds(std::string_view text, Millis& value, double low, double high) {
    double seconds = 0;
    if (!parseNumber(text, seconds) || !std::isfinite(seconds) || seconds < low || seconds > high)
        return false;
    value = Millis(static_cast<long long>(std::llround(seconds * 1000)));
    return true;
}

constexpr double kDay = 86'400;

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
  --max-per-address N    connections from one address, counting tables
                         that wait for a player of it who left (default 24;
                         0 = no cap)
  --silent-after S       when the server is full, a newcomer takes the slot
                         of a joined connection silent this long (default 120)
  --name-timeout S       seconds a new connection has to send its name and
                         "join" (1-3600, default 30)
  --write-deadline S     a closing connection's last blocks must be read
                         within S seconds (default 10)

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
                         random; with --simulate also oracle, which sees
                         every hand (a yardstick, never seated at a table)
  --bot-delay MS         a computer player's move shows no sooner than this
                         (0-60000, default 700 ms), nor before the clients'
                         own pauses after a trick and after the trump are
                         over; 0 plays at full speed
  --trick-pause MS       how long clients hold a full trick on the table
                         (0-60000, default 3000); the web page and the
                         computer players keep to it
  --trump-pause MS       how long clients wait after the trump is named
                         (0-60000, default 1500)
  --turn-timeout S       a computer player moves for a person after S seconds
                         (1-3600, default 60; 0 = never)
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
  --duplicate            play every deal twice, with the teams' seats swapped;
                         unless a team is the oracle, also the same deals
                         with the oracle in the first team's place: how
                         much of the oracle's edge over the second team
                         the first team reaches
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
    auto seconds = [](Millis& into, double low, double high) {
        return [&into, low, high](std::string_view v) { return parseSeconds(v, into, low, high); };
    };
    // Each option with what it accepts, for the message when a value is wrong.
    const std::map<std::string_view, std::pair<Handler, const char*>> withValue = {
        {"--bind", {[&](std::string_view v) { server.bindAddress = v; return !v.empty(); }, "an IP address"}},
        {"--port", {[&](std::string_view v) { return parseNumber(v, server.port); }, "0-65535"}},
        {"--max-connections",
         {[&](std::string_view v) { return parseWithin(v, server.maxConnections, 1, 1'000'000); }, "1-1000000"}},
        {"--max-per-address",
         {[&](std::string_view v) { return parseWithin(v, server.maxPerAddress, 0, 1'000'000); },
          "0-1000000, 0 = no cap"}},
        {"--silent-after", {seconds(server.silentAfter, 1, kDay), "1-86400 seconds"}},
        {"--name-timeout", {seconds(server.nameTimeout, 1, 3600), "1-3600 seconds"}},
        {"--write-deadline", {seconds(server.finalWriteDeadline, 1, 3600), "1-3600 seconds"}},
        {"--bots",
         {[&](std::string_view v) { return parseWithin(v, server.botsPerTable, 0, 3); }, "0-3"}},
        {"--fill-after",
         {[&](std::string_view v) { Millis m; return parseSeconds(v, m, 0, kDay) && (server.fillAfter = m, true); },
          "0-86400 seconds"}},
        {"--bot-level",
         {[&](std::string_view v) { auto l = parseBotLevel(v); return l && (server.botLevel = *l, true); },
          "strong, heuristic or random"}},
        {"--bot-delay",
         {[&](std::string_view v) { long ms = 0; return parseWithin(v, ms, 0L, 60'000L) && (server.botDelay = Millis(ms), true); },
          "0-60000 ms"}},
        {"--web-port", {[&](std::string_view v) { unsigned short p; return parseNumber(v, p) && (server.webPort = p, true); },
                        "0-65535"}},
        {"--web-origin",
         {[&](std::string_view v) {
              if (v.find("://") == v.npos || v.back() == '/') return false;
              server.webOrigins.emplace_back(v);
              return true;
          },
          "an origin such as https://example.org"}},
        {"--trick-pause",
         {[&](std::string_view v) { long ms = 0; return parseWithin(v, ms, 0L, 60'000L) && (server.trickPause = Millis(ms), true); },
          "0-60000 ms"}},
        {"--trump-pause",
         {[&](std::string_view v) { long ms = 0; return parseWithin(v, ms, 0L, 60'000L) && (server.trumpPause = Millis(ms), true); },
          "0-60000 ms"}},
        {"--turn-timeout",
         {[&](std::string_view v) {
              Millis m;
              if (!parseSeconds(v, m, 0, 3600) || (m.count() > 0 && m < Millis(1000))) return false;
              server.turnTimeout = m.count() > 0 ? std::optional(m) : std::nullopt;
              return true;
          },
          "1-3600 seconds, 0 = never"}},
        {"--rejoin-wait", {seconds(server.abandonAfter, 0, kDay), "0-86400 seconds"}},
        {"--seed",
         {[&](std::string_view v) { std::uint64_t s; return parseNumber(v, s) && (server.seed = s, true); }, "a number"}},
        {"--log-dir", {[&](std::string_view v) { server.logDir = v; return !v.empty(); }, "a folder"}},
        {"--log-level",
         {[&](std::string_view v) { auto l = parseLogLevel(v); return l && (options.logLevel = *l, true); },
          "error, warn, info or debug"}},
        {"--simulate",
         {[&](std::string_view v) { long n; return parseNumber(v, n) && n > 0 && (options.simulate = n, true); },
          "a number of deals"}},
        {"--threads", {[&](std::string_view v) { return parseWithin(v, options.simThreads, 1, 64); }, "1-64"}},
        {"--analyze", {[&](std::string_view v) { options.analyze = std::string(v); return !v.empty(); }, "a game record (.jsonl)"}},
        {"--versus",
         {[&](std::string_view v) { auto l = parseBotLevel(v); return l && (options.versus = *l, true); },
          "strong, heuristic or random"}},
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
        if (!handler->second.first(value)) {
            error = "bad value '" + std::string(value) + "' for " + std::string(arg) + " (" +
                    handler->second.second + "; see --help)";
            return std::nullopt;
        }
    }
    if (!options.simulate && !seatsAtTables(server.botLevel)) {
        error = "--bot-level " + std::string(botLevelName(server.botLevel)) +
                " sees every player's hand: it is for --simulate only, never at a table";
        return std::nullopt;
    }
    return options;
}

}  // namespace lerva

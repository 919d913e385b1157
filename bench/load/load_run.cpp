#include "load_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>

namespace lerva::load {

const char* const kUsage =
    "usage: lerva-load (--port P | --web-port P) (--tables N | --idle N) [--seconds S] [--server-pid PID]\n"
    "                  [--think-ms MIN-MAX] [--seed N]\n"
    "  --web-port P: play over WebSocket to the server's --web-port (path /play)\n";

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--port" || key == "--web-port") {
            options.port = static_cast<unsigned short>(std::atoi(value));
            options.webSocket = key == "--web-port";
        } else if (key == "--tables") options.tables = std::atoi(value);
        else if (key == "--idle") options.idle = std::atoi(value);
        else if (key == "--seconds") options.seconds = std::atof(value);
        else if (key == "--server-pid") options.serverPid = std::atoi(value);
        else if (key == "--seed") options.seed = std::strtoull(value, nullptr, 10);
        else if (key == "--think-ms") {
            const auto think = parseThinkTime(value);
            if (!think) return false;
            options.think = *think;
        } else return false;
    }
    return argc % 2 == 1 && options.port != 0 && (options.tables > 0) != (options.idle > 0) && options.seconds > 0;
}

void Stats::problem(const std::string& what) {
    if (protocolErrors++ == 0) firstProblem = what;
}

void Stats::noteProblems(const LoadPlayer& player, int before) {
    if (player.problems() == before) return;
    protocolErrors += player.problems() - before;
    if (firstProblem.empty()) firstProblem = player.firstProblem();
}

void Stats::noteClosedByServer(const LoadPlayer& player) {
    if (player.inGame()) ++closedMidGame;
    else if (!player.gameOver()) ++closedBeforeGame;
}

bool MeasureWindow::begin(Clock::time_point now, bool allOpen) {
    if (measuring_ || !allOpen) return false;
    measuring_ = true;
    from_ = now;
    until_ = now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds_));
    return true;
}

double MeasureWindow::secondsMeasured() const {
    const double seconds = measuring_ ? std::chrono::duration<double>(Clock::now() - from_).count() : 0;
    return seconds > 0 ? seconds : 1;
}

namespace {

std::int32_t percentile(std::vector<std::int32_t>& values, double p) {
    if (values.empty()) return 0;
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<long>(at), values.end());
    return values[at];
}

void printMoves(const Options& options, Stats& stats, double seconds) {
    auto& lat = stats.latencyMicros;
    auto& lag = stats.readLagMicros;
    const std::int32_t maxLatency = lat.empty() ? 0 : *std::max_element(lat.begin(), lat.end());
    std::printf("  moves/s            %.0f (%ld games finished)\n", static_cast<double>(stats.moves) / seconds,
                stats.games);
    const double p50 = percentile(lat, 0.50) / 1000.0, p99 = percentile(lat, 0.99) / 1000.0;
    std::printf("  answer latency     p50 %.2f ms  p99 %.2f ms  max %.2f ms (%zu moves)\n", p50, p99,
                maxLatency / 1000.0, lat.size());
    if (!options.webSocket)
        std::printf("  read here after    p50 %.2f ms  p99 %.2f ms (this program's own backlog)\n",
                    percentile(lag, 0.50) / 1000.0, percentile(lag, 0.99) / 1000.0);
    else
        std::printf("  (over WebSocket the latency runs until this program read the answer, its own backlog "
                    "included)\n");
    // Little's law: the moves waiting for their answer on average. With
    // no think time that is every table, whatever the server does.
    const double meanMs = lat.empty() ? 0 : std::accumulate(lat.begin(), lat.end(), 0.0) / lat.size() / 1000.0;
    const double movesPerSecond = static_cast<double>(stats.moves) / seconds;
    std::printf("  blocks per move    %.2f; in flight on average %.0f moves (mean %.2f ms x moves/s)\n",
                stats.moves ? static_cast<double>(stats.blocks) / stats.moves : 0.0, meanMs / 1000.0 * movesPerSecond,
                meanMs);
}

}  // namespace

void printReport(const Options& options, Stats& stats, const Census& census, double seconds, long rssFirst,
                 long rssLast) {
    std::printf("load: %s %d over %s, %.0f s measured%s\n", options.idle ? "idle connections" : "tables",
                options.idle ? options.idle : options.tables, options.webSocket ? "WebSocket" : "TCP", seconds,
                options.think.none() ? "" : (", think time " + options.think.text()).c_str());
    std::printf("  connections held   %d of %d", census.open, census.target);
    if (census.betweenGames > 0) std::printf(" (%d more between games)", census.betweenGames);
    std::printf("\n");
    std::printf("  blocks/s received  %.0f\n", static_cast<double>(stats.blocks) / seconds);
    if (options.idle == 0) printMoves(options, stats, seconds);
    std::printf("  closed by server   %ld mid-game, %ld before a deal\n", stats.closedMidGame, stats.closedBeforeGame);
    std::printf("  connect failures   %ld\n", stats.connectFailures);
    std::printf("  protocol errors    %ld%s%s\n", stats.protocolErrors, stats.firstProblem.empty() ? "" : ": ",
                stats.firstProblem.c_str());
    if (rssLast >= 0)
        std::printf("  server resident    %.1f MiB (%.1f MiB when measuring began)\n", rssLast / 1024.0,
                    rssFirst / 1024.0);
}

}  // namespace lerva::load

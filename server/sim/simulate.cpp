#include "simulate.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace lerva {

DealSummary playDeal(const Hands& hands, int dealer, const std::array<Bot*, kSeats>& bots) {
    Game game({.seed = 0, .firstDealer = dealer, .endAtTarget = false});
    Events events;
    events.reserve(16);
    game.startDeal(hands, events);
    std::array<CardSet, kSeats> dealt{};
    for (int seat = 0; seat < kSeats; ++seat) dealt[seat] = CardSet::of(hands[seat]);
    for (Bot* bot : bots) bot->revealDeal(dealt);
    DealSummary summary;
    while (game.toAct() >= 0) {
        const int seat = game.toAct();
        events.clear();
        if (!applyMove(game, seat, decide(*bots[seat], game.viewFor(seat)), events)) break;
        for (const Event& event : events)
            if (event.kind == Event::Kind::DealScored) summary.gamePoints = event.dealPoints;
    }
    summary.declarer = game.declarer();
    summary.allPassed = game.auction().allPassed();
    summary.bidTen = game.auction().bidTen();
    summary.cardPoints = game.cardPoints();
    return summary;
}

namespace {

void record(const DealSummary& deal, int sideOfTeam0, SimResult& result) {
    for (int team = 0; team < kTeams; ++team) {
        const int side = team == 0 ? sideOfTeam0 : 1 - sideOfTeam0;
        result.gamePoints[side] += deal.gamePoints[team];
        result.cardPoints[side] += deal.cardPoints[team];
        if (teamOf(deal.declarer) == team && !deal.allPassed) {
            ++result.declared[side];
            if (deal.gamePoints[team] > 0) ++result.declaredWon[side];
        }
    }
    result.allPassed += deal.allPassed;
    result.bidTen += deal.bidTen;
    ++result.dealsPlayed;
}

// Plays a deal (once, or twice when duplicate) with bots made for
// it alone, and records it into `result`; returns side A's lead in game
// points per play of the deal.
double playOne(const SimOptions& options, const Hands& hands, int dealer, std::uint64_t seed,
               SimResult& result) {
    Rng rng(seed);
    std::array<std::unique_ptr<Bot>, kSeats> sideA, sideB;
    for (int seat = 0; seat < kSeats; ++seat) {
        sideA[seat] = options.makeSideA ? options.makeSideA(rng.fork()) : makeBot(options.teamA, rng.fork());
        sideB[seat] = makeBot(options.teamB, rng.fork());
    }
    // Team A's bots in seats 0 and 2, or (swapped) in seats 1 and 3.
    auto seating = [&](bool swapped) {
        std::array<Bot*, kSeats> bots{};
        for (int seat = 0; seat < kSeats; ++seat)
            bots[seat] = (teamOf(seat) == 0) != swapped ? sideA[seat].get() : sideB[seat].get();
        return bots;
    };
    auto lead = [](const DealSummary& deal, int sideOfTeam0) {
        const int a = sideOfTeam0 == 0 ? 0 : 1;
        return deal.gamePoints[a] - deal.gamePoints[1 - a];
    };
    const DealSummary straight = playDeal(hands, dealer, seating(false));
    record(straight, 0, result);
    if (!options.duplicate) return lead(straight, 0);
    const DealSummary swapped = playDeal(hands, dealer, seating(true));
    record(swapped, 1, result);
    return (lead(straight, 0) + lead(swapped, 1)) / 2.0;
}

void add(SimResult& total, const SimResult& part) {
    total.dealsPlayed += part.dealsPlayed;
    for (int side = 0; side < 2; ++side) {
        total.gamePoints[side] += part.gamePoints[side];
        total.cardPoints[side] += part.cardPoints[side];
        total.declared[side] += part.declared[side];
        total.declaredWon[side] += part.declaredWon[side];
    }
    total.allPassed += part.allPassed;
    total.bidTen += part.bidTen;
}

}  // namespace

namespace {

// Sums of a running mean, for the progress while deals are played.
struct RunningSums {
    long count = 0;
    double sum = 0;
    double squares = 0;
    void add(double x) { ++count, sum += x, squares += x * x; }
    MeanInterval interval() const {
        MeanInterval result;
        if (count == 0) return result;
        result.mean = sum / count;
        if (count > 1) {
            const double variance = std::max(0.0, (squares - count * result.mean * result.mean) / (count - 1));
            result.margin = 1.96 * std::sqrt(variance / count);
        }
        return result;
    }
};

// The ratio of two paired means, with its 95% interval by the delta method;
// nothing when the denominator's mean is not above zero.
std::optional<MeanInterval> ratioInterval(const std::vector<double>& top, const std::vector<double>& bottom) {
    const double n = static_cast<double>(top.size());
    const double a = meanInterval(top).mean, b = meanInterval(bottom).mean;
    if (n < 2 || b <= 0) return std::nullopt;
    const double ratio = a / b;
    double spread = 0;   // the variance of top - ratio * bottom per deal
    for (std::size_t i = 0; i < top.size(); ++i) {
        const double d = (top[i] - a) - ratio * (bottom[i] - b);
        spread += d * d;
    }
    return MeanInterval{ratio, 1.96 * std::sqrt(spread / (n - 1) / n) / b};
}

}  // namespace

MeanInterval meanInterval(const std::vector<double>& values) {
    RunningSums sums;
    for (double x : values) sums.add(x);
    return sums.interval();
}

SimResult simulate(const SimOptions& options) {
    struct DealPlan { Hands hands; std::uint64_t seed; };
    Rng rng(options.seed);
    std::vector<DealPlan> plans(static_cast<std::size_t>(options.deals));
    for (DealPlan& plan : plans) {
        plan.hands = dealHands(rng);
        plan.seed = rng.fork();
    }
    const bool withOracle = options.duplicate && options.compareWithOracle &&
                            options.teamA != BotLevel::Oracle && options.teamB != BotLevel::Oracle;
    SimOptions oracleOptions = options;
    oracleOptions.teamA = BotLevel::Oracle;
    oracleOptions.makeSideA = nullptr;

    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    const int threads = std::max(1, std::min<int>(options.threads, static_cast<int>(plans.size())));
    std::vector<SimResult> parts(threads), oracleParts(threads);
    std::vector<double> leads(plans.size()), oracleLeads(withOracle ? plans.size() : 0);
    std::atomic<std::size_t> next{0};
    std::mutex progressMutex;
    RunningSums running;
    double lastReport = 0;
    auto work = [&](int thread) {
        for (std::size_t i; (i = next++) < plans.size();) {
            const int dealer = static_cast<int>(i % kSeats);
            leads[i] = playOne(options, plans[i].hands, dealer, plans[i].seed, parts[thread]);
            if (withOracle) oracleLeads[i] = playOne(oracleOptions, plans[i].hands, dealer, plans[i].seed, oracleParts[thread]);
            if (!options.progress) continue;
            const std::lock_guard lock(progressMutex);
            running.add(leads[i]);
            const double now = elapsed();
            if (now - lastReport < options.progressSeconds && running.count < options.deals) continue;
            lastReport = now;
            options.progress(SimProgress{running.count, options.deals, now, running.interval()});
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) workers.emplace_back(work, t);
    work(0);
    for (std::thread& worker : workers) worker.join();

    SimResult result;
    for (const SimResult& part : parts) add(result, part);
    result.seconds = elapsed();
    const MeanInterval difference = meanInterval(leads);
    result.meanDifference = difference.mean;
    result.differenceMargin = difference.margin;
    result.leads = leads;
    if (withOracle) {
        long oraclePlays = 0;
        for (const SimResult& part : oracleParts) oraclePlays += part.dealsPlayed;
        result.oracle = OracleComparison{oraclePlays, meanInterval(oracleLeads), ratioInterval(leads, oracleLeads)};
    }
    return result;
}

}  // namespace lerva

namespace lerva {

std::string describe(const SimOptions& options, const SimResult& result) {
    std::string text;
    char line[256];
    const long played = result.dealsPlayed + (result.oracle ? result.oracle->dealsPlayed : 0);
    const double perSecond = result.seconds > 0 ? played / result.seconds : 0;
    // Slow bots play fewer than one deal a second: a rate of "0" would say nothing.
    const int decimals = perSecond < 10 ? 2 : 0;
    char oraclePlays[64] = "";
    if (result.oracle) std::snprintf(oraclePlays, sizeof oraclePlays, " (and %ld with the oracle)", result.oracle->dealsPlayed);
    char cores[32] = "one core";
    if (options.threads > 1) std::snprintf(cores, sizeof cores, "%d threads", options.threads);
    std::snprintf(line, sizeof line, "%ld deals%s in %.3f s: %.*f deals per second on %s\n", result.dealsPlayed,
                  oraclePlays, result.seconds, decimals, perSecond, cores);
    text += line;
    if (options.duplicate) {
        std::snprintf(line, sizeof line,
                      "duplicate: each of %ld deals played twice, the teams' seats swapped%s\n",
                      options.deals, result.oracle ? "; and twice more with the oracle as side A" : "");
        text += line;
    }
    const double deals = result.dealsPlayed > 0 ? static_cast<double>(result.dealsPlayed) : 1.0;
    for (int side = 0; side < 2; ++side) {
        const BotLevel level = side == 0 ? options.teamA : options.teamB;
        std::snprintf(line, sizeof line,
                      "side %c (%s): %ld game points (%.3f per deal), %.1f card points per deal, "
                      "declared %ld, made %ld\n",
                      'A' + side, std::string(botLevelName(level)).c_str(), result.gamePoints[side],
                      result.gamePoints[side] / deals, result.cardPoints[side] / deals,
                      result.declared[side], result.declaredWon[side]);
        text += line;
    }
    std::snprintf(line, sizeof line, "all passed: %ld, bid 10: %ld\n", result.allPassed, result.bidTen);
    text += line;
    std::snprintf(line, sizeof line,
                  "side A minus side B: %+.3f game points per deal, 95%% interval %+.3f to %+.3f (%ld deals)\n",
                  result.meanDifference, result.meanDifference - result.differenceMargin,
                  result.meanDifference + result.differenceMargin, options.deals);
    text += line;
    if (result.oracle) {
        const MeanInterval& oracle = result.oracle->difference;
        std::snprintf(line, sizeof line,
                      "oracle (sees every hand) in side A's place minus side B: %+.3f game points per deal, "
                      "95%% interval %+.3f to %+.3f\n",
                      oracle.mean, oracle.mean - oracle.margin, oracle.mean + oracle.margin);
        text += line;
        if (const auto& share = result.oracle->share)
            std::snprintf(line, sizeof line,
                          "side A reaches %.0f%% of the oracle's edge over side B, 95%% interval %.0f%% to %.0f%%\n",
                          100 * share->mean, 100 * (share->mean - share->margin), 100 * (share->mean + share->margin));
        else
            std::snprintf(line, sizeof line, "the oracle has no edge over side B: no share to tell\n");
        text += line;
    }
    return text;
}

}  // namespace lerva

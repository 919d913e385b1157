#include "simulate.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace lerva {

DealSummary playDeal(const Hands& hands, int dealer, const std::array<Bot*, kSeats>& bots) {
    Game game({.seed = 0, .firstDealer = dealer, .endAtTarget = false});
    Events events;
    events.reserve(16);
    game.startDeal(hands, events);
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
        sideA[seat] = makeBot(options.teamA, rng.fork());
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

SimResult simulate(const SimOptions& options) {
    struct DealPlan { Hands hands; std::uint64_t seed; };
    Rng rng(options.seed);
    std::vector<DealPlan> plans(static_cast<std::size_t>(options.deals));
    for (DealPlan& plan : plans) {
        plan.hands = dealHands(rng);
        plan.seed = rng.fork();
    }

    const auto start = std::chrono::steady_clock::now();
    const int threads = std::max(1, std::min<int>(options.threads, static_cast<int>(plans.size())));
    std::vector<SimResult> parts(threads);
    std::vector<double> leads(plans.size());
    std::atomic<std::size_t> next{0};
    auto work = [&](SimResult& part) {
        for (std::size_t i; (i = next++) < plans.size();)
            leads[i] = playOne(options, plans[i].hands, static_cast<int>(i % kSeats), plans[i].seed, part);
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) workers.emplace_back(work, std::ref(parts[t]));
    work(parts[0]);
    for (std::thread& worker : workers) worker.join();

    SimResult result;
    for (const SimResult& part : parts) add(result, part);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const double n = static_cast<double>(leads.size());
    double sum = 0, squares = 0;
    for (double lead : leads) sum += lead;
    result.meanDifference = n > 0 ? sum / n : 0;
    for (double lead : leads) squares += (lead - result.meanDifference) * (lead - result.meanDifference);
    if (n > 1) result.differenceMargin = 1.96 * std::sqrt(squares / (n - 1) / n);
    return result;
}

}  // namespace lerva

namespace lerva {

std::string describe(const SimOptions& options, const SimResult& result) {
    std::string text;
    char line[256];
    const double perSecond = result.seconds > 0 ? result.dealsPlayed / result.seconds : 0;
    if (options.threads > 1)
        std::snprintf(line, sizeof line, "%ld deals in %.3f s: %.0f deals per second on %d threads\n",
                      result.dealsPlayed, result.seconds, perSecond, options.threads);
    else
        std::snprintf(line, sizeof line, "%ld deals in %.3f s: %.0f deals per second on one core\n",
                      result.dealsPlayed, result.seconds, perSecond);
    text += line;
    if (options.duplicate) {
        std::snprintf(line, sizeof line,
                      "duplicate: each of %ld deals played twice, the teams' seats swapped\n",
                      options.deals);
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
    return text;
}

}  // namespace lerva

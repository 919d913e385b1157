#include "simulate.h"

#include <chrono>
#include <cstdio>
#include <memory>

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

}  // namespace

SimResult simulate(const SimOptions& options) {
    Rng rng(options.seed);
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
    const auto straight = seating(false);
    const auto swapped = seating(true);

    SimResult result;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < options.deals; ++i) {
        const Hands hands = dealHands(rng);
        const int dealer = static_cast<int>(i % kSeats);
        record(playDeal(hands, dealer, straight), 0, result);
        if (options.duplicate) record(playDeal(hands, dealer, swapped), 1, result);
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

}  // namespace lerva

namespace lerva {

std::string describe(const SimOptions& options, const SimResult& result) {
    std::string text;
    char line[256];
    const double perSecond = result.seconds > 0 ? result.dealsPlayed / result.seconds : 0;
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
    return text;
}

}  // namespace lerva

// Bots against bots, no network and no clock: many deals as fast as one
// core plays them. Used to measure speed and to compare two kinds of bot.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "bot.h"
#include "deal.h"

namespace lerva {

struct SimOptions {
    long deals = 1000;
    BotLevel teamA = BotLevel::Heuristic;   // seats 0 and 2 (in the first play of a deal)
    BotLevel teamB = BotLevel::Heuristic;   // seats 1 and 3
    std::uint64_t seed = 1;
    // Play every deal twice, the second time with the bots' seats swapped,
    // so that neither side profits from the luck of the cards.
    bool duplicate = false;
    // Worker threads. Each deal has its own cards and bot seeds, so the
    // results are the same for any number of threads.
    int threads = 1;
    // With duplicate: the same deals also with the oracle in side A's
    // place against the same side B, to tell how far side A is from
    // perfect knowledge of the cards.
    bool compareWithOracle = true;
    // When set, makes side A's bots (from their seeds) in place of teamA's
    // level: two tunings of one bot compared on the same deals.
    std::function<std::unique_ptr<Bot>(std::uint64_t seed)> makeSideA;
    // Called now and then from a worker (never two at once) while deals
    // are played, at most once per progressSeconds.
    std::function<void(const struct SimProgress&)> progress;
    double progressSeconds = 5;
};

// A mean per deal with the half-width of its 95% interval.
struct MeanInterval {
    double mean = 0;
    double margin = 0;
};
MeanInterval meanInterval(const std::vector<double>& values);

struct SimProgress {
    long done = 0;
    long total = 0;
    double seconds = 0;
    MeanInterval difference;   // side A minus side B so far, as in SimResult
};

// Side A against the oracle's results on the same deals.
struct OracleComparison {
    long dealsPlayed = 0;      // plays of a deal with the oracle as side A
    MeanInterval difference;   // the oracle minus side B, per deal
    // Side A's lead over side B as a share of the oracle's lead (1: as
    // good as seeing every hand); nothing when the oracle has no lead.
    std::optional<MeanInterval> share;
};

// Totals by side: index 0 is team A's bots, 1 team B's, whatever seats
// they sat in.
struct SimResult {
    long dealsPlayed = 0;
    double seconds = 0;
    std::array<long, 2> gamePoints{};
    std::array<long, 2> cardPoints{};
    std::array<long, 2> declared{};        // deals in which the side declared
    std::array<long, 2> declaredWon{};
    long allPassed = 0;
    long bidTen = 0;
    // Side A's game points minus side B's, per deal (the mean of its two
    // plays when duplicate), with the half-width of its 95% interval.
    double meanDifference = 0;
    double differenceMargin = 0;
    std::vector<double> leads;   // that difference deal by deal, in the deals' order
    std::optional<OracleComparison> oracle;
};

// One deal of given hands and dealer, played out by four bots.
struct DealSummary {
    int declarer = -1;
    bool allPassed = false;
    bool bidTen = false;
    std::array<int, kTeams> cardPoints{};   // by table team (seats 0/2, 1/3)
    std::array<int, kTeams> gamePoints{};
};
DealSummary playDeal(const Hands& hands, int dealer, const std::array<Bot*, kSeats>& bots);

SimResult simulate(const SimOptions& options);

// The result in a few lines a person reads: deals per second, and per side
// the game points, card points and contracts.
std::string describe(const SimOptions& options, const SimResult& result);

}  // namespace lerva

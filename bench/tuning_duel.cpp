// Two tunings of the strong bot, each against the same opponents (the
// heuristic players unless told) on the very same duplicate deals and bot
// seeds as `lerva-server --simulate N --duplicate --bot-level strong
// --versus heuristic --seed S`. What tells them apart is the difference
// deal by deal, whose interval is far tighter than those of two separate
// runs: most of a deal's luck is in both.
//
//   tuning_duel DEALS SEED THREADS TUNING_A TUNING_B [OPPONENTS]
//   tuning_duel 800 22 2 from=8 from=9
//   tuning_duel 200 22 2 unlike=1 unlike=0.3 strong
//
// A tuning is a comma-separated list of from=, budget=, worlds=, bdeals=,
// bsolve=, shares=, margin=, ten=, partner=, unlike=, punlike= and draws= (the
// fields of StrongTuning); what it leaves out keeps its default. Each
// deal's two leads and then the summary go to stdout, the progress to
// stderr.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simulate.h"
#include "strong_bot.h"

namespace lerva {
namespace {

std::optional<StrongTuning> parseTuning(const std::string& text) {
    StrongTuning tuning;
    const std::map<std::string, std::function<void(double)>> fields = {
        {"from", [&](double v) { tuning.searchFromTricksLeft = static_cast<int>(v); }},
        {"budget", [&](double v) { tuning.nodeBudget = static_cast<std::uint64_t>(v); }},
        {"worlds", [&](double v) { tuning.worlds = static_cast<int>(v); }},
        {"bdeals", [&](double v) { tuning.biddingDeals = static_cast<int>(v); }},
        {"bsolve", [&](double v) { tuning.biddingSolvedTricks = static_cast<int>(v); }},
        {"shares", [&](double v) { tuning.shares = static_cast<int>(v); }},
        {"margin", [&](double v) { tuning.declareMargin = v; }},
        {"ten", [&](double v) { tuning.bidTenMargin = v; }},
        {"partner", [&](double v) { tuning.outbidPartnerMargin = v; }},
        {"unlike", [&](double v) { tuning.inference.unlikePlay = v; }},
        {"punlike", [&](double v) { tuning.inference.partnerUnlikePlay = v; }},
        {"draws", [&](double v) { tuning.inference.drawsPerWorld = static_cast<int>(v); }},
    };
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos || !fields.count(item.substr(0, eq))) return std::nullopt;
        char* rest = nullptr;
        const double value = std::strtod(item.c_str() + eq + 1, &rest);
        if (rest == item.c_str() + eq + 1 || *rest != '\0') return std::nullopt;
        fields.at(item.substr(0, eq))(value);
        start = end + 1;
    }
    return tuning;
}

// Side A's lead per deal with this tuning of the strong bot, the simulator
// dealing and seeding exactly as `--simulate` does.
std::vector<double> leadsOf(const StrongTuning& tuning, BotLevel versus, long deals, std::uint64_t seed, int threads,
                            const char* name) {
    SimOptions options;
    options.deals = deals;
    options.teamB = versus;
    options.seed = seed;
    options.duplicate = true;
    options.compareWithOracle = false;
    options.threads = threads;
    options.makeSideA = [tuning](std::uint64_t botSeed) { return std::make_unique<StrongBot>(botSeed, tuning); };
    options.progress = [name](const SimProgress& p) {
        std::fprintf(stderr, "%s: %ld of %ld deals, %.0f s, %+.3f\n", name, p.done, p.total, p.seconds, p.difference.mean);
    };
    options.progressSeconds = 60;
    return simulate(options).leads;
}

}  // namespace
}  // namespace lerva

int main(int argc, char** argv) {
    using namespace lerva;
    const bool argsFit = argc == 6 || argc == 7;
    const std::optional<StrongTuning> a = argsFit ? parseTuning(argv[4]) : std::nullopt;
    const std::optional<StrongTuning> b = argsFit ? parseTuning(argv[5]) : std::nullopt;
    const std::optional<BotLevel> versus = argc == 7 ? parseBotLevel(argv[6]) : BotLevel::Heuristic;
    const long deals = argsFit ? std::atol(argv[1]) : 0;
    if (!a || !b || !versus || deals <= 0) {
        std::fprintf(stderr, "usage: tuning_duel DEALS SEED THREADS TUNING_A TUNING_B [OPPONENTS]\n"
                             "  a tuning: from=9,budget=6000000,worlds=100,bdeals=48,shares=2,margin=0.75,ten=0.5,partner=0.75,unlike=0.3,draws=3\n"
                             "  the opponents: a bot level (default heuristic)\n");
        return 2;
    }
    const std::uint64_t seed = std::strtoull(argv[2], nullptr, 10);
    const int threads = std::max(1, std::atoi(argv[3]));
    const std::vector<double> leadsA = leadsOf(*a, *versus, deals, seed, threads, "A");
    const std::vector<double> leadsB = leadsOf(*b, *versus, deals, seed, threads, "B");
    std::vector<double> differences;
    for (std::size_t i = 0; i < leadsA.size(); ++i) {
        std::printf("deal %zu A %+.1f B %+.1f\n", i, leadsA[i], leadsB[i]);
        differences.push_back(leadsB[i] - leadsA[i]);
    }
    const MeanInterval sideA = meanInterval(leadsA), sideB = meanInterval(leadsB), difference = meanInterval(differences);
    std::printf("%zu deals: A %+.3f (95%% interval %+.3f to %+.3f), B %+.3f (%+.3f to %+.3f); "
                "B minus A %+.3f (%+.3f to %+.3f)\n",
                differences.size(), sideA.mean, sideA.mean - sideA.margin, sideA.mean + sideA.margin, sideB.mean,
                sideB.mean - sideB.margin, sideB.mean + sideB.margin, difference.mean, difference.mean - difference.margin,
                difference.mean + difference.margin);
}

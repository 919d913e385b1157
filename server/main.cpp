// lerva-server: the game server people run for a LAN game, and a headless
// bots-only simulator.
#include <cstdio>
#include <exception>
#include <iostream>

#include "analyze_command.h"

#include "game_server.h"
#include "io_backend.h"
#include "log.h"
#include "options.h"
#include "simulate.h"

#ifndef LERVA_VERSION
#define LERVA_VERSION "unknown"
#endif

namespace {

int runSimulation(const lerva::Options& options) {
    lerva::SimOptions sim;
    sim.deals = *options.simulate;
    sim.teamA = options.server.botLevel;
    sim.teamB = options.versus.value_or(options.server.botLevel);
    sim.duplicate = options.duplicate;
    // Only the searching bot is measured against perfect knowledge: for the
    // rule-of-thumb bots the oracle's games would cost far more than theirs.
    sim.compareWithOracle = sim.teamA == lerva::BotLevel::Strong;
    sim.threads = options.simThreads;
    sim.seed = options.server.seed.value_or(1);
    sim.progress = [](const lerva::SimProgress& p) {
        const double left = p.done > 0 ? p.seconds / p.done * (p.total - p.done) : 0;
        std::fprintf(stderr,
                     "simulate: %ld of %ld deals, %.0f s (about %.0f s to go), side A minus side B %+.3f, "
                     "95%% interval %+.3f to %+.3f\n",
                     p.done, p.total, p.seconds, left, p.difference.mean, p.difference.mean - p.difference.margin,
                     p.difference.mean + p.difference.margin);
    };
    const lerva::SimResult result = lerva::simulate(sim);
    std::fputs(lerva::describe(sim, result).c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = lerva::parseOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "lerva-server: %s\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(lerva::usageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("lerva-server %s\n", LERVA_VERSION);
        return 0;
    }
    lerva::setLogLevel(options->logLevel);
    if (options->simulate) return runSimulation(*options);
    if (options->analyze) return lerva::analysis::runAnalyze(*options->analyze, options->simThreads, std::cout, std::cerr);

    if (const auto problem = lerva::ioBackendProblem()) {
        std::fprintf(stderr, "lerva-server: %s\n", problem->c_str());
        return 1;
    }
    try {
        lerva::GameServer server(options->server);
        server.stopOnSignals();
        server.run();
    } catch (const lerva::ListenError& problem) {
        std::fprintf(stderr, "lerva-server: %s\n", problem.what());
        return 1;
    } catch (const std::exception& problem) {
        std::fprintf(stderr, "lerva-server: %s\n", problem.what());
        return 1;
    }
    return 0;
}

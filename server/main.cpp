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
    sim.threads = options.simThreads;
    sim.seed = options.server.seed.value_or(1);
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

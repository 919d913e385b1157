// Micro-benchmarks of the server's hot paths: judging a trick, a bot's
// decision, a whole deal of bots, and a whole game over loopback.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "bot.h"
#include "bot_deals.h"
#include "game_server.h"
#include "log.h"
#include "scripted_client.h"
#include "simulate.h"
#include "solver.h"
#include "strong_bot.h"
#include "trick.h"

namespace lerva {
namespace {

void BM_TrickWinner(benchmark::State& state) {
    Rng rng(1);
    std::vector<std::array<CardCode, kSeats>> tricks;
    for (int i = 0; i < 1024; ++i) {
        const Hands hands = dealHands(rng);
        tricks.push_back({hands[0][0], hands[1][0], hands[2][0], hands[3][0]});
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(trickWinner(tricks[i++ & 1023], static_cast<int>(i % 4) + 1));
    }
}
BENCHMARK(BM_TrickWinner);

// A bot deciding the cards of a deal, one decision per iteration.
void BM_BotCard(benchmark::State& state) {
    const auto level = static_cast<BotLevel>(state.range(0));
    auto bot = makeBot(level, 3);
    Rng rng(2);
    std::vector<PlayerView> views;
    playBotDeals(rng, 64, {bot.get(), bot.get(), bot.get(), bot.get()},
                 [&](const Game& game, int, const PlayerView& view) {
                     if (game.phase() == Phase::Playing) views.push_back(view);
                 });
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(bot->chooseCard(views[i++ % views.size()]));
    state.SetLabel(std::string(botLevelName(level)));
}
BENCHMARK(BM_BotCard)->Arg(static_cast<int>(BotLevel::Random))->Arg(static_cast<int>(BotLevel::Heuristic));

// Times each iteration's `step(i)` (i counts the iterations) and reports
// the median and the 90th percentile beside the benchmark's mean: single
// decisions differ a lot.
template <typename Step>
void timeEach(benchmark::State& state, Step step) {
    std::vector<double> millis;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        step(millis.size());
        millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["p90_ms"] = millis[millis.size() * 9 / 10];
}

// The strong bot's card decisions with a given number of tricks left, the
// search starting there (every world solved for every card), one decision
// per iteration; 0: every decision of a few deals, as the bot plays them.
// Decisions differ a lot (two cards to choose from or six), so the median
// and the 90th percentile of single decisions are counted beside the mean.
void BM_StrongBotSearchingDecision(benchmark::State& state) {
    const int tricksLeft = static_cast<int>(state.range(0));
    StrongTuning tuning;
    if (tricksLeft > 0) tuning.searchFromTricksLeft = tricksLeft;
    auto bot = makeBot(BotLevel::Heuristic, 3);
    StrongBot strong(5, tuning);
    Rng rng(2);
    std::vector<PlayerView> views;
    playBotDeals(rng, 64, {bot.get(), bot.get(), bot.get(), bot.get()},
                 [&](const Game& game, int, const PlayerView& view) {
                     if (game.phase() == Phase::Playing && view.legalCards.size() > 1 &&
                         (tricksLeft == 0 || kTricksPerDeal - view.tricksDone == tricksLeft))
                         views.push_back(view);
                 });
    const std::uint64_t nodesBefore = strongBotSearchNodes();
    const std::uint64_t worldsBefore = strongBotWorldsSolved();
    timeEach(state, [&](std::size_t i) { benchmark::DoNotOptimize(strong.chooseCard(views[i % views.size()])); });
    state.counters["worlds"] = static_cast<double>(strongBotWorldsSolved() - worldsBefore) / state.iterations();
    state.counters["nodes"] = static_cast<double>(strongBotSearchNodes() - nodesBefore) / state.iterations();
}
// The strong bot's opening bid: every trump valued by sampled deals played
// out, the last tricks of each solved open as the argument says (0: none).
void BM_StrongBotBid(benchmark::State& state) {
    StrongBot strong(6, {.biddingSolvedTricks = static_cast<int>(state.range(0))});
    Rng rng(3);
    std::vector<PlayerView> views;
    for (int deal = 0; deal < 64; ++deal) {
        Game game({.seed = rng.next(), .endAtTarget = false});
        Events events;
        game.startDeal(events);
        views.push_back(game.viewFor(game.toAct()));
    }
    const std::uint64_t nodesBefore = strongBotSearchNodes();
    timeEach(state, [&](std::size_t i) { benchmark::DoNotOptimize(strong.chooseBid(views[i % views.size()])); });
    state.counters["nodes"] = static_cast<double>(strongBotSearchNodes() - nodesBefore) / state.iterations();
}
BENCHMARK(BM_StrongBotBid)->Arg(0)->DenseRange(4, 7)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(64);

BENCHMARK(BM_StrongBotSearchingDecision)->Arg(0)->DenseRange(4, 9)->Unit(benchmark::kMillisecond)->Iterations(200);

// The open-card solver on whole deals from the first lead: fixed random deals
// and trumps, one deal per iteration, each with a fresh table.
std::vector<solver::Position> benchDeals(int count) {
    Rng rng(9);
    std::vector<solver::Position> deals;
    for (int i = 0; i < count; ++i) {
        const Hands hands = dealHands(rng);
        solver::Position p;
        for (int seat = 0; seat < kSeats; ++seat) p.hands[seat] = CardSet::of(hands[seat]);
        p.trump = static_cast<int>(rng.below(4)) + 1;
        p.leader = static_cast<int>(rng.below(4));
        deals.push_back(p);
    }
    return deals;
}

// Exact card points of the side to lead.
void BM_SolverDealValue(benchmark::State& state) {
    const auto deals = benchDeals(256);
    solver::Solver solver;
    std::vector<double> millis;
    for (auto _ : state) {
        const solver::Position& p = deals[millis.size() % deals.size()];
        const auto start = std::chrono::steady_clock::now();
        solver.setPosition(p);
        benchmark::DoNotOptimize(solver.teamPoints(teamOf(p.leader)));
        millis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];   // a few deals take seconds
    state.counters["nodes/deal"] = benchmark::Counter(static_cast<double>(solver.nodes()) / state.iterations());
}
BENCHMARK(BM_SolverDealValue)->Unit(benchmark::kMillisecond)->Iterations(32);


// The same on deals with five tricks left (the strong bot searches from six).
void BM_SolverFiveTricksValue(benchmark::State& state) {
    const auto deals = benchDeals(256);
    std::vector<solver::Position> endings;
    for (solver::Position p : deals) {
        // Play the four lowest legal cards of each of four tricks.
        solver::Solver legal;
        for (int played = 0; played < 16; ++played) {
            legal.setPosition(p);
            const CardCode card = legal.legalCards().lowest();
            const int seat = p.toMove();
            p.hands[seat].remove(card);
            p.trick[p.trickSize++] = card;
            if (p.trickSize == kSeats) {
                p.leader = (p.leader + trickWinner(p.trick, p.trump)) % kSeats;
                p.trickSize = 0;
                p.trick = {};
            }
        }
        endings.push_back(p);
    }
    solver::Solver solver;
    std::size_t i = 0;
    for (auto _ : state) {
        const solver::Position& p = endings[i++ % endings.size()];
        solver.setPosition(p);
        benchmark::DoNotOptimize(solver.teamPoints(teamOf(p.leader)));
    }
    state.counters["nodes/deal"] = benchmark::Counter(static_cast<double>(solver.nodes()) / state.iterations());
}
BENCHMARK(BM_SolverFiveTricksValue)->Unit(benchmark::kMicrosecond)->Iterations(256)->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DealOfHeuristicBots(benchmark::State& state) {
    std::array<std::unique_ptr<Bot>, kSeats> owned;
    std::array<Bot*, kSeats> bots{};
    for (int seat = 0; seat < kSeats; ++seat) {
        owned[seat] = makeBot(BotLevel::Heuristic, seat);
        bots[seat] = owned[seat].get();
    }
    Rng rng(4);
    int dealer = 0;
    for (auto _ : state) benchmark::DoNotOptimize(playDeal(dealHands(rng), dealer++ % kSeats, bots));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DealOfHeuristicBots);

// A whole game over loopback: one scripted client against three bots.
void BM_LoopbackGame(benchmark::State& state) {
    ServerConfig config;
    config.bindAddress = "127.0.0.1";
    config.port = 0;
    config.botsPerTable = 3;
    config.botDelay = Millis(0);
    config.botThreads = 1;
    setLogLevel(LogLevel::Error);
    GameServer server(config);
    std::thread loop([&] { server.run(); });
    long blocks = 0;
    for (auto _ : state) {
        test::ScriptedClient client(server.port(), "Mõõtja");
        client.join();
        client.playGame();
        for (const auto& deal : client.deals()) blocks += static_cast<long>(deal.received.size());
    }
    server.stop();
    loop.join();
    state.counters["blocks/s"] = benchmark::Counter(static_cast<double>(blocks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoopbackGame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lerva

BENCHMARK_MAIN();

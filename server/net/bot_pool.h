// Worker threads for the computer players' thinking. A decision is made on a
// worker and handed back to the network loop, which never waits for a bot.
#pragma once

#include "asio.h"
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "bot.h"

namespace lerva {

// A seat's bot with a lock: a turn asked again (the player left while the
// bot was already thinking for them) must not run the same bot twice at once.
struct SeatBot {
    explicit SeatBot(std::unique_ptr<Bot> b) : bot(std::move(b)) {}
    std::mutex mutex;
    std::unique_ptr<Bot> bot;
};

class BotPool {
public:
    // With 0 threads the bots decide on the loop itself, in order (for
    // fuzzing, where every run must repeat exactly).
    BotPool(asio::io_context& loop, int threads);
    ~BotPool();

    // Asks `bot` about `view` on a worker; `done` then runs on the loop.
    // While more decisions wait than the workers clear in a few tens of
    // milliseconds, the bot's hurried player answers: hundreds of tables of
    // searching bots would otherwise queue every table's turn for seconds.
    void think(std::shared_ptr<SeatBot> bot, PlayerView view, std::function<void(Move)> done);
    void stop();

private:
    asio::io_context& loop_;
    int backlogLimit_ = 0;            // waiting decisions before bots hurry
    std::atomic<int> waiting_{0};     // decisions posted, not yet started
    std::unique_ptr<asio::thread_pool> workers_;   // none: decide on the loop
};

}  // namespace lerva

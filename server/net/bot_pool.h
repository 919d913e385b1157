// Worker threads for the computer players' thinking. A decision is made on a
// worker and handed back to the network loop, which never waits for a bot.
#pragma once

#include <asio.hpp>
#include <functional>
#include <memory>

#include "bot.h"

namespace lerva {

class BotPool {
public:
    BotPool(asio::io_context& loop, int threads);
    ~BotPool();

    // Asks `bot` about `view` on a worker; `done` then runs on the loop.
    void think(std::shared_ptr<Bot> bot, PlayerView view, std::function<void(Move)> done);
    void stop();

private:
    asio::io_context& loop_;
    asio::thread_pool workers_;
};

}  // namespace lerva

#include "bot_pool.h"

namespace lerva {

BotPool::BotPool(asio::io_context& loop, int threads)
    : loop_(loop) {
    if (threads > 0) workers_ = std::make_unique<asio::thread_pool>(static_cast<std::size_t>(threads));
}

BotPool::~BotPool() { stop(); }

void BotPool::think(std::shared_ptr<SeatBot> bot, PlayerView view, std::function<void(Move)> done) {
    if (!workers_) {
        // From a fresh handler, as a worker's decision would arrive.
        asio::post(loop_, [bot = std::move(bot), view, done = std::move(done)] { done(decide(*bot->bot, view)); });
        return;
    }
    // The loop must not run out of work while a decision is on its way.
    auto guard = asio::make_work_guard(loop_);
    asio::post(*workers_, [this, bot = std::move(bot), view, done = std::move(done),
                          guard = std::move(guard)]() mutable {
        Move move;
        {
            std::lock_guard lock(bot->mutex);
            move = decide(*bot->bot, view);
        }
        asio::post(loop_, [move, done = std::move(done)] { done(move); });
    });
}

void BotPool::stop() {
    if (!workers_) return;
    workers_->stop();
    workers_->join();
}

}  // namespace lerva

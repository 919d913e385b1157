#include "bot_pool.h"

namespace lerva {

namespace {
// A searching decision takes a few milliseconds, so this many waiting per
// worker is about the longest wait a table should see.
constexpr int kWaitingPerWorker = 8;
}  // namespace

BotPool::BotPool(asio::io_context& loop, int threads)
    : loop_(loop), backlogLimit_(kWaitingPerWorker * threads) {
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
    waiting_.fetch_add(1);
    asio::post(*workers_, [this, bot = std::move(bot), view, done = std::move(done),
                          guard = std::move(guard)]() mutable {
        const bool behind = waiting_.fetch_sub(1) - 1 > backlogLimit_;
        Move move;
        {
            std::lock_guard lock(bot->mutex);
            move = decide(behind ? bot->bot->hurried() : *bot->bot, view);
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

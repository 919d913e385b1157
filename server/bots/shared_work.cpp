#include "shared_work.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace lerva {

namespace {

// One call's jobs. Whoever takes a job runs it; the caller waits only for
// jobs already started elsewhere.
class Batch {
public:
    Batch(std::size_t count, const std::function<void(std::size_t)>& job) : count_(count), job_(job) {}

    // Runs the next job not yet taken; false when none is left.
    bool runOne() {
        const std::size_t index = next_.fetch_add(1);
        if (index >= count_) return false;
        std::exception_ptr error;
        try {
            job_(index);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(mutex_);
        if (error && !error_) error_ = error;
        if (++finished_ == count_) done_.notify_all();
        return true;
    }

    void waitAll() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return finished_ == count_; });
        if (error_) std::rethrow_exception(error_);
    }

private:
    const std::size_t count_;
    const std::function<void(std::size_t)>& job_;   // the caller's, alive until waitAll returns
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable done_;
    std::size_t finished_ = 0;
    std::exception_ptr error_;
};

// The helper threads, started with the first shared call and stopped when
// the program ends. A helper holds a batch only while it runs one of its
// jobs; a batch whose jobs are all taken is dropped unrun.
class Helpers {
public:
    Helpers() {
        // Unknown cores count as two. Each helper that solves keeps a
        // solver's tables, so a large machine gets a few, not one per core.
        const unsigned cores = std::thread::hardware_concurrency();
        const unsigned count = std::min(cores == 0 ? 1u : cores - 1, kMostHelpers);
        for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { serve(); });
    }
    ~Helpers() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }

    void offer(const std::shared_ptr<Batch>& batch, std::size_t tickets) {
        if (threads_.empty()) return;   // one core: the caller runs every job
        {
            std::lock_guard lock(mutex_);
            for (std::size_t i = 0; i < tickets; ++i) waiting_.push_back(batch);
        }
        wake_.notify_all();
    }

private:
    static constexpr unsigned kMostHelpers = 7;

    void serve() {
        for (;;) {
            std::shared_ptr<Batch> batch;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
                if (stopping_) return;
                batch = std::move(waiting_.front());
                waiting_.pop_front();
            }
            batch->runOne();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::shared_ptr<Batch>> waiting_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

Helpers& helpers() {
    static Helpers pool;
    return pool;
}

}  // namespace

void runSharing(std::size_t count, const std::function<void(std::size_t)>& job) {
    if (count == 0) return;
    const auto batch = std::make_shared<Batch>(count, job);
    if (count > 1) helpers().offer(batch, count - 1);
    while (batch->runOne()) {
    }
    batch->waitAll();
}

}  // namespace lerva

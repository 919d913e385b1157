// What the two drivers of lerva-load share: the options, the counts of one
// run and their report. The TCP driver (load_client.cpp) runs on epoll; the
// WebSocket one (web_load.cpp) on Asio, as Boost.Beast wants.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "load_player.h"
#include "think_time.h"

namespace lerva::load {

struct Options {
    unsigned short port = 0;
    bool webSocket = false;    // port is the server's --web-port: blocks are binary messages on /play
    int tables = 0;
    int idle = 0;
    double seconds = 20;
    int serverPid = 0;
    int connectBurst = 256;    // connects in flight at once
    ThinkTime think;
    std::uint64_t seed = 1;

    int players() const { return idle > 0 ? idle : tables * kSeats; }
};

// Reads the command line; false if it does not make a run.
bool parseOptions(int argc, char** argv, Options& options);
extern const char* const kUsage;

struct Stats {
    long blocks = 0;              // received, inside the measured window
    long moves = 0;
    long games = 0;
    long closedMidGame = 0;
    long closedBeforeGame = 0;
    long connectFailures = 0;
    long protocolErrors = 0;
    std::string firstProblem;
    std::vector<std::int32_t> latencyMicros;   // until the answer arrived
    std::vector<std::int32_t> readLagMicros;   // from arrival until read here; empty if not known

    // Counts what `player` found wrong since it had `before` problems.
    void noteProblems(const LoadPlayer& player, int before);
    // The server closed a player's connection.
    void noteClosedByServer(const LoadPlayer& player);
    void problem(const std::string& what);
};

// The connections at the end of a run.
struct Census {
    int open = 0;
    int target = 0;
    int betweenGames = 0;   // players whose game ended, not yet seated again

    // Every seat kept: a player between games is connecting for the next one.
    bool full() const { return open + betweenGames == target; }
};

void printReport(const Options& options, Stats& stats, const Census& census, double seconds, long rssFirst,
                 long rssLast);

// The exit status of a run: 0 if the server kept every seat and sent
// nothing wrong.
inline int runStatus(const Stats& stats, const Census& census) {
    return stats.protocolErrors == 0 && stats.closedMidGame == 0 && census.full() ? 0 : 1;
}

// The players' slots, one per connection wanted: which open next, which a
// finished game freed, and how many are connecting or open.
class Slots {
public:
    explicit Slots(const Options& options)
        : idle_(options.idle > 0), burst_(options.connectBurst), target_(options.players()) {}

    std::size_t size() const { return static_cast<std::size_t>(target_); }
    // Opens the slots not yet opened, then those freed, with at most the
    // burst connecting at once. `open(slot)` returns false if it failed at
    // once; it gave the slot back then.
    template <class Open>
    void openDue(Open open) {
        int attempts = 0;   // a failing open gives its slot back at once
        while (next_ < size() && connecting_ < burst_ && attempts++ < burst_) startOpening(open, next_++);
        while (!free_.empty() && connecting_ < burst_ && attempts++ < burst_) {
            const std::size_t slot = free_.back();
            free_.pop_back();
            startOpening(open, slot);
        }
    }
    // The connection of `slot` is open, failed, or was closed.
    void opened() { --connecting_, ++open_; }
    void failed(std::size_t slot) { --connecting_, giveBack(slot); }
    void closed(std::size_t slot, bool wasOpen) { open_ -= wasOpen ? 1 : 0, giveBack(slot); }
    // A slot that failed before it was connecting.
    void giveBack(std::size_t slot) {
        if (!idle_) free_.push_back(slot);   // a game ended: a new player takes the seat
    }

    bool allOpened() const { return next_ >= size() && connecting_ == 0; }
    std::uint64_t serial() { return ++serials_; }   // one per connection ever opened
    std::string nextName() { return "load" + std::to_string(++names_); }
    Census census() const {
        return {open_, target_, idle_ ? 0 : connecting_ + static_cast<int>(free_.size())};
    }

private:
    template <class Open>
    void startOpening(Open& open, std::size_t slot) {
        if (open(slot)) ++connecting_;
    }

    bool idle_;
    int burst_;
    int target_;
    std::size_t next_ = 0;
    std::vector<std::size_t> free_;
    int connecting_ = 0;
    int open_ = 0;
    std::uint64_t serials_ = 0;
    long names_ = 0;
};

// Measuring begins once every connection is open, for options.seconds; a
// run whose connections never all open gives up after the ramp limit.
class MeasureWindow {
public:
    explicit MeasureWindow(double seconds) : seconds_(seconds), rampLimit_(Clock::now() + std::chrono::seconds(130)) {}
    // Returns true when measuring begins now.
    bool begin(Clock::time_point now, bool allOpen);
    bool measuring() const { return measuring_; }
    bool over(Clock::time_point now) const { return measuring_ ? now >= until_ : now > rampLimit_; }
    double secondsMeasured() const;

private:
    double seconds_;
    Clock::time_point rampLimit_;
    bool measuring_ = false;
    Clock::time_point from_{}, until_{};
};

}  // namespace lerva::load

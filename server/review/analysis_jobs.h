// Games' analyses made in the background, one game at a time, each stored
// beside its record once done. Asking again while one runs tells how far it
// has got; asking after it is stored reads it back at once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "game_catalog.h"

namespace lerva::review {

struct AnalysisStatus {
    enum class State { Running, Done, Failed } state = State::Running;
    int dealsDone = 0;
    int dealsTotal = 0;
    nlohmann::json deals;    // when Done: one analysis per deal, as --analyze prints them
    std::string error;       // when Failed
};

class AnalysisJobs {
public:
    // `threads`: how many deals of a game are analysed at once.
    explicit AnalysisJobs(int threads);
    ~AnalysisJobs();   // stops before the next card of the game being analysed
    AnalysisJobs(const AnalysisJobs&) = delete;
    AnalysisJobs& operator=(const AnalysisJobs&) = delete;

    // The analysis of a listed game, or how far its making has got (it is
    // started if it is neither stored nor under way).
    AnalysisStatus request(const GameSummary& game);

private:
    struct Job {
        std::filesystem::path record;
        std::atomic<int> done{0};
        std::atomic<int> total{0};
        bool finished = false;
        std::string error;
        nlohmann::json unstored;   // a result that could not be written beside the record
    };

    void work();
    void run(Job& job);

    int threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<std::string, std::shared_ptr<Job>> jobs_;
    std::deque<std::shared_ptr<Job>> queue_;
    std::atomic<bool> stopping_{false};
    std::thread worker_;
};

}  // namespace lerva::review

#include "analysis_jobs.h"

#include <fstream>
#include <sstream>

#include "stored_analysis.h"

namespace lerva::review {

namespace {

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

AnalysisJobs::AnalysisJobs(int threads) : threads_(threads), worker_([this] { work(); }) {}

AnalysisJobs::~AnalysisJobs() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

AnalysisStatus AnalysisJobs::request(const GameSummary& game) {
    AnalysisStatus status;
    const std::lock_guard lock(mutex_);
    auto& job = jobs_[game.id];
    if (job && job->finished && job->error.empty() && job->unstored.is_null()) job.reset();   // stored: read it back
    if (!job) {
        const std::string text = readText(game.path);
        try {
            const analysis::RecordedGame recorded = analysis::readRecord(text);
            if (auto stored = loadStoredAnalysis(game.path, text, recorded)) {
                jobs_.erase(game.id);
                status.state = AnalysisStatus::State::Done;
                status.dealsDone = status.dealsTotal = static_cast<int>(stored->size());
                status.deals = std::move(*stored);
                return status;
            }
        } catch (const analysis::RecordError&) {
            // The record changed since it was listed; the job will say what is wrong.
        }
        job = std::make_shared<Job>();
        job->record = game.path;
        job->total = game.deals;
        queue_.push_back(job);
        wake_.notify_one();
    }
    status.dealsDone = job->done;
    status.dealsTotal = job->total;
    if (!job->finished) return status;
    if (!job->error.empty()) {
        status.state = AnalysisStatus::State::Failed;
        status.error = job->error;
    } else {
        status.state = AnalysisStatus::State::Done;
        status.deals = job->unstored;
    }
    return status;
}

void AnalysisJobs::work() {
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        run(*job);
    }
}

void AnalysisJobs::run(Job& job) {
    std::string error;
    nlohmann::json unstored;
    try {
        const std::string text = readText(job.record);
        const analysis::RecordedGame game = analysis::readRecord(text);
        job.total = static_cast<int>(game.deals.size());
        const auto deals = analysis::analyzeGame(game, threads_, [&](int done, int) { job.done = done; }, &stopping_);
        if (!storeAnalysis(job.record, text, deals)) {
            unstored = nlohmann::json::array();
            for (const analysis::DealAnalysis& deal : deals) unstored.push_back(analysis::toJson(deal));
        }
    } catch (const analysis::RecordError& problem) {
        error = analysis::describe(problem, job.record.filename().string());
    } catch (const analysis::AnalysisStopped&) {
        return;
    } catch (const std::exception& problem) {
        error = problem.what();
    }
    const std::lock_guard lock(mutex_);
    job.error = std::move(error);
    job.unstored = std::move(unstored);
    job.finished = true;
}

}  // namespace lerva::review

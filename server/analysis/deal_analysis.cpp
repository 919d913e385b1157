#include "deal_analysis.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace lerva::analysis {

namespace {

int lossOf(int seat, int before, int after) {
    return teamOf(seat) == 0 ? before - after : after - before;
}

[[noreturn]] void disagree(const CardAnalysis& card, const std::string& what) {
    throw std::logic_error("the solver's values do not add up at card " + std::to_string(card.card) +
                           " of seat " + std::to_string(card.seat) + ": " + what);
}

}  // namespace

PlayAnalysis analyzePlay(OpenCardValue& values, PlayState state, std::span<const CardCode> cards,
                         const std::atomic<bool>* stop) {
    PlayAnalysis out;
    out.cards.reserve(cards.size());
    CardSet playedAlike;
    // Closes the previous card: its loss, and its fellows among the best
    // cards when it lost nothing.
    auto close = [&](int team0After) {
        CardAnalysis& last = out.cards.back();
        last.loss = lossOf(last.seat, last.team0Total, team0After);
        if (last.loss == 0) last.best = last.best | playedAlike;
        if (last.loss < 0) disagree(last, "a card gains on best play");
        if (last.best.empty()) disagree(last, "no card keeps the value");
    };
    for (const CardCode played : cards) {
        if (stop && *stop) throw AnalysisStopped{};
        // Most cards lose nothing: then the value stays what it was.
        const int guess = out.cards.empty() ? -1 : out.cards.back().team0Total - state.taken[0];
        const PositionValue value = values.of(state, played, guess);
        const int team0Total = state.taken[0] + value.team0Points;
        if (!out.cards.empty()) close(team0Total);
        out.cards.push_back({state.toMove(), played, team0Total, 0, value.bestBesidesPlayed});
        playedAlike = value.playedAlike;
        state.play(played);
    }
    if (state.cardsToPlay() > 0) throw std::invalid_argument("the cards do not play the deal out");
    out.finalTeam0 = state.taken[0];
    if (!out.cards.empty()) close(out.finalTeam0);
    return out;
}

DealAnalysis analyzeDeal(OpenCardValue& values, const RecordedDeal& deal, const std::atomic<bool>* stop) {
    PlayState start;
    for (int seat = 0; seat < kSeats; ++seat) start.hands[seat] = CardSet::of(deal.hands[seat]);
    start.trump = deal.trump;
    start.leader = deal.tricks.front().leader;
    std::vector<CardCode> cards;
    for (const RecordedTrick& trick : deal.tricks) cards.insert(cards.end(), trick.cards.begin(), trick.cards.end());
    DealAnalysis out{deal.number, deal.trump, deal.declarer, analyzePlay(values, start, cards, stop)};
    if (out.play.finalTeam0 != deal.cardPoints[0])
        throw std::logic_error("deal " + std::to_string(deal.number) + ": the play does not come to the recorded points");
    return out;
}

std::vector<DealAnalysis> analyzeGame(const RecordedGame& game, int threads, const Progress& progress,
                                      const std::atomic<bool>* stop) {
    const int total = static_cast<int>(game.deals.size());
    std::vector<DealAnalysis> out(game.deals.size());
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::mutex failureMutex;
    std::exception_ptr failure;
    auto work = [&] {
        try {
            OpenCardValue values;
            for (int i; (i = next++) < total;) {
                out[i] = analyzeDeal(values, game.deals[i], stop);
                const int finished = ++done;
                if (progress) progress(finished, total);
            }
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
            next = total;
        }
    };
    const int workers = std::clamp(threads, 1, std::max(total, 1));
    std::vector<std::thread> pool;
    for (int t = 1; t < workers; ++t) pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();
    if (failure) std::rethrow_exception(failure);
    return out;
}

namespace {

template <typename Json>
Json dealJson(const DealAnalysis& deal) {
    auto plays = Json::array();
    for (const CardAnalysis& card : deal.play.cards) {
        auto best = Json::array();
        for (CardCode code : card.best) best.push_back(code);
        plays.push_back({{"seat", card.seat}, {"card", card.card}, {"team0_total", card.team0Total},
                         {"loss", card.loss}, {"best", best}});
    }
    return {{"deal", deal.deal}, {"trump", deal.trump}, {"declarer", deal.declarer},
            {"plays", plays}, {"final", deal.play.finalTeam0}};
}

}  // namespace

nlohmann::json toJson(const DealAnalysis& deal) { return dealJson<nlohmann::json>(deal); }

std::string toJsonLine(const DealAnalysis& deal) { return dealJson<nlohmann::ordered_json>(deal).dump(); }

}  // namespace lerva::analysis

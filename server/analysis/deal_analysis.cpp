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

PlayAnalysis analyzePlay(OpenCardValue& values, PlayState state, std::span<const CardCode> cards) {
    PlayAnalysis out;
    out.cards.reserve(cards.size());
    int team0Before = 0;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        CardAnalysis card;
        card.seat = state.toMove();
        card.card = cards[i];
        const PositionValue value = values.of(state);
        card.team0Total = state.taken[0] + value.team0Points;
        card.best = value.bestCards;
        if (i > 0) out.cards.back().loss = lossOf(out.cards.back().seat, team0Before, card.team0Total);
        team0Before = card.team0Total;
        out.cards.push_back(card);
        state.play(cards[i]);
    }
    const int finalTeam0 = state.cardsLeft() == 0 ? state.taken[0]
                                                  : state.taken[0] + values.of(state).team0Points;
    if (!out.cards.empty()) out.cards.back().loss = lossOf(out.cards.back().seat, team0Before, finalTeam0);
    out.finalTeam0 = finalTeam0;
    for (const CardAnalysis& card : out.cards) {
        if (card.loss < 0) disagree(card, "a card gains on best play");
        if ((card.loss == 0) != card.best.contains(card.card)) disagree(card, "the best cards and the loss differ");
    }
    return out;
}

DealAnalysis analyzeDeal(OpenCardValue& values, const RecordedDeal& deal) {
    PlayState start;
    for (int seat = 0; seat < kSeats; ++seat) start.hands[seat] = CardSet::of(deal.hands[seat]);
    start.trump = deal.trump;
    start.leader = deal.tricks.front().leader;
    std::vector<CardCode> cards;
    for (const RecordedTrick& trick : deal.tricks) cards.insert(cards.end(), trick.cards.begin(), trick.cards.end());
    DealAnalysis out{deal.number, deal.trump, deal.declarer, analyzePlay(values, start, cards)};
    if (out.play.finalTeam0 != deal.cardPoints[0])
        throw std::logic_error("deal " + std::to_string(deal.number) + ": the play does not come to the recorded points");
    return out;
}

std::vector<DealAnalysis> analyzeGame(const RecordedGame& game, int threads, const Progress& progress) {
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
                out[i] = analyzeDeal(values, game.deals[i]);
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

nlohmann::json toJson(const DealAnalysis& deal) {
    auto plays = nlohmann::json::array();
    for (const CardAnalysis& card : deal.play.cards) {
        auto best = nlohmann::json::array();
        for (CardCode code : card.best) best.push_back(code);
        plays.push_back({{"seat", card.seat}, {"card", card.card}, {"team0_total", card.team0Total},
                         {"loss", card.loss}, {"best", best}});
    }
    return {{"deal", deal.deal}, {"trump", deal.trump}, {"declarer", deal.declarer},
            {"plays", plays}, {"final", deal.play.finalTeam0}};
}

}  // namespace lerva::analysis

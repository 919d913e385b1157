#include "play_inference.h"

#include "heuristic_bot.h"
#include "rules.h"
#include "trick.h"

namespace lerva {

namespace {

// Zero-point cards of one suit (face cards all have points) say little
// about the hand that played one rather than another.
bool playAlike(CardCode a, CardCode b) {
    return a == b || (suitOf(a) == suitOf(b) && cardPoints(a) == 0 && cardPoints(b) == 0);
}

// The deal's play from its first card, as the view saw it: the tricks done
// and the cards on the table, each card with the seat that played it.
struct Play {
    int seat;
    CardCode card;
};

std::vector<Play> playsSoFar(const PlayerView& view) {
    std::vector<Play> plays;
    for (int t = 0; t < view.tricksDone; ++t)
        for (int i = 0; i < kSeats; ++i)
            plays.push_back({(view.tricks[t].leader + i) % kSeats, view.tricks[t].cards[i]});
    for (int i = 0; i < view.trickSize; ++i) plays.push_back({(view.leader + i) % kSeats, view.trick[i]});
    return plays;
}

// The view at the first card of the play: the bids and trump as now, no
// card played yet.
PlayerView viewAtFirstCard(const PlayerView& view) {
    PlayerView first = view;
    first.leader = view.tricksDone > 0 ? view.tricks[0].leader : view.leader;
    first.trickSize = 0;
    first.trick = {};
    first.tricksDone = 0;
    first.tricks = {};
    first.played = CardSet{};
    first.cardPoints = {};
    first.tricksWon = {};
    first.legalBids = 0;
    first.legalTrumps = 0;
    return first;
}

}  // namespace

double playLikelihood(const PlayerView& view, const std::array<CardSet, kSeats>& hands,
                      const PlayInference& inference) {
    if (!inference.weighsPlays()) return 1.0;
    const std::vector<Play> plays = playsSoFar(view);
    std::array<CardSet, kSeats> held = hands;
    for (const Play& play : plays) held[play.seat].add(play.card);

    HeuristicBot model;
    PlayerView past = viewAtFirstCard(view);
    double likelihood = 1.0;
    for (const Play& play : plays) {
        if (play.seat != view.seat) {
            past.seat = play.seat;
            past.hand = held[play.seat];
            const int led = past.trickSize == 0 ? 0 : ledSuitOf(past.trick[0], view.trump);
            past.legalCards = allowedCards(past.hand, led, view.trump);
            if (past.legalCards.size() > 1 && !playAlike(model.chooseCard(past), play.card))
                likelihood *= play.seat == view.partner() ? inference.partnerUnlikePlay : inference.unlikePlay;
        }
        held[play.seat].remove(play.card);
        past.played.add(play.card);
        past.trick[past.trickSize++] = play.card;
        if (past.trickSize == kSeats) {   // the trick the view saw done, winner and all
            const TrickRecord& record = past.tricks[past.tricksDone] = view.tricks[past.tricksDone];
            ++past.tricksDone;
            past.cardPoints[teamOf(record.winner)] += trickPoints(past.trick);
            ++past.tricksWon[teamOf(record.winner)];
            past.leader = record.winner;
            past.trickSize = 0;
            past.trick = {};
        }
    }
    return likelihood;
}

std::vector<World> drawWorlds(const WorldSampler& sampler, const PlayerView& view, int count,
                              const PlayInference& inference, Rng& rng) {
    std::vector<World> worlds;
    const bool infer =
        inference.weighsPlays() && inference.drawsPerWorld > 1 && view.tricksDone * kSeats + view.trickSize > 0;
    const int draws = infer ? count * inference.drawsPerWorld : count;
    double total = 0;
    for (int n = 0; n < draws; ++n) {
        std::optional<World> world = sampler.sample(rng);
        if (!world) break;
        if (infer) world->weight *= playLikelihood(view, world->hands, inference);
        total += world->weight;
        worlds.push_back(*world);
    }
    if (!infer || worlds.empty() || total <= 0) return worlds;

    // Systematic resampling: `count` evenly spaced marks over the weights,
    // one random offset for all; each world keeps the marks it covers.
    const double step = total / count;
    double mark = step * static_cast<double>(rng.below(1u << 20)) / (1u << 20);
    double reached = 0;
    std::vector<World> kept;
    for (World& world : worlds) {
        reached += world.weight;
        int marks = 0;
        for (; mark < reached; mark += step) ++marks;
        if (marks == 0) continue;
        world.weight = marks;
        kept.push_back(world);
    }
    return kept;
}

}  // namespace lerva

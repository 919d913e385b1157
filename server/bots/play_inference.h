// What the cards the others played say about their hands. A sampled world
// fixes every hand; had the others held those hands and played as the
// heuristic player plays, some of their cards would have come out otherwise.
// Worlds that explain the plays better are likelier, and the strong bot
// solves those: it draws more worlds than it solves and keeps them in
// proportion to how well they explain what was played.
#pragma once

#include <array>
#include <vector>

#include "card_set.h"
#include "player_view.h"
#include "rng.h"
#include "world_sampler.h"

namespace lerva {

struct PlayInference {
    // The factor each opponent's play unlike the heuristic player's counts;
    // 1 or more for both factors turns the inference off (every world
    // explains the plays alike).
    // Chosen by duplicate play (docs/benchmarks.md).
    double unlikePlay = 0.3;
    // The same for the partner's plays: a partner may play on what it
    // sees of its own side's cards, unlike the model.
    double partnerUnlikePlay = 0.3;
    int drawsPerWorld = 3;   // worlds drawn for each world kept

    bool weighsPlays() const { return unlikePlay < 1.0 || partnerUnlikePlay < 1.0; }
};

// How well `hands` (the cards still held, in a world of this view) explain
// the cards the other three played this deal: the product of the factor
// of every play unlike the heuristic player's (the partner's factor for
// the partner's). Zero-point cards of one suit count as alike: they rarely
// say anything about the hand.
double playLikelihood(const PlayerView& view, const std::array<CardSet, kSeats>& hands,
                      const PlayInference& inference);

// `count` draws of worlds for this view, each world's weight its share of
// the draws. With the inference on, `count * drawsPerWorld` worlds are
// drawn, weighed by the sampler and by how well they explain the plays, and
// `count` are kept in proportion to that weight (one world may be kept more
// than once: it then comes once, weighing more). Without it, the sampler's
// worlds as they come, with the sampler's weights.
std::vector<World> drawWorlds(const WorldSampler& sampler, const PlayerView& view, int count,
                              const PlayInference& inference, Rng& rng);

}  // namespace lerva

// What a contract would score for the bidder's team, estimated by playing
// sampled deals out: the unseen cards dealt in ways that agree with the
// bids so far, the bidder declaring with a given trump, four heuristic
// players at the table. Cheap enough to value every trump at every bid.
#pragma once

#include <array>

#include "player_view.h"
#include "rng.h"

namespace lerva {

struct ContractValues {
    // Mean game points for the bidder's team when the bidder declares with
    // suit s as trump (index 1..4); "Ruutu" scores twice the diamonds value.
    std::array<double, 5> bySuit{};
    int deals = 0;
};

// Plays `deals` sampled deals for each suit the bidder could name.
ContractValues estimateContracts(const PlayerView& view, int deals, Rng& rng);

}  // namespace lerva

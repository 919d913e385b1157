// The last trick decides itself: with one card in each hand there is
// nothing to search.
#pragma once

#include "play_state.h"

namespace lerva::solver {

// Value units team 0 wins from a trick start with one trick left.
int lastTrickUnits(const PlayState& state);

}  // namespace lerva::solver

// Bounds on what each team wins from a trick start whatever is played:
// the tricks a hand cashes one after another, which nobody can beat.
#pragma once

#include <array>

#include "play_state.h"

namespace lerva::solver {

// Value units each team is sure of at a trick start.
std::array<int, 2> sureUnits(const PlayState& state);

}  // namespace lerva::solver

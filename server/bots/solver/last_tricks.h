// The last two tricks solved outright: with two cards in each hand there
// are at most sixteen ways to play them, fewer than what it costs to look
// the position up in the tables.
#pragma once

#include "play_state.h"

namespace lerva::solver {

// Value units team 0 wins from a trick start with one trick left.
int lastTrickUnits(const PlayState& state);
// The same with two tricks left: both sides playing their best.
int lastTwoTricksUnits(const PlayState& state);

}  // namespace lerva::solver

// Best-first move ordering. A good first move makes most searches one
// line: a bound search stops at the first move that answers its question.
#pragma once

#include <array>

#include "play_state.h"

namespace lerva::solver {

// Sorts `moves` of `seat` (the player to move) into `order`, best first;
// `remembered` (a card the table kept for this position, or -1) comes
// first of all. Returns the number of moves.
int orderMoves(const PlayState& state, int seat, Mask moves, int remembered, std::array<int, kHandSize>& order);

}  // namespace lerva::solver

// Plays a record's game again through the rules engine: the deal order and
// dealers, every bid, the trump choice, every card, and the tricks, points
// and scores the record claims must be what the engine makes of them.
#pragma once

#include "recorded_game.h"

namespace lerva::analysis {

// Throws RecordError naming the line of the first disagreement.
void replayAndCheck(const RecordedGame& game);

}  // namespace lerva::analysis

// The transposition key of a position at a trick start. Positions that
// differ only in which cardless low cards (6 to 9) are gone play alike:
// what counts is who holds each card still in play in the order of its
// block, and which cards with points are still there. So the key keeps the
// owners in order and the point cards, not the cards themselves.
#pragma once

#include <cstdint>

#include "play_state.h"

namespace lerva::solver {

struct PositionKey {
    std::uint64_t owners = 0;    // owner of each card in play, in layout order, 2 bits each
    std::uint64_t shape = 0;     // which cards with points are in play, low cards per block, leader
    std::uint64_t outline = 0;   // cards in play per block, leader: the shape blind to points
};

PositionKey positionKey(const PlayState& state);

// The one hash of the tables: two words of a key mixed into one.
constexpr std::uint64_t mixHash(std::uint64_t a, std::uint64_t b) {
    return (a ^ b * 0xC2B2AE3D27D4EB4FULL) * 0x9E3779B97F4A7C15ULL;
}

}  // namespace lerva::solver

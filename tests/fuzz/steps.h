// The byte format of a fuzz input, shared by the fuzz target and the seed
// generator.
//
// An input is a run of steps; each starts with a tag byte:
//   0..128   a server block: that many bytes follow, the rest of the 128 are
//            zero (so tag 128 gives a block with no NUL at all);
//   129..255 a move of the local player, by (tag - 129) % 3:
//            a click on the table at (clickX(b1), clickY(b2)),
//            a bid button, bid b % 11 (0 pass, 10 the diamonds bid),
//            a trump button, suit b % 4 + 1.
// Bytes missing at the end of the input read as zero.
#pragma once

#include <cstdint>

namespace lerva::fuzz {

constexpr std::uint8_t kLongestBlockTag = 128;
constexpr std::uint8_t kClickTag = 129;
constexpr std::uint8_t kBidTag = 130;
constexpr std::uint8_t kTrumpTag = 131;

enum class Move { Click, Bid, Trump };
constexpr Move moveOf(std::uint8_t tag) { return static_cast<Move>((tag - kClickTag) % 3); }

// Clicks land around the local hand (x 173..527 and y 380..474 with nine
// cards) and a little beyond, so misses happen too.
constexpr int clickX(std::uint8_t b) { return 160 + b * 380 / 255; }
constexpr int clickY(std::uint8_t b) { return 370 + b % 110; }

constexpr int bidButton(std::uint8_t b) { return b % 11; }
constexpr int trumpButton(std::uint8_t b) { return b % 4 + 1; }

}  // namespace lerva::fuzz

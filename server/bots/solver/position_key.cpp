#include "position_key.h"

#include <bit>

namespace lerva::solver {

namespace {

// kPacked[alive][bits]: the bits of `bits` at the places set in `alive` (six
// cards of a block), moved down next to each other in order.
constexpr std::array<std::array<std::uint8_t, 64>, 64> kPacked = [] {
    std::array<std::array<std::uint8_t, 64>, 64> packed{};
    for (int alive = 0; alive < 64; ++alive)
        for (int bits = 0; bits < 64; ++bits) {
            int out = 0, shift = 0;
            for (int b = 0; b < 6; ++b)
                if (alive >> b & 1) out |= (bits >> b & 1) << shift++;
            packed[alive][bits] = static_cast<std::uint8_t>(out);
        }
    return packed;
}();

constexpr const std::array<std::uint8_t, 64>& kCount = kSixCount;

}  // namespace

PositionKey positionKey(const PlayState& state) {
    constexpr Mask lowCards = Mask{0xF} | Mask{0xF} << 6 | Mask{0xF} << 12 | Mask{0xF} << 18;
    const Mask alive = state.alive;
    const Mask ownerLow = state.hands[1] | state.hands[3];
    const Mask ownerHigh = state.hands[2] | state.hands[3];
    // The owners of the cards in play in layout order, six cards at a time:
    // the low bit of each owner in one word, the high bit in the other.
    std::uint64_t low = 0, high = 0;
    int shift = 0;
    for (int chunk = 0; chunk < 6; ++chunk) {
        const int six = static_cast<int>(alive >> (6 * chunk) & 0x3F);
        low |= std::uint64_t{kPacked[six][ownerLow >> (6 * chunk) & 0x3F]} << shift;
        high |= std::uint64_t{kPacked[six][ownerHigh >> (6 * chunk) & 0x3F]} << shift;
        shift += kCount[six];
    }
    PositionKey key;
    key.owners = low | high << 36;   // at most 36 cards: the high bits above 28 spill
    std::uint64_t shape = alive & ~lowCards;   // the point cards themselves: bits 4, 5, 10, 11, ... 35
    for (int block = 0; block < 4; ++block)
        shape |= static_cast<std::uint64_t>(kCount[alive >> (6 * block) & 0xF]) << (36 + 3 * block);
    key.shape = shape | (high >> 28) << 48 | static_cast<std::uint64_t>(state.leader) << 62;
    const std::uint64_t trumps = kCount[alive >> 18 & 0x3F] + kCount[alive >> 24 & 0x3F] + kCount[alive >> 30 & 0x3F];
    key.outline = key.shape >> 48 | std::uint64_t{kCount[alive & 0x3F]} << 16 | std::uint64_t{kCount[alive >> 6 & 0x3F]} << 19 |
                  std::uint64_t{kCount[alive >> 12 & 0x3F]} << 22 | trumps << 25;
    return key;
}

}  // namespace lerva::solver

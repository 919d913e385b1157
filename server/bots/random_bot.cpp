#include "random_bot.h"

#include <bit>

namespace lerva {

int RandomBot::pickBit(std::uint64_t bits) {
    int skip = static_cast<int>(rng_.below(static_cast<std::uint32_t>(std::popcount(bits))));
    while (skip-- > 0) bits &= bits - 1;
    return std::countr_zero(bits);
}

}  // namespace lerva

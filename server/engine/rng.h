// A small, fast random generator whose sequence is the same on every
// platform and standard library, so that a seed repeats the same deals
// everywhere (std::uniform_int_distribution does not promise that).
#pragma once

#include <cstdint>

namespace lerva {

// xoshiro256** seeded through splitmix64.
class Rng {
public:
    explicit Rng(std::uint64_t seed = 0) {
        for (auto& word : state_) word = splitmix(seed);
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, n), without the bias of a plain modulo.
    std::uint32_t below(std::uint32_t n) {
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
        std::uint64_t x;
        do x = next(); while (x >= limit);
        return static_cast<std::uint32_t>(x % n);
    }

    // A seed for another generator, derived so that streams do not overlap.
    std::uint64_t fork() { return next() ^ 0x9e3779b97f4a7c15ULL; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static std::uint64_t splitmix(std::uint64_t& x) {
        std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::uint64_t state_[4];
};

}  // namespace lerva

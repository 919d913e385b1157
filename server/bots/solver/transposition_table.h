// What the search learnt at trick starts, in two tables. The first keeps
// bounds on a position's value under its exact key. The second keeps, for
// each outline (the cards in play and their owners in the order of their
// blocks, whatever the points of each card), the last position's bounds:
// a position of the same outline differs only in the points of its cards,
// so those bounds hold for it too, widened by the points that differ.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "position_key.h"

namespace lerva::solver {

struct Bounds {
    int lower = 0;
    int upper = 0;
};

class TranspositionTable {
public:
    TranspositionTable();

    // Makes everything stored stale.
    void forget();

    struct Found {
        Bounds bounds;
        int best = -1;   // the card that answered last time, or -1
    };
    std::optional<Found> find(const PositionKey& key) const;
    // The bounds a position of the same outline gives this one.
    std::optional<Bounds> alike(const PositionKey& key, Mask alive) const;

    // The search answered `value` to the question "at least `target`?".
    void store(const PositionKey& key, Mask alive, int tricksLeft, int value, int target, int best);

private:
    struct Entry {
        std::uint64_t owners = 0;
        std::uint64_t shape = 0;
        std::int16_t lower = 0;
        std::int16_t upper = 0;
        std::int8_t best = -1;
        std::int8_t tricksLeft = 0;
        std::uint16_t generation = 0;
    };
    struct PatternEntry {
        std::uint64_t owners = 0;
        std::uint64_t outline = 0;
        Mask alive = 0;
        std::int16_t lower = 0;
        std::int16_t upper = 0;
        std::uint16_t generation = 0;
    };
    std::size_t bucketIndex(const PositionKey& key) const;   // the first of its two entries
    std::ptrdiff_t slotOf(const PositionKey& key) const;     // the entry holding the key, or -1
    std::size_t patternIndex(const PositionKey& key) const;
    void storeBound(const PositionKey& key, int tricksLeft, int value, int target, int best);
    void storePattern(const PositionKey& key, Mask alive, int value, int target);

    // Sizes in entries, as powers of two; measured on whole deals, larger
    // tables save nodes but lose as much to cache misses (benchmarks).
    static constexpr int kTableBits = 18;
    static constexpr int kPatternBits = 18;

    std::vector<Entry> entries_;
    std::vector<PatternEntry> patterns_;
    std::uint16_t generation_ = 1;
};

}  // namespace lerva::solver

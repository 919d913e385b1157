#include "transposition_table.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace lerva::solver {

namespace {

constexpr std::int16_t kNoUpper = std::numeric_limits<std::int16_t>::max();

// Two positions of one outline differ only in the points of their cards,
// card for card in the order of each block: every line of play of one is a
// line of the other, and a side takes the same cards in both. So going from
// the position of `from` to that of `to` a side's value falls at most by the
// points of the cards that are worth less in `to`, and rises at most by
// those worth more. Returns {fall, rise} in value units.
std::array<int, 2> pointsApart(Mask from, Mask to) {
    std::array<int, 2> apart{};
    for (int block = 0; block < 4; ++block) {
        Mask x = from & blockMask(block), y = to & blockMask(block);
        if (x == y) continue;
        for (; x != 0; x &= x - 1, y &= y - 1) {
            const int difference = kLayoutPoints[std::countr_zero(y)] - kLayoutPoints[std::countr_zero(x)];
            apart[difference > 0] += difference < 0 ? -difference : difference;
        }
    }
    return {kUnitsPerPoint * apart[0], kUnitsPerPoint * apart[1]};
}

// What a search answered, kept in a stored pair of bounds.
void tighten(std::int16_t& lower, std::int16_t& upper, int value, int target) {
    if (value >= target) lower = static_cast<std::int16_t>(std::max<int>(lower, value));
    else upper = static_cast<std::int16_t>(std::min<int>(upper, value));
}

}  // namespace

TranspositionTable::TranspositionTable()
    : entries_(std::size_t{1} << kTableBits), patterns_(std::size_t{1} << kPatternBits) {}

// A new generation makes every stored entry stale without clearing the
// table; only when the counter wraps is the table wiped.
void TranspositionTable::forget() {
    if (++generation_ != 0) return;
    std::fill(entries_.begin(), entries_.end(), Entry{});
    std::fill(patterns_.begin(), patterns_.end(), PatternEntry{});
    generation_ = 1;
}

// Two entries share a bucket: a position of this search in either of them
// is found, and a new one takes the place of a stale entry or of the one
// with fewer tricks left, whose search was cheaper to repeat.
std::size_t TranspositionTable::bucketIndex(const PositionKey& key) const {
    return (mixHash(key.owners, key.shape) >> (64 - kTableBits)) & ~std::size_t{1};
}

std::ptrdiff_t TranspositionTable::slotOf(const PositionKey& key) const {
    const std::size_t bucket = bucketIndex(key);
    for (std::size_t i = bucket; i < bucket + 2; ++i) {
        const Entry& entry = entries_[i];
        if (entry.owners == key.owners && entry.shape == key.shape && entry.generation == generation_)
            return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

std::size_t TranspositionTable::patternIndex(const PositionKey& key) const {
    return mixHash(key.owners, key.outline) >> (64 - kPatternBits);
}

std::optional<TranspositionTable::Found> TranspositionTable::find(const PositionKey& key) const {
    const std::ptrdiff_t slot = slotOf(key);
    if (slot < 0) return std::nullopt;
    const Entry& entry = entries_[static_cast<std::size_t>(slot)];
    return Found{{entry.lower, entry.upper}, entry.best};
}

std::optional<Bounds> TranspositionTable::alike(const PositionKey& key, Mask alive) const {
    const PatternEntry& pattern = patterns_[patternIndex(key)];
    if (pattern.generation != generation_ || pattern.owners != key.owners || pattern.outline != key.outline)
        return std::nullopt;
    const auto [fall, rise] = pointsApart(pattern.alive, alive);
    return Bounds{pattern.lower - fall, pattern.upper + rise};
}

void TranspositionTable::store(const PositionKey& key, Mask alive, int tricksLeft, int value, int target, int best) {
    storeBound(key, tricksLeft, value, target, best);
    storePattern(key, alive, value, target);
}

void TranspositionTable::storeBound(const PositionKey& key, int tricksLeft, int value, int target, int best) {
    const std::ptrdiff_t slot = slotOf(key);
    Entry* entry = slot >= 0 ? &entries_[static_cast<std::size_t>(slot)] : nullptr;
    if (entry == nullptr) {
        Entry* bucket = &entries_[bucketIndex(key)];
        auto worth = [&](const Entry& e) { return e.generation == generation_ ? e.tricksLeft : -1; };
        entry = worth(bucket[0]) <= worth(bucket[1]) ? &bucket[0] : &bucket[1];
        *entry = Entry{key.owners, key.shape, 0, kNoUpper, -1, static_cast<std::int8_t>(tricksLeft), generation_};
    }
    tighten(entry->lower, entry->upper, value, target);
    if (best >= 0) entry->best = static_cast<std::int8_t>(best);
}

// The newest position of an outline takes its place: the searches nearby
// ask about it and its like.
void TranspositionTable::storePattern(const PositionKey& key, Mask alive, int value, int target) {
    PatternEntry& entry = patterns_[patternIndex(key)];
    if (entry.generation != generation_ || entry.owners != key.owners || entry.outline != key.outline ||
        entry.alive != alive)
        entry = PatternEntry{key.owners, key.outline, alive, 0, kNoUpper, generation_};
    tighten(entry.lower, entry.upper, value, target);
}

}  // namespace lerva::solver

// An exact solver of the open-card play: all four hands known, it finds what
// each side takes against best play by the other. It searches on bounds (is
// "team gets at least T" true?), which is the cheapest question for
// alpha-beta; each answer comes back as a bound on the value, often tighter
// than T, and exact values take a few such questions. A transposition
// table at trick starts, a second one that answers for positions alike but
// for the points of their cards (within those points), best-first move
// ordering (which knows who can still beat a card or ruff a lead) and the
// merging of interchangeable cards solve five tricks in a quarter of a
// millisecond; a whole deal still takes some 35 ms (median), which is why
// the strong bot solves fewer worlds early in a deal.
//
// Values are counted in units of 10 per card point plus 1 per trick, so that
// one number tells both what a deal's score depends on: the card points, and
// whether a side took no trick at all.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "card_layout.h"
#include "card_set.h"
#include "rng.h"

namespace lerva::solver {

constexpr int kUnitsPerPoint = 10;

// A position of the play. The hands hold the cards not yet played; the
// current trick's cards lie in play order from its leader.
struct Position {
    std::array<CardSet, kSeats> hands{};
    int trump = kDiamonds;
    int leader = 0;
    int trickSize = 0;
    std::array<CardCode, kSeats> trick{};

    int toMove() const { return (leader + trickSize) % kSeats; }
};

struct SolverOptions {
    // 0: best-first move ordering. Otherwise the moves are tried in an order
    // drawn from this seed, which must not change any result.
    std::uint64_t shuffleSeed = 0;
};

class Solver {
public:
    explicit Solver(SolverOptions options = {});

    // Starts on a position; what was learnt about another one is forgotten.
    // The hands must hold as many cards as the trick leaves them to play.
    void setPosition(const Position& position);

    // Cards the player to move may play.
    CardSet legalCards() const;
    // The legal cards that play differently from each other: of cards that
    // are interchangeable here, the highest stands for them all.
    CardSet distinctLegalCards() const;
    // The card that stands for `card` in distinctLegalCards().
    CardCode representative(CardCode card) const;
    // Value units still to be won, the current trick included.
    int remainingUnits() const { return remainingUnits_; }
    int remainingPoints() const { return (remainingUnits_ - tricksLeft_) / kUnitsPerPoint; }

    // Does `team` win at least `target` value units of the rest of the deal
    // (the current trick included), now or after the player to move plays
    // `card` (which must be legal)?
    bool teamReaches(int team, int target);
    bool teamReachesAfter(CardCode card, int team, int target);

    // Card points `team` takes from here against best play.
    int teamPoints(int team);

    struct Result {
        int points = 0;   // for the side to move
        CardSet bestMoves;
    };
    // What the side to move takes, and every card that achieves it.
    Result solve();

    // Search nodes visited since construction (for benchmarks).
    std::uint64_t nodes() const { return nodes_; }

    // Once nodes() passes `nodes`, every search stops at once: what it
    // answers then means nothing, and none of it enters the table, so the
    // caller checks stopped() and throws the answers away. 0: no limit.
    // stopped() tells of the searches since this call or setPosition().
    void setNodeLimit(std::uint64_t nodes) {
        nodeLimit_ = nodes != 0 ? nodes : ~std::uint64_t{0};
        stopped_ = false;
    }
    bool stopped() const { return stopped_; }

private:
    struct Key {
        std::uint64_t owners = 0;    // owner of each card in play, in layout order, 2 bits each
        std::uint64_t shape = 0;     // which cards with points are in play, low cards per block, leader
        std::uint64_t outline = 0;   // cards in play per block, leader: the shape blind to points
    };
    struct Entry {
        std::uint64_t owners = 0;
        std::uint64_t shape = 0;
        std::int16_t lower = 0;
        std::int16_t upper = 0;
        std::int8_t best = -1;
        std::int8_t tricksLeft = 0;
        std::uint16_t generation = 0;
    };
    // The last bounds learnt on a position of each outline: the cards in
    // play and their owners in the order of their blocks, whatever the
    // points of each card.
    struct PatternEntry {
        std::uint64_t owners = 0;
        std::uint64_t outline = 0;
        Mask alive = 0;
        std::int16_t lower = 0;
        std::int16_t upper = 0;
        std::uint16_t generation = 0;
    };
    Entry* bucketOf(std::uint64_t hash);
    Entry* findEntry(const Key& key, std::uint64_t hash);
    void storeBound(const Key& key, std::uint64_t hash, int value, int target, int best);
    PatternEntry& patternOf(const Key& key);
    void storePattern(const Key& key, int value, int target);

    Key positionKey() const;
    int lastTrickWinner() const;
    int topRunUnits(int seat, Mask cards) const;
    std::array<int, 2> sureUnits() const;
    int search(int target);
    int playAndSearch(int seat, int bit, int target);
    int orderMoves(int seat, Mask moves, int ttBest, std::array<int, kHandSize>& order);
    Mask legalMask(int seat) const;
    int alikeAbove(int seat, int bit) const;
    bool opponentCanBeat(int seat, int bit) const;
    Mask distinctMoves(int seat, Mask legal) const;
    int team0Bound(int target, int bit);
    bool team0Reaches(int team, int target, int bit);

    // 2^18 entries in buckets of two: measured on whole deals, a larger table
    // saves nodes but loses as much to cache misses, and a smaller one thrashes.
    static constexpr int kTableBits = 18;
    static constexpr int kPatternBits = 18;

    SolverOptions options_;
    Rng shuffle_;
    std::vector<Entry> table_;
    std::vector<PatternEntry> patterns_;
    std::uint16_t generation_ = 0;
    std::uint64_t nodes_ = 0;
    std::uint64_t nodeLimit_ = ~std::uint64_t{0};
    bool stopped_ = false;

    CardLayout layout_{kDiamonds};
    int trump_ = 0;
    std::array<Mask, kSeats> hands_{};
    Mask alive_ = 0;        // cards in the hands and on the table
    std::array<int, kSeats> trick_{};
    int trickSize_ = 0;
    int leader_ = 0;
    int tricksLeft_ = 0;
    int remainingUnits_ = 0;
};

}  // namespace lerva::solver

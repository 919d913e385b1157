// An exact solver of the open-card play: all four hands known, it finds what
// each side takes against best play by the other. It searches on bounds (is
// "team gets at least T" true?), which is the cheapest question for
// alpha-beta; each answer comes back as a bound on the value, often tighter
// than T, and exact values take a few such questions. Its parts, each in its
// own file: the position key (position_key), the tables of what was learnt
// at trick starts (transposition_table), best-first move ordering that knows
// who can still beat a card or ruff a lead (move_order), the tricks a side
// is sure of (quick_tricks), and the search here, which also merges cards
// that play alike. Its speed is measured by server_bench (BM_Solver*) and
// written down in docs/benchmarks.md.
//
// Values are counted in units of 10 per card point plus 1 per trick, so that
// one number tells both what a deal's score depends on: the card points, and
// whether a side took no trick at all.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "card_set.h"
#include "play_state.h"
#include "rng.h"
#include "transposition_table.h"

namespace lerva::solver {

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
    // Keep what was learnt when setPosition moves to another position of
    // the same trump. The table's keys describe whole positions, so what
    // holds for one holds wherever it comes up again: a player who solves
    // every card of one deal reuses the search of the cards before.
    bool keepTable = false;
};

class Solver {
public:
    explicit Solver(SolverOptions options = {});

    // Starts on a position; what was learnt about another one is forgotten
    // unless the options keep the table (and the trump is the same).
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
    int remainingUnits() const { return state_.remainingUnits; }
    int remainingPoints() const { return (state_.remainingUnits - state_.tricksLeft) / kUnitsPerPoint; }

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
    int search(int target);
    int playAndSearch(int seat, int bit, int target);
    int movesInOrder(int seat, int remembered, std::array<int, kHandSize>& order);
    int alikeAbove(int seat, int bit) const;
    Mask distinctMoves(int seat, Mask legal) const;
    int team0Bound(int target, int bit);
    bool team0Reaches(int team, int target, int bit);

    SolverOptions options_;
    Rng shuffle_;
    TranspositionTable table_;
    std::uint64_t nodes_ = 0;
    std::uint64_t nodeLimit_ = ~std::uint64_t{0};
    bool stopped_ = false;

    CardLayout layout_{kDiamonds};
    int trump_ = 0;
    PlayState state_;
};

}  // namespace lerva::solver

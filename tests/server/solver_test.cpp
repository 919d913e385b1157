#include <gtest/gtest.h>

#include <algorithm>

#include "deal.h"
#include "rules.h"
#include "scoring.h"
#include "solver.h"
#include "trick.h"

namespace lerva::test {
namespace {

using solver::Position;
using solver::Solver;
using solver::kUnitsPerPoint;

CardSet legalCards(const Position& p) {
    const int led = p.trickSize == 0 ? 0 : ledSuitOf(p.trick[0], p.trump);
    return allowedCards(p.hands[p.toMove()], led, p.trump);
}

// Plays `card` for the player to move; returns the units team 0 gains.
int play(Position& p, CardCode card) {
    p.hands[p.toMove()].remove(card);
    p.trick[p.trickSize++] = card;
    if (p.trickSize < kSeats) return 0;
    const int winner = (p.leader + trickWinner(p.trick, p.trump)) % kSeats;
    const int units = kUnitsPerPoint * trickPoints(p.trick) + 1;
    p.leader = winner;
    p.trickSize = 0;
    p.trick = {};
    return teamOf(winner) == 0 ? units : 0;
}

// Every line of play, no pruning, on the engine's own rule functions: the
// value units team 0 wins from here.
int minimax(const Position& p) {
    if (p.hands[p.toMove()].empty()) return 0;
    const bool team0 = teamOf(p.toMove()) == 0;
    int best = team0 ? -1 : 1 << 20;
    for (CardCode card : legalCards(p)) {
        Position next = p;
        const int value = play(next, card) + minimax(next);
        best = team0 ? std::max(best, value) : std::min(best, value);
    }
    return best;
}

int unitsLeft(const Position& p) {
    int units = 0, cards = p.trickSize;
    for (int i = 0; i < p.trickSize; ++i) units += kUnitsPerPoint * cardPoints(p.trick[i]);
    for (const CardSet& hand : p.hands) {
        cards += hand.size();
        for (CardCode card : hand) units += kUnitsPerPoint * cardPoints(card);
    }
    return units + cards / kSeats;
}

// A random deal played at random until `cardsLeft` cards are still to be
// played (any place in a trick).
Position randomPosition(Rng& rng, int cardsLeft) {
    const Hands hands = dealHands(rng);
    Position p;
    for (int seat = 0; seat < kSeats; ++seat) p.hands[seat] = CardSet::of(hands[seat]);
    p.trump = static_cast<int>(rng.below(4)) + 1;
    p.leader = static_cast<int>(rng.below(4));
    for (int played = 0; played < kDeckSize - cardsLeft; ++played) {
        const CardSet legal = legalCards(p);
        int skip = static_cast<int>(rng.below(static_cast<std::uint32_t>(legal.size())));
        for (CardCode card : legal)
            if (skip-- == 0) play(p, card);
    }
    return p;
}

TEST(Solver, AgreesWithExhaustiveMinimaxOnEndings) {
    Rng rng(2024);
    Solver solver;
    int checked = 0;
    for (int cardsLeft = 1; cardsLeft <= 16; ++cardsLeft) {
        const int positions = cardsLeft <= 12 ? 150 : 40;
        for (int n = 0; n < positions; ++n, ++checked) {
            const Position p = randomPosition(rng, cardsLeft);
            const int team0 = minimax(p);
            const int mover = teamOf(p.toMove());
            const int moverUnits = mover == 0 ? team0 : unitsLeft(p) - team0;
            solver.setPosition(p);
            ASSERT_TRUE(solver.teamReaches(0, team0)) << cardsLeft << " cards, position " << n;
            ASSERT_FALSE(solver.teamReaches(0, team0 + 1)) << cardsLeft << " cards, position " << n;
            ASSERT_EQ(solver.teamPoints(mover), moverUnits / kUnitsPerPoint);

            // The best moves are exactly those after which minimax keeps the value.
            CardSet best;
            std::array<int, kDeckSize> afterCard{};
            for (CardCode card : legalCards(p)) {
                Position next = p;
                const int after = play(next, card) + minimax(next);
                afterCard[cardIndex(card)] = after;
                const int moverAfter = mover == 0 ? after : unitsLeft(p) - after;
                if (moverAfter / kUnitsPerPoint == moverUnits / kUnitsPerPoint) best.add(card);
            }
            // A card and the one that stands for it play alike.
            CardSet representatives;
            for (CardCode card : legalCards(p)) {
                const CardCode stand = solver.representative(card);
                ASSERT_TRUE(legalCards(p).contains(stand));
                ASSERT_EQ(afterCard[cardIndex(stand)], afterCard[cardIndex(card)]) << cardsLeft << " cards, position " << n;
                representatives.add(stand);
            }
            ASSERT_EQ(representatives, solver.distinctLegalCards());
            const Solver::Result result = solver.solve();
            ASSERT_EQ(result.points, moverUnits / kUnitsPerPoint);
            ASSERT_EQ(result.bestMoves, best) << cardsLeft << " cards, position " << n;
        }
    }
    EXPECT_GE(checked, 1960);
}

TEST(Solver, MoveOrderNeverChangesTheResult) {
    Rng rng(77);
    Solver ordered;
    std::vector<Solver> shuffled;
    for (std::uint64_t seed = 1; seed <= 3; ++seed) shuffled.emplace_back(solver::SolverOptions{.shuffleSeed = seed});
    for (int n = 0; n < 60; ++n) {
        const Position p = randomPosition(rng, 16 + n % 13);   // 4 to 7 tricks left
        ordered.setPosition(p);
        const Solver::Result expected = ordered.solve();
        for (Solver& other : shuffled) {
            other.setPosition(p);
            const Solver::Result result = other.solve();
            ASSERT_EQ(result.points, expected.points) << "position " << n;
            ASSERT_EQ(result.bestMoves, expected.bestMoves) << "position " << n;
        }
    }
}

// A kept table holds what earlier positions of other deals taught it: it
// must answer each new position as a fresh solver does (keys that missed
// part of a position would mix two positions up here).
TEST(Solver, AKeptTableAnswersAsAFreshOne) {
    Rng rng(5);
    Solver keeping(solver::SolverOptions{.keepTable = true});
    for (int n = 0; n < 60;) {
        const Position p = randomPosition(rng, 12 + n % 13);   // 3 to 6 tricks left
        if (p.trump != kHearts) continue;                      // one trump: the table is kept throughout
        ++n;
        Solver fresh;
        fresh.setPosition(p);
        keeping.setPosition(p);
        const Solver::Result expected = fresh.solve();
        const Solver::Result result = keeping.solve();
        ASSERT_EQ(result.points, expected.points) << "position " << n;
        ASSERT_EQ(result.bestMoves, expected.bestMoves) << "position " << n;
    }
}

// A search cut short by the node limit must leave nothing false in the
// table: once the limit is lifted, the same position solves as from fresh.
TEST(Solver, AStoppedSearchLeavesTheTableSound) {
    Rng rng(31);
    Solver fresh, cut;
    for (int n = 0; n < 24; ++n) {
        const Position p = randomPosition(rng, 20 + n % 9);   // 5 to 7 tricks left
        fresh.setPosition(p);
        const Solver::Result expected = fresh.solve();
        cut.setPosition(p);
        cut.setNodeLimit(cut.nodes() + 10 + 100 * (n % 6));
        cut.solve();
        ASSERT_TRUE(cut.stopped()) << "position " << n;
        cut.setNodeLimit(0);
        const Solver::Result result = cut.solve();
        ASSERT_FALSE(cut.stopped());
        ASSERT_EQ(result.points, expected.points) << "position " << n;
        ASSERT_EQ(result.bestMoves, expected.bestMoves) << "position " << n;
    }
}

}  // namespace
}  // namespace lerva::test

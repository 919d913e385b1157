// The state of the play the search walks through, in layout bits: who
// holds which card, the cards still in play, the trick so far. Every part
// of the solver reads it through the same few helpers: who moves, who
// played a card of the trick, which card wins it.
#pragma once

#include <array>

#include "card_layout.h"

namespace lerva::solver {

constexpr int kUnitsPerPoint = 10;

constexpr Mask bitMask(int bit) { return Mask{1} << bit; }
constexpr int teamOfSeat(int seat) { return seat & 1; }
constexpr int seatAfter(int seat, int steps) { return (seat + steps) % kSeats; }
// The bits strictly above `bit`.
constexpr Mask above(int bit) { return ~((bitMask(bit) << 1) - 1); }
constexpr int highestBit(Mask mask) { return 63 - std::countl_zero(mask); }

// The place of the card that wins the first `count` cards of a trick (in
// play order): the highest of the led card's block and the trumps.
constexpr int winningPlace(const std::array<int, kSeats>& trick, int count) {
    const Mask contending = blockMask(blockOf(trick[0])) | blockMask(kTrumpBlock);
    int best = 0;
    for (int i = 1; i < count; ++i)
        if ((contending & (Mask{1} << trick[i])) && trick[i] > trick[best]) best = i;
    return best;
}

struct PlayState {
    std::array<Mask, kSeats> hands{};
    Mask alive = 0;                  // cards in the hands and on the table
    std::array<int, kSeats> trick{}; // in play order from the leader
    int trickSize = 0;
    int leader = 0;
    int tricksLeft = 0;
    int remainingUnits = 0;          // value units still to be won, the trick on the table included

    int toMove() const { return seatAfter(leader, trickSize); }
    // Who played the trick's card at `place` (0: the leader).
    int seatAt(int place) const { return seatAfter(leader, place); }
    // The block whose cards, with the trumps, can win the trick.
    Mask contenders() const { return blockMask(blockOf(trick[0])) | blockMask(kTrumpBlock); }
    int winningPlace(int count) const { return solver::winningPlace(trick, count); }
    // The cards `seat` may play: it follows the led block if it can.
    Mask legalMask(int seat) const {
        const Mask hand = hands[seat];
        if (trickSize == 0) return hand;
        const Mask follow = hand & blockMask(blockOf(trick[0]));
        return follow != 0 ? follow : hand;
    }
};

}  // namespace lerva::solver

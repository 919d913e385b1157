#include "last_tricks.h"

#include <algorithm>
#include <bit>

namespace lerva::solver {

namespace {

// One card in each hand: the trick decides itself.
int oneCardEach(const std::array<Mask, kSeats>& hands, int leader) {
    std::array<int, kSeats> trick{};
    for (int place = 0; place < kSeats; ++place) trick[place] = std::countr_zero(hands[seatAfter(leader, place)]);
    const int winner = seatAfter(leader, winningPlace(trick, kSeats));
    const Mask cards = hands[0] | hands[1] | hands[2] | hands[3];
    return teamOfSeat(winner) == 0 ? kUnitsPerPoint * maskPoints(cards) + 1 : 0;
}

// Every way to play the rest of the next-to-last trick from `place` on,
// each side taking its best; `trick` holds the cards played so far.
int playOn(std::array<Mask, kSeats>& hands, int leader, int place, std::array<int, kSeats>& trick) {
    if (place == kSeats) {
        const int winner = seatAfter(leader, winningPlace(trick, kSeats));
        const Mask cards = bitMask(trick[0]) | bitMask(trick[1]) | bitMask(trick[2]) | bitMask(trick[3]);
        const int units = teamOfSeat(winner) == 0 ? kUnitsPerPoint * maskPoints(cards) + 1 : 0;
        return units + oneCardEach(hands, winner);
    }
    const int seat = seatAfter(leader, place);
    Mask legal = hands[seat];
    if (place > 0 && (legal & blockMask(blockOf(trick[0]))) != 0) legal &= blockMask(blockOf(trick[0]));
    const bool maximising = teamOfSeat(seat) == 0;
    int value = maximising ? -1 : 1 << 20;
    for (; legal != 0; legal &= legal - 1) {
        const Mask card = legal & -legal;
        hands[seat] ^= card;
        trick[place] = std::countr_zero(card);
        const int child = playOn(hands, leader, place + 1, trick);
        hands[seat] ^= card;
        value = maximising ? std::max(value, child) : std::min(value, child);
    }
    return value;
}

}  // namespace

int lastTrickUnits(const PlayState& state) { return oneCardEach(state.hands, state.leader); }

int lastTwoTricksUnits(const PlayState& state) {
    std::array<Mask, kSeats> hands = state.hands;
    std::array<int, kSeats> trick{};
    return playOn(hands, state.leader, 0, trick);
}

}  // namespace lerva::solver

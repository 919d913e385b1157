#include "last_trick.h"

#include <bit>

namespace lerva::solver {

int lastTrickUnits(const PlayState& state) {
    std::array<int, kSeats> trick{};
    for (int place = 0; place < kSeats; ++place) trick[place] = std::countr_zero(state.hands[state.seatAt(place)]);
    const int winner = state.seatAt(winningPlace(trick, kSeats));
    return teamOfSeat(winner) == 0 ? state.remainingUnits : 0;
}

}  // namespace lerva::solver

#include "quick_tricks.h"

#include <bit>

namespace lerva::solver {

namespace {

// The units of the cards at the top of `cards` that `seat` holds: a run of
// winners once it is that hand's turn to play them.
int topRunUnits(const PlayState& state, int seat, Mask cards) {
    int units = 0;
    while (cards != 0) {
        const int top = highestBit(cards);
        if (!(state.hands[seat] & bitMask(top))) break;
        units += kUnitsPerPoint * kLayoutPoints[top] + 1;
        cards ^= bitMask(top);
    }
    return units;
}

}  // namespace

// The highest trump in play wins the trick it falls in, and so does every
// trump just below it in the same hand (one hand's cards fall in different
// tricks). When the leader holds every trump left, its top cards in each
// plain block win too: it can lead them one after another. (Counting also
// the plain winners that opponents with trumps must follow saves hardly a
// node on whole deals and costs more than it saves.)
std::array<int, 2> sureUnits(const PlayState& state) {
    std::array<int, 2> sure{};
    const Mask trumps = state.alive & blockMask(kTrumpBlock);
    if (trumps != 0) {
        const int top = highestBit(trumps);
        int seat = 0;
        while (!(state.hands[seat] & bitMask(top))) ++seat;
        sure[teamOfSeat(seat)] += topRunUnits(state, seat, trumps);
    }
    if ((trumps & ~state.hands[state.leader]) == 0)
        for (int block = 0; block < kTrumpBlock; ++block)
            sure[teamOfSeat(state.leader)] += topRunUnits(state, state.leader, state.alive & blockMask(block));
    return sure;
}

}  // namespace lerva::solver

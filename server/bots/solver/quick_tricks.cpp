#include "quick_tricks.h"

#include <algorithm>
#include <bit>

namespace lerva::solver {

namespace {

// The units of at most `limit` cards at the top of `cards` that `seat`
// holds: a run of winners once it is that hand's turn to play them.
int topRunUnits(const PlayState& state, int seat, Mask cards, int limit = kHandSize) {
    int units = 0;
    for (int k = 0; k < limit && cards != 0; ++k) {
        const int top = highestBit(cards);
        if (!(state.hands[seat] & bitMask(top))) break;
        units += kUnitsPerPoint * kLayoutPoints[top] + 1;
        cards ^= bitMask(top);
    }
    return units;
}

// The leader's quick tricks: its top trumps, then the top cards of each
// plain block, cashed one after another. A plain winner is safe while
// every opponent who still holds a trump must follow to it; its trumps
// falling to the trumps led leave its plain cards as they were.
int leaderQuickUnits(const PlayState& state) {
    const Mask trumps = state.alive & blockMask(kTrumpBlock);
    int units = topRunUnits(state, state.leader, trumps);
    for (int block = 0; block < kTrumpBlock; ++block) {
        const Mask cards = state.alive & blockMask(block);
        int limit = kHandSize;
        for (int step = 1; step < kSeats; step += 2) {
            const Mask other = state.hands[seatAfter(state.leader, step)];
            if (other & trumps) limit = std::min(limit, std::popcount(other & cards));
        }
        units += topRunUnits(state, state.leader, cards, limit);
    }
    return units;
}

}  // namespace

// The highest trump in play wins the trick it falls in, and so does every
// trump just below it in the same hand (one hand's cards fall in different
// tricks). The leader's team is also sure of the leader's quick tricks.
std::array<int, 2> sureUnits(const PlayState& state) {
    std::array<int, 2> sure{};
    const Mask trumps = state.alive & blockMask(kTrumpBlock);
    if (trumps != 0) {
        const int top = highestBit(trumps);
        int seat = 0;
        while (!(state.hands[seat] & bitMask(top))) ++seat;
        sure[teamOfSeat(seat)] += topRunUnits(state, seat, trumps);
    }
    const int team = teamOfSeat(state.leader);
    sure[team] = std::max(sure[team], leaderQuickUnits(state));
    return sure;
}

}  // namespace lerva::solver

#include "move_order.h"

#include <bit>
#include <utility>

namespace lerva::solver {

namespace {

// The weights of the order. A lead: a card nobody can beat or ruff, a card
// the partner ruffs, a low card to the partner's top card, something cheap,
// and last the cards an opponent ruffs. A follow: a card that takes the
// trick for sure, points first; points onto a trick the partner takes for
// sure; a winner the opponents may still beat; cheap discards. Points and
// card strength shift a card within its group.
namespace weight {
constexpr int kRemembered = 1000;
constexpr int kLeadSafeTop = 60;             // plus the card's points
constexpr int kLeadTopOpponentsRuff = 5;     // minus points
constexpr int kLeadPartnerRuffs = 50;        // minus points
constexpr int kLeadToPartnersTop = 45;       // minus points
constexpr int kLeadCheap = 20;               // minus points
constexpr int kLeadTrumpCost = 6;            // a cheap trump lead spends a trump
constexpr int kLeadOpponentsRuff = -10;      // minus points
constexpr int kFollowTakesSure = 70;         // plus points, minus strength
constexpr int kFollowBeatsForNow = 55;       // plus points, minus strength
constexpr int kFollowTakesForPartner = 50;   // plus points
constexpr int kFollowOntoSurePartner = 40;   // plus points
constexpr int kFollowDiscard = 30;           // minus twice the points, minus strength
constexpr int kFollowUnderPartner = 20;      // minus points
constexpr int kFollowOvertakeCost = 10;      // beating the partner's card
constexpr int kStrengthPerFollowBit = 4;     // a stronger winner costs more
constexpr int kStrengthPerDiscardBit = 6;
}  // namespace weight

// Can an opponent of `seat` still to play in this trick beat `bit`?
bool opponentCanBeat(const PlayState& state, int seat, int bit) {
    const Mask led = blockMask(blockOf(state.trick[0]));
    const Mask beaters = state.contenders() & above(bit);
    for (int later = state.trickSize + 1; later < kSeats; ++later) {
        const int other = state.seatAt(later);
        if (teamOfSeat(other) == teamOfSeat(seat)) continue;
        const Mask hand = state.hands[other];
        if (((hand & led) != 0 ? hand & led : hand) & beaters) return true;
    }
    return false;
}

// A bit per plain block whose lead the partner (index 0) or an opponent
// (index 1) of `seat` can ruff.
std::array<int, 2> ruffedBlocks(const PlayState& state, int seat) {
    std::array<int, 2> ruffs{};
    for (int step = 1; step < kSeats; ++step) {
        const Mask hand = state.hands[seatAfter(seat, step)];
        if ((hand & blockMask(kTrumpBlock)) == 0) continue;
        for (int block = 0; block < kTrumpBlock; ++block)
            if ((hand & blockMask(block)) == 0) ruffs[step == 2 ? 0 : 1] |= 1 << block;
    }
    return ruffs;
}

int leadScore(const PlayState& state, int seat, int bit, const std::array<int, 2>& ruffs) {
    using namespace weight;
    const int points = kLayoutPoints[bit];
    const int block = blockOf(bit);
    const Mask inPlay = state.alive & blockMask(block);
    const bool top = (inPlay & above(bit) & ~state.hands[seat]) == 0;
    const bool opponentsRuff = ruffs[1] >> block & 1;
    if (top) return opponentsRuff ? kLeadTopOpponentsRuff - points : kLeadSafeTop + points;
    if (opponentsRuff) return kLeadOpponentsRuff - points;
    if (ruffs[0] >> block & 1) return kLeadPartnerRuffs - points;
    if (state.hands[seatAfter(seat, 2)] & bitMask(highestBit(inPlay))) return kLeadToPartnersTop - points;
    return kLeadCheap - points - (block == kTrumpBlock ? kLeadTrumpCost : 0);
}

}  // namespace

int orderMoves(const PlayState& state, int seat, Mask moves, int remembered, std::array<int, kHandSize>& order) {
    using namespace weight;
    std::array<int, kHandSize> score{};
    int count = 0;
    int winner = -1;
    bool ours = false;   // the partner's card wins the trick so far
    bool sure = false;   // and nobody still to play can beat it
    std::array<int, 2> ruffs{};
    if (state.trickSize > 0) {
        const int place = state.winningPlace(state.trickSize);
        winner = state.trick[place];
        ours = teamOfSeat(state.seatAt(place)) == teamOfSeat(seat);
        sure = ours && !opponentCanBeat(state, seat, winner);
    } else {
        ruffs = ruffedBlocks(state, seat);
    }
    const Mask contending = state.trickSize > 0 ? state.contenders() : 0;
    for (Mask rest = moves; rest != 0; rest &= rest - 1) {
        const int bit = std::countr_zero(rest);
        const int points = kLayoutPoints[bit];
        int s;
        if (state.trickSize == 0) {
            s = leadScore(state, seat, bit, ruffs);
        } else {
            const bool beats = (contending & bitMask(bit)) && bit > winner;
            const bool takes = beats && !opponentCanBeat(state, seat, bit);
            if (ours)
                s = sure ? kFollowOntoSurePartner + points
                  : takes ? kFollowTakesForPartner + points
                          : kFollowUnderPartner - points - (beats ? kFollowOvertakeCost : 0);
            else if (beats)
                s = (takes ? kFollowTakesSure : kFollowBeatsForNow) + points - bit / kStrengthPerFollowBit;
            else
                s = kFollowDiscard - 2 * points - bit / kStrengthPerDiscardBit;
        }
        if (bit == remembered) s = kRemembered;
        order[count] = bit;
        score[count] = s;
        ++count;
    }
    for (int i = 1; i < count; ++i)   // insertion sort, highest score first
        for (int k = i; k > 0 && score[k] > score[k - 1]; --k) {
            std::swap(score[k], score[k - 1]);
            std::swap(order[k], order[k - 1]);
        }
    return count;
}

}  // namespace lerva::solver

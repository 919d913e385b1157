#include "solver.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "last_trick.h"
#include "move_order.h"
#include "quick_tricks.h"

namespace lerva::solver {

namespace {

constexpr std::array<CardLayout, 5> kLayouts = {CardLayout(kDiamonds), CardLayout(kDiamonds),
                                                CardLayout(kHearts), CardLayout(kSpades),
                                                CardLayout(kClubs)};

}  // namespace

Solver::Solver(SolverOptions options) : options_(options), shuffle_(options.shuffleSeed) {}

void Solver::setPosition(const Position& position) {
    const int trump = isValidSuit(position.trump) ? position.trump : kDiamonds;
    if (!options_.keepTable || trump != trump_) table_.forget();
    stopped_ = false;
    trump_ = trump;
    layout_ = kLayouts[trump_];
    PlayState& s = state_;
    s.alive = 0;
    int cards = 0;
    for (int seat = 0; seat < kSeats; ++seat) {
        s.hands[seat] = layout_.toMask(position.hands[seat]);
        s.alive |= s.hands[seat];
        cards += position.hands[seat].size();
    }
    s.leader = position.leader;
    s.trickSize = position.trickSize;
    for (int i = 0; i < s.trickSize; ++i) {
        s.trick[i] = layout_.bitOf(position.trick[i]);
        s.alive |= bitMask(s.trick[i]);
    }
    s.tricksLeft = (cards + s.trickSize) / kSeats;
    s.remainingUnits = kUnitsPerPoint * maskPoints(s.alive) + s.tricksLeft;
}

// The next stronger card still in play when it is of the same hand, block
// and points as `bit` (the two play alike), else -1.
int Solver::alikeAbove(int seat, int bit) const {
    const Mask higher = state_.alive & above(bit);
    if (higher == 0) return -1;
    const int next = std::countr_zero(higher);
    return (state_.hands[seat] & bitMask(next)) && equivalenceClass(next) == equivalenceClass(bit) ? next : -1;
}

// Drops every legal card that plays like the next one up: one of them is enough.
Mask Solver::distinctMoves(int seat, Mask legal) const {
    Mask moves = 0;
    for (Mask rest = legal; rest != 0; rest &= rest - 1) {
        const int bit = std::countr_zero(rest);
        if (alikeAbove(seat, bit) < 0) moves |= bitMask(bit);
    }
    return moves;
}

CardSet Solver::legalCards() const { return layout_.toCards(state_.legalMask(state_.toMove())); }

CardSet Solver::distinctLegalCards() const {
    const int seat = state_.toMove();
    return layout_.toCards(distinctMoves(seat, state_.legalMask(seat)));
}

// Walks up from the card to the top of its run of alike cards, the one
// distinctMoves keeps.
CardCode Solver::representative(CardCode card) const {
    const int seat = state_.toMove();
    int bit = layout_.bitOf(card);
    for (int next; (next = alikeAbove(seat, bit)) >= 0;) bit = next;
    return layout_.cardOf(bit);
}

// The distinct legal moves of `seat`, best first (or shuffled, when the
// options ask for it); returns how many.
int Solver::movesInOrder(int seat, int remembered, std::array<int, kHandSize>& order) {
    Mask moves = state_.legalMask(seat);
    if ((moves & (moves - 1)) != 0) moves = distinctMoves(seat, moves);
    if ((moves & (moves - 1)) == 0) {   // one way to play: nothing to order
        order[0] = std::countr_zero(moves);
        return 1;
    }
    const int count = orderMoves(state_, seat, moves, remembered, order);
    if (options_.shuffleSeed != 0)
        for (int i = count - 1; i > 0; --i) std::swap(order[i], order[shuffle_.below(static_cast<std::uint32_t>(i + 1))]);
    return count;
}

// Is team 0's share of the value units still in play at least `target`?
// The answer is a bound on that share: a value v >= target means the share
// is at least v, a value below target means it is at most v. A bound tighter
// than the question asked lets the table answer later questions too.
int Solver::search(int target) {
    if (++nodes_ > nodeLimit_) {
        stopped_ = true;
        return 0;
    }
    const PlayState& s = state_;
    if (target <= 0) return 0;
    if (target > s.remainingUnits) return s.remainingUnits;

    bool stored = false;
    PositionKey key;
    int remembered = -1;
    int floor = 0;                     // what team 0 is sure of
    int ceiling = s.remainingUnits;    // what it can take at most
    // Narrows both by what is known; true when that answers the question,
    // and the answer is then the bound on the side the question fell.
    auto narrowed = [&](Bounds known) {
        floor = std::max(floor, known.lower);
        ceiling = std::min(ceiling, known.upper);
        return floor >= target || ceiling < target;
    };
    auto answer = [&] { return floor >= target ? floor : ceiling; };
    if (s.trickSize == 0) {
        if (s.tricksLeft == 1) return lastTrickUnits(s);
        const std::array<int, 2> sure = sureUnits(s);
        if (narrowed({sure[0], s.remainingUnits - sure[1]})) return answer();
        // The cards still held and the leader fix the position: every card
        // belongs to the hand it was dealt to.
        key = positionKey(s);
        stored = true;
        if (const auto found = table_.find(key)) {
            remembered = found->best;   // a card of the same place in a like position, maybe absent here
            if (narrowed(found->bounds)) return answer();
        }
        if (const auto alike = table_.alike(key, s.alive))
            if (narrowed(*alike)) return answer();
    }

    const int seat = s.toMove();
    std::array<int, kHandSize> order{};
    const int count = movesInOrder(seat, remembered, order);
    const bool maximising = teamOfSeat(seat) == 0;
    // Without a cut, the bound is the best of the children's bounds on the
    // side of the question they answered.
    int value = maximising ? -1 : std::numeric_limits<std::int16_t>::max();
    int best = -1;
    for (int i = 0; i < count; ++i) {
        const int child = playAndSearch(seat, order[i], target);
        if (stopped_) return 0;
        if ((child >= target) == maximising) {
            value = child;
            best = order[i];
            break;
        }
        value = maximising ? std::max(value, child) : std::min(value, child);
    }
    value = std::clamp(value, floor, ceiling);
    if (stored) table_.store(key, s.alive, s.tricksLeft, value, target, best);
    return value;
}

int Solver::playAndSearch(int seat, int bit, int target) {
    PlayState& s = state_;
    s.hands[seat] ^= bitMask(bit);
    s.trick[s.trickSize++] = bit;
    int result;
    if (s.trickSize < kSeats) {
        result = search(target);
    } else {
        const int winner = s.seatAt(s.winningPlace(kSeats));
        const Mask cards = bitMask(s.trick[0]) | bitMask(s.trick[1]) | bitMask(s.trick[2]) | bitMask(s.trick[3]);
        const int units = kUnitsPerPoint * maskPoints(cards) + 1;
        const int oldLeader = s.leader;
        const std::array<int, kSeats> finished = s.trick;   // the next trick writes over it
        s.alive &= ~cards;
        s.remainingUnits -= units;
        --s.tricksLeft;
        s.leader = winner;
        s.trickSize = 0;
        result = teamOfSeat(winner) == 0 ? units + search(target - units) : search(target);
        s.trickSize = kSeats;
        s.trick = finished;
        s.leader = oldLeader;
        ++s.tricksLeft;
        s.remainingUnits += units;
        s.alive |= cards;
    }
    --s.trickSize;
    s.hands[seat] ^= bitMask(bit);
    return result;
}

// A bound on team 0's units for the question "at least target?", now or
// after the player to move plays `bit`.
int Solver::team0Bound(int target, int bit) {
    return bit < 0 ? search(target) : playAndSearch(state_.toMove(), bit, target);
}

// Team 1 reaches T exactly when team 0 does not reach (all that is left) - T + 1.
bool Solver::team0Reaches(int team, int target, int bit) {
    if (team == 0) return team0Bound(target, bit) >= target;
    const int team0Target = state_.remainingUnits - target + 1;
    return team0Bound(team0Target, bit) < team0Target;
}

bool Solver::teamReaches(int team, int target) { return team0Reaches(team, target, -1); }

bool Solver::teamReachesAfter(CardCode card, int team, int target) {
    return team0Reaches(team, target, layout_.bitOf(card));
}

// Narrows team 0's units between what it is known to reach and what it is
// known to miss, asking at the middle of what is left open; every answer's
// bound can close more than half. Card points are the units over ten: the
// tricks counted in them never add up to a point.
int Solver::teamPoints(int team) {
    int low = 0;                          // team 0 reaches at least this
    int high = state_.remainingUnits;     // and at most this
    while (low / kUnitsPerPoint < high / kUnitsPerPoint && !stopped_) {
        // Does team 0 reach the next whole point above the middle?
        const int midPoint = (low / kUnitsPerPoint + high / kUnitsPerPoint + 1) / 2;
        const int target = kUnitsPerPoint * midPoint;
        const int bound = search(target);
        if (bound >= target) low = bound;
        else high = bound;
    }
    const int team0Points = low / kUnitsPerPoint;
    return team == 0 ? team0Points : remainingPoints() - team0Points;
}

Solver::Result Solver::solve() {
    const int team = teamOfSeat(state_.toMove());
    Result result;
    result.points = teamPoints(team);
    for (CardCode card : legalCards())
        if (teamReachesAfter(card, team, kUnitsPerPoint * result.points)) result.bestMoves.add(card);
    return result;
}

}  // namespace lerva::solver

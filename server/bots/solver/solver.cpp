#include "solver.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace lerva::solver {

namespace {

constexpr std::array<CardLayout, 5> kLayouts = {CardLayout(kDiamonds), CardLayout(kDiamonds),
                                                CardLayout(kHearts), CardLayout(kSpades),
                                                CardLayout(kClubs)};

constexpr Mask bitMask(int bit) { return Mask{1} << bit; }
constexpr int teamOfSeat(int seat) { return seat & 1; }

// kPacked[alive][bits]: the bits of `bits` at the places set in `alive` (six
// cards of a block), moved down next to each other in order.
constexpr std::array<std::array<std::uint8_t, 64>, 64> kPacked = [] {
    std::array<std::array<std::uint8_t, 64>, 64> packed{};
    for (int alive = 0; alive < 64; ++alive)
        for (int bits = 0; bits < 64; ++bits) {
            int out = 0, shift = 0;
            for (int b = 0; b < 6; ++b)
                if (alive >> b & 1) out |= (bits >> b & 1) << shift++;
            packed[alive][bits] = static_cast<std::uint8_t>(out);
        }
    return packed;
}();

// Cards among six, by table: without a popcount instruction in the build,
// std::popcount is a library call in the key's hot loop.
constexpr std::array<std::uint8_t, 64> kCount = [] {
    std::array<std::uint8_t, 64> count{};
    for (int bits = 0; bits < 64; ++bits) count[bits] = static_cast<std::uint8_t>(std::popcount(static_cast<unsigned>(bits)));
    return count;
}();

// Two positions of one outline differ only in the points of their cards,
// card for card in the order of each block: every line of play of one is a
// line of the other, and a side takes the same cards in both. So going from
// the position of `from` to that of `to` a side's value falls at most by the
// points of the cards that are worth less in `to`, and rises at most by
// those worth more. Returns {fall, rise} in value units.
std::array<int, 2> pointsApart(Mask from, Mask to) {
    std::array<int, 2> apart{};
    for (int block = 0; block < 4; ++block) {
        Mask x = from & blockMask(block), y = to & blockMask(block);
        if (x == y) continue;
        for (; x != 0; x &= x - 1, y &= y - 1) {
            const int difference = kLayoutPoints[std::countr_zero(y)] - kLayoutPoints[std::countr_zero(x)];
            apart[difference > 0] += difference < 0 ? -difference : difference;
        }
    }
    return {kUnitsPerPoint * apart[0], kUnitsPerPoint * apart[1]};
}

// What a search answered, kept in a stored pair of bounds.
void tighten(std::int16_t& lower, std::int16_t& upper, int value, int target) {
    if (value >= target) lower = static_cast<std::int16_t>(std::max<int>(lower, value));
    else upper = static_cast<std::int16_t>(std::min<int>(upper, value));
}

}  // namespace

Solver::Solver(SolverOptions options)
    : options_(options), shuffle_(options.shuffleSeed),
      table_(std::size_t{1} << kTableBits), patterns_(std::size_t{1} << kPatternBits) {}

void Solver::setPosition(const Position& position) {
    // A new generation makes every stored entry stale without clearing the
    // table; only when the counter wraps is the table wiped.
    if (++generation_ == 0) {
        std::fill(table_.begin(), table_.end(), Entry{});
        std::fill(patterns_.begin(), patterns_.end(), PatternEntry{});
        generation_ = 1;
    }
    stopped_ = false;
    trump_ = isValidSuit(position.trump) ? position.trump : kDiamonds;
    layout_ = kLayouts[trump_];
    alive_ = 0;
    int cards = 0;
    for (int seat = 0; seat < kSeats; ++seat) {
        hands_[seat] = layout_.toMask(position.hands[seat]);
        alive_ |= hands_[seat];
        cards += position.hands[seat].size();
    }
    leader_ = position.leader;
    trickSize_ = position.trickSize;
    for (int i = 0; i < trickSize_; ++i) {
        trick_[i] = layout_.bitOf(position.trick[i]);
        alive_ |= bitMask(trick_[i]);
    }
    tricksLeft_ = (cards + trickSize_) / kSeats;
    remainingUnits_ = kUnitsPerPoint * maskPoints(alive_) + tricksLeft_;
}

Mask Solver::legalMask(int seat) const {
    const Mask hand = hands_[seat];
    if (trickSize_ == 0) return hand;
    const Mask follow = hand & blockMask(blockOf(trick_[0]));
    return follow != 0 ? follow : hand;
}

// The next stronger card still in play when it is of the same hand, block
// and points as `bit` (the two play alike), else -1.
int Solver::alikeAbove(int seat, int bit) const {
    const Mask above = alive_ & ~((bitMask(bit) << 1) - 1);
    if (above == 0) return -1;
    const int next = std::countr_zero(above);
    return (hands_[seat] & bitMask(next)) && equivalenceClass(next) == equivalenceClass(bit) ? next : -1;
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

CardSet Solver::legalCards() const { return layout_.toCards(legalMask((leader_ + trickSize_) % kSeats)); }

CardSet Solver::distinctLegalCards() const {
    const int seat = (leader_ + trickSize_) % kSeats;
    return layout_.toCards(distinctMoves(seat, legalMask(seat)));
}

// Walks up from the card to the top of its run of alike cards, the one
// distinctMoves keeps.
CardCode Solver::representative(CardCode card) const {
    const int seat = (leader_ + trickSize_) % kSeats;
    int bit = layout_.bitOf(card);
    for (int next; (next = alikeAbove(seat, bit)) >= 0;) bit = next;
    return layout_.cardOf(bit);
}

// Can an opponent of `seat` still to play in this trick beat `bit`?
bool Solver::opponentCanBeat(int seat, int bit) const {
    const Mask led = blockMask(blockOf(trick_[0]));
    const Mask beaters = (led | blockMask(kTrumpBlock)) & ~((bitMask(bit) << 1) - 1);
    for (int later = trickSize_ + 1; later < kSeats; ++later) {
        const int other = (leader_ + later) % kSeats;
        if (teamOfSeat(other) == teamOfSeat(seat)) continue;
        const Mask hand = hands_[other];
        if (((hand & led) != 0 ? hand & led : hand) & beaters) return true;
    }
    return false;
}

// Best-first. A lead: a card nobody can beat or ruff, a card the partner
// ruffs, a low card to the partner's top card, something cheap, and last
// the cards an opponent ruffs. A follow: a card that takes the trick for
// sure, points first; points onto a trick the partner takes for sure; a
// winner the opponents may still beat; cheap discards. The move the table
// remembers comes first of all. A good first move makes most searches one
// line: ordering by who can still beat a card or ruff a lead took the
// search of a whole deal from 4.8M nodes to 1.5M.
int Solver::orderMoves(int seat, Mask moves, int ttBest, std::array<int, kHandSize>& order) {
    std::array<int, kHandSize> score{};
    int count = 0;
    const Mask trumps = blockMask(kTrumpBlock);
    int winner = -1;
    bool ours = false;     // the partner's card wins the trick so far
    bool sure = false;     // and nobody still to play can beat it
    Mask contenders = 0;
    int opponentRuffs = 0, partnerRuffs = 0;   // a bit per plain block whose lead that side can ruff
    if (trickSize_ > 0) {
        contenders = blockMask(blockOf(trick_[0])) | trumps;
        winner = trick_[0];
        int winnerIndex = 0;
        for (int i = 1; i < trickSize_; ++i)
            if ((contenders & bitMask(trick_[i])) && trick_[i] > winner) winner = trick_[i], winnerIndex = i;
        ours = teamOfSeat(leader_ + winnerIndex) == teamOfSeat(seat);
        sure = ours && !opponentCanBeat(seat, winner);
    } else {
        for (int step = 1; step < kSeats; ++step) {
            const Mask hand = hands_[(seat + step) % kSeats];
            if ((hand & trumps) == 0) continue;
            for (int block = 0; block < kTrumpBlock; ++block)
                if ((hand & blockMask(block)) == 0) (step == 2 ? partnerRuffs : opponentRuffs) |= 1 << block;
        }
    }
    for (Mask rest = moves; rest != 0; rest &= rest - 1) {
        const int bit = std::countr_zero(rest);
        const int points = kLayoutPoints[bit];
        int s;
        if (trickSize_ == 0) {
            const int block = blockOf(bit);
            const Mask inPlay = alive_ & blockMask(block);
            const bool top = (inPlay & ~((bitMask(bit) << 1) - 1) & ~hands_[seat]) == 0;
            const bool ruffed = opponentRuffs >> block & 1;
            if (top) s = ruffed ? 5 - points : 60 + points;
            else if (ruffed) s = -10 - points;
            else if (partnerRuffs >> block & 1) s = 50 - points;
            else if (hands_[(seat + 2) % kSeats] >> (63 - std::countl_zero(inPlay)) & 1) s = 45 - points;   // the partner's top card
            else s = 20 - points - (block == kTrumpBlock ? 6 : 0);
        } else {
            const bool beats = (contenders & bitMask(bit)) && bit > winner;
            const bool takes = beats && !opponentCanBeat(seat, bit);
            if (ours) s = sure ? 40 + points : takes ? 50 + points : 20 - points - (beats ? 10 : 0);
            else if (beats) s = (takes ? 70 : 55) + points - bit / 4;
            else s = 30 - 2 * points - bit / 6;
        }
        if (bit == ttBest) s = 1000;
        order[count] = bit;
        score[count] = s;
        ++count;
    }
    if (options_.shuffleSeed != 0) {
        for (int i = count - 1; i > 0; --i) std::swap(order[i], order[shuffle_.below(static_cast<std::uint32_t>(i + 1))]);
        return count;
    }
    for (int i = 1; i < count; ++i)   // insertion sort, highest score first
        for (int k = i; k > 0 && score[k] > score[k - 1]; --k) {
            std::swap(score[k], score[k - 1]);
            std::swap(order[k], order[k - 1]);
        }
    return count;
}

// Positions that differ only in which cardless low cards (6 to 9) are gone
// play alike: what counts is who holds each card still in play in the order
// of its block, and which cards with points are still there. So the key
// keeps the owners in order and the point cards, not the cards themselves.
Solver::Key Solver::positionKey() const {
    constexpr Mask lowCards = Mask{0xF} | Mask{0xF} << 6 | Mask{0xF} << 12 | Mask{0xF} << 18;
    const Mask ownerLow = hands_[1] | hands_[3];
    const Mask ownerHigh = hands_[2] | hands_[3];
    // The owners of the cards in play in layout order, six cards at a time:
    // the low bit of each owner in one word, the high bit in the other.
    std::uint64_t low = 0, high = 0;
    int shift = 0;
    for (int chunk = 0; chunk < 6; ++chunk) {
        const int alive = static_cast<int>(alive_ >> (6 * chunk) & 0x3F);
        low |= std::uint64_t{kPacked[alive][ownerLow >> (6 * chunk) & 0x3F]} << shift;
        high |= std::uint64_t{kPacked[alive][ownerHigh >> (6 * chunk) & 0x3F]} << shift;
        shift += kCount[alive];
    }
    Key key;
    key.owners = low | high << 36;   // at most 36 cards: the high bits above 28 spill
    std::uint64_t shape = alive_ & ~lowCards;   // the point cards themselves: bits 4, 5, 10, 11, ... 35
    for (int block = 0; block < 4; ++block)
        shape |= static_cast<std::uint64_t>(kCount[alive_ >> (6 * block) & 0xF]) << (36 + 3 * block);
    key.shape = shape | (high >> 28) << 48 | static_cast<std::uint64_t>(leader_) << 62;
    const std::uint64_t trumps = kCount[alive_ >> 18 & 0x3F] + kCount[alive_ >> 24 & 0x3F] + kCount[alive_ >> 30 & 0x3F];
    key.outline = key.shape >> 48 | std::uint64_t{kCount[alive_ & 0x3F]} << 16 | std::uint64_t{kCount[alive_ >> 6 & 0x3F]} << 19 |
                  std::uint64_t{kCount[alive_ >> 12 & 0x3F]} << 22 | trumps << 25;
    return key;
}

// With one card in each hand, the trick decides itself.
int Solver::lastTrickWinner() const {
    const Mask contenders = blockMask(blockOf(std::countr_zero(hands_[leader_]))) | blockMask(kTrumpBlock);
    int winner = leader_;
    for (int seat = 0; seat < kSeats; ++seat)
        if ((hands_[seat] & contenders) && hands_[seat] > hands_[winner]) winner = seat;
    return winner;
}

// The units of the cards at the top of `cards` that `seat` holds: a run of
// winners once it is that hand's turn to play them.
int Solver::topRunUnits(int seat, Mask cards) const {
    int units = 0;
    while (cards != 0) {
        const int top = 63 - std::countl_zero(cards);
        if (!(hands_[seat] & bitMask(top))) break;
        units += kUnitsPerPoint * kLayoutPoints[top] + 1;
        cards ^= bitMask(top);
    }
    return units;
}

// Units each team wins at a trick start whatever is played. The highest
// trump in play wins the trick it falls in, and so does every trump just
// below it in the same hand (one hand's cards fall in different tricks).
// When the leader holds every trump left, its top cards in each plain
// block win too: it can lead them one after another.
std::array<int, 2> Solver::sureUnits() const {
    std::array<int, 2> sure{};
    const Mask trumps = alive_ & blockMask(kTrumpBlock);
    if (trumps != 0) {
        const int top = 63 - std::countl_zero(trumps);
        int seat = 0;
        while (!(hands_[seat] & bitMask(top))) ++seat;
        sure[teamOfSeat(seat)] += topRunUnits(seat, trumps);
    }
    if ((trumps & ~hands_[leader_]) == 0)
        for (int block = 0; block < kTrumpBlock; ++block)
            sure[teamOfSeat(leader_)] += topRunUnits(leader_, alive_ & blockMask(block));
    return sure;
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
    if (target <= 0) return 0;
    if (target > remainingUnits_) return remainingUnits_;

    bool stored = false;
    std::uint64_t hash = 0;
    Key key;
    int ttBest = -1;
    int floor = 0;                    // what team 0 is sure of
    int ceiling = remainingUnits_;    // what it can take at most
    // Narrows both by what is known; true when that answers the question,
    // and the answer is then the bound on the side the question fell.
    auto narrowed = [&](int lower, int upper) {
        floor = std::max(floor, lower);
        ceiling = std::min(ceiling, upper);
        return floor >= target || ceiling < target;
    };
    auto answer = [&] { return floor >= target ? floor : ceiling; };
    if (trickSize_ == 0) {
        if (tricksLeft_ == 1) return teamOfSeat(lastTrickWinner()) == 0 ? remainingUnits_ : 0;
        const std::array<int, 2> sure = sureUnits();
        if (narrowed(sure[0], remainingUnits_ - sure[1])) return answer();
        // The cards still held and the leader fix the position: every card
        // belongs to the hand it was dealt to.
        key = positionKey();
        hash = (key.owners ^ key.shape * 0xC2B2AE3D27D4EB4FULL) * 0x9E3779B97F4A7C15ULL;
        stored = true;
        if (const Entry* found = findEntry(key, hash)) {
            ttBest = found->best;   // a card of the same place in a like position, maybe absent here
            if (narrowed(found->lower, found->upper)) return answer();
        }
        const PatternEntry& pattern = patternOf(key);
        if (pattern.generation == generation_ && pattern.owners == key.owners && pattern.outline == key.outline) {
            const auto [fall, rise] = pointsApart(pattern.alive, alive_);
            if (narrowed(pattern.lower - fall, pattern.upper + rise)) return answer();
        }
    }

    const int seat = (leader_ + trickSize_) % kSeats;
    Mask moves = legalMask(seat);
    if ((moves & (moves - 1)) != 0) moves = distinctMoves(seat, moves);
    std::array<int, kHandSize> order{};
    int count = 1;
    if ((moves & (moves - 1)) == 0) order[0] = std::countr_zero(moves);   // one way to play: nothing to order
    else count = orderMoves(seat, moves, ttBest, order);
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

    if (stored) {
        storeBound(key, hash, value, target, best);
        storePattern(key, value, target);
    }
    return value;
}

// Two entries share a bucket: a position of this search in either of them
// is found, and a new one takes the place of a stale entry or of the one
// with fewer tricks left, whose search was cheaper to repeat.
Solver::Entry* Solver::bucketOf(std::uint64_t hash) { return &table_[(hash >> (64 - kTableBits)) & ~std::uint64_t{1}]; }

Solver::Entry* Solver::findEntry(const Key& key, std::uint64_t hash) {
    Entry* bucket = bucketOf(hash);
    for (int i = 0; i < 2; ++i)
        if (bucket[i].owners == key.owners && bucket[i].shape == key.shape && bucket[i].generation == generation_)
            return &bucket[i];
    return nullptr;
}

void Solver::storeBound(const Key& key, std::uint64_t hash, int value, int target, int best) {
    Entry* entry = findEntry(key, hash);
    if (entry == nullptr) {
        Entry* bucket = bucketOf(hash);
        auto worth = [&](const Entry& e) { return e.generation == generation_ ? e.tricksLeft : -1; };
        entry = worth(bucket[0]) <= worth(bucket[1]) ? &bucket[0] : &bucket[1];
        *entry = Entry{key.owners, key.shape, 0, std::numeric_limits<std::int16_t>::max(), -1,
                       static_cast<std::int8_t>(tricksLeft_), generation_};
    }
    tighten(entry->lower, entry->upper, value, target);
    if (best >= 0) entry->best = static_cast<std::int8_t>(best);
}

Solver::PatternEntry& Solver::patternOf(const Key& key) {
    const std::uint64_t hash = (key.owners ^ key.outline * 0xC2B2AE3D27D4EB4FULL) * 0x9E3779B97F4A7C15ULL;
    return patterns_[hash >> (64 - kPatternBits)];
}

// The newest position of an outline takes its place: the searches nearby
// ask about it and its like.
void Solver::storePattern(const Key& key, int value, int target) {
    PatternEntry& entry = patternOf(key);
    if (entry.generation != generation_ || entry.owners != key.owners || entry.outline != key.outline ||
        entry.alive != alive_)
        entry = PatternEntry{key.owners, key.outline, alive_, 0, std::numeric_limits<std::int16_t>::max(), generation_};
    tighten(entry.lower, entry.upper, value, target);
}

int Solver::playAndSearch(int seat, int bit, int target) {
    hands_[seat] ^= bitMask(bit);
    trick_[trickSize_++] = bit;
    int result;
    if (trickSize_ < kSeats) {
        result = search(target);
    } else {
        const Mask contenders = blockMask(blockOf(trick_[0])) | blockMask(kTrumpBlock);
        int winnerIndex = 0;
        Mask cards = bitMask(trick_[0]);
        for (int i = 1; i < kSeats; ++i) {
            cards |= bitMask(trick_[i]);
            if ((contenders & bitMask(trick_[i])) && trick_[i] > trick_[winnerIndex]) winnerIndex = i;
        }
        const int winner = (leader_ + winnerIndex) % kSeats;
        const int units = kUnitsPerPoint * (kLayoutPoints[trick_[0]] + kLayoutPoints[trick_[1]] +
                                            kLayoutPoints[trick_[2]] + kLayoutPoints[trick_[3]]) + 1;
        const int oldLeader = leader_;
        const std::array<int, kSeats> finished = trick_;   // the next trick writes over it
        alive_ &= ~cards;
        remainingUnits_ -= units;
        --tricksLeft_;
        leader_ = winner;
        trickSize_ = 0;
        result = teamOfSeat(winner) == 0 ? units + search(target - units) : search(target);
        trickSize_ = kSeats;
        trick_ = finished;
        leader_ = oldLeader;
        ++tricksLeft_;
        remainingUnits_ += units;
        alive_ |= cards;
    }
    --trickSize_;
    hands_[seat] ^= bitMask(bit);
    return result;
}

// A bound on team 0's units for the question "at least target?", now or
// after the player to move plays `bit`.
int Solver::team0Bound(int target, int bit) {
    return bit < 0 ? search(target) : playAndSearch((leader_ + trickSize_) % kSeats, bit, target);
}

// Team 1 reaches T exactly when team 0 does not reach (all that is left) - T + 1.
bool Solver::team0Reaches(int team, int target, int bit) {
    if (team == 0) return team0Bound(target, bit) >= target;
    const int team0Target = remainingUnits_ - target + 1;
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
    int low = 0;                        // team 0 reaches at least this
    int high = remainingUnits_;         // and at most this
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
    const int team = teamOfSeat((leader_ + trickSize_) % kSeats);
    Result result;
    result.points = teamPoints(team);
    for (CardCode card : legalCards())
        if (teamReachesAfter(card, team, kUnitsPerPoint * result.points)) result.bestMoves.add(card);
    return result;
}

}  // namespace lerva::solver

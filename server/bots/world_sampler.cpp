#include "world_sampler.h"

#include <algorithm>
#include <cmath>

#include "hand_eval.h"

namespace lerva {

namespace {

constexpr int kDrawAttempts = 64;

double logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }

double choose(int n, int k) {
    double ways = 1;
    for (int i = 1; i <= k; ++i) ways = ways * (n - k + i) / i;
    return ways;
}

// `count` cards of `cards`, every such choice alike likely.
CardSet randomSubset(CardSet cards, int count, Rng& rng) {
    std::array<CardCode, kDeckSize> pool{};
    int size = 0;
    for (CardCode card : cards) pool[size++] = card;
    CardSet chosen;
    for (int i = 0; i < count; ++i) {
        const int pick = i + static_cast<int>(rng.below(static_cast<std::uint32_t>(size - i)));
        std::swap(pool[i], pool[pick]);
        chosen.add(pool[i]);
    }
    return chosen;
}

}  // namespace

WorldSampler::WorldSampler(const PlayerView& view) : view_(view), known_(view) {
    auto note = [&](int leader, const std::array<CardCode, kSeats>& cards, int count) {
        for (int i = 0; i < count; ++i) playedBy_[(leader + i) % kSeats].add(cards[i]);
    };
    for (int t = 0; t < view.tricksDone; ++t) note(view.tricks[t].leader, view.tricks[t].cards, kSeats);
    if (view.trickSize > 0) note(view.leader, view.trick, view.trickSize);
    for (int seat = 0; seat < kSeats; ++seat)
        held_[seat] = seat == view.seat ? view.hand.size() : kHandSize - playedBy_[seat].size();
}

bool WorldSampler::mayHold(int seat, CardCode card) const {
    if (seat == view_.seat) return view_.hand.contains(card);
    if (!known_.unseen().contains(card)) return false;
    if (view_.trump == 0) return true;
    if (isTrump(card, view_.trump)) return !known_.outOfTrumps(seat);
    return !known_.outOfSuit(seat, suitOf(card));
}

// The server lets a declarer name hearts, spades or clubs only with at least
// as many trumps as the bid.
bool WorldSampler::declarerHeldEnoughTrumps(const std::array<CardSet, kSeats>& hands) const {
    return !declarerNeedsTrumps() ||
           trumpCount(hands[view_.declarer] | playedBy_[view_.declarer], view_.trump) >= view_.contract;
}

bool WorldSampler::declarerNeedsTrumps() const {
    return view_.declarer >= 0 && view_.declarer != view_.seat && isValidSuit(view_.trump) &&
           view_.trump != kDiamonds && view_.contract > 0 && view_.contract < kBidTen;
}

// The trumps the declarer must still hold, beyond those it has played, to
// have named the suit at its bid.
int WorldSampler::declarerTrumpsHidden() const {
    if (!declarerNeedsTrumps()) return 0;
    return std::max(0, view_.contract - trumpCount(playedBy_[view_.declarer], view_.trump));
}

bool WorldSampler::consistent(const std::array<CardSet, kSeats>& hands) const {
    CardSet all;
    for (int seat = 0; seat < kSeats; ++seat) {
        if (hands[seat].size() != held_[seat] || !(all & hands[seat]).empty()) return false;
        for (CardCode card : hands[seat])
            if (!mayHold(seat, card)) return false;
        all = all | hands[seat];
    }
    return all == (known_.unseen() | view_.hand) && declarerHeldEnoughTrumps(hands);
}

std::optional<World> WorldSampler::sample(Rng& rng) const {
    // The most constrained cards are dealt first, each to one of the players
    // who may hold it, in proportion to the room left in their hands; a
    // draw that runs into a dead end is thrown away and drawn again.
    //
    // A declarer who named a suit at a high bid holds many trumps, which a
    // free draw rarely gives it: those trumps are dealt to it before the
    // rest, and the world's weight takes back the advantage this gives to
    // worlds where it holds more of them than it must.
    struct Pending { CardCode card; int choices; std::uint32_t tie; };
    std::array<Pending, kDeckSize> pending{};
    const int forced = declarerTrumpsHidden();
    CardSet trumpsItMayHold;
    if (forced > 0)
        for (CardCode card : known_.unseen() & trumpCards(view_.trump))
            if (mayHold(view_.declarer, card)) trumpsItMayHold.add(card);
    if (forced > 0 && (forced > trumpsItMayHold.size() || forced > held_[view_.declarer])) return std::nullopt;
    for (int attempt = 0; attempt < kDrawAttempts; ++attempt) {
        World world;
        world.hands[view_.seat] = view_.hand;
        std::array<int, kSeats> room = held_;
        room[view_.seat] = 0;
        CardSet toDeal = known_.unseen();
        if (forced > 0) {
            const CardSet chosen = randomSubset(trumpsItMayHold, forced, rng);
            world.hands[view_.declarer] = chosen;
            room[view_.declarer] -= forced;
            toDeal = toDeal.without(chosen);
        }
        int count = 0;
        for (CardCode card : toDeal) {
            int choices = 0;
            for (int seat = 0; seat < kSeats; ++seat) choices += seat != view_.seat && mayHold(seat, card);
            pending[count++] = {card, choices, static_cast<std::uint32_t>(rng.next())};
        }
        std::sort(pending.begin(), pending.begin() + count, [](const Pending& a, const Pending& b) {
            return a.choices != b.choices ? a.choices < b.choices : a.tie < b.tie;
        });
        bool dealt = true;
        for (int i = 0; i < count && dealt; ++i) {
            const CardCode card = pending[i].card;
            int total = 0;
            for (int seat = 0; seat < kSeats; ++seat)
                if (room[seat] > 0 && mayHold(seat, card)) total += room[seat];
            if (total == 0) {
                dealt = false;
                break;
            }
            int pick = static_cast<int>(rng.below(static_cast<std::uint32_t>(total)));
            for (int seat = 0; seat < kSeats; ++seat) {
                if (room[seat] <= 0 || !mayHold(seat, card)) continue;
                if ((pick -= room[seat]) < 0) {
                    world.hands[seat].add(card);
                    --room[seat];
                    break;
                }
            }
        }
        if (!dealt || !consistent(world.hands)) continue;
        world.weight = bidLikelihood(world.hands);
        // A world whose declarer holds t of the trumps it may hold came out
        // of C(t, forced) different first choices.
        if (forced > 0)
            world.weight /= choose((world.hands[view_.declarer] & trumpsItMayHold).size(), forced);
        return world;
    }
    return std::nullopt;
}

// A player who bid is likely to hold a hand worth declaring with; one who
// passed, less so (a pass also follows from being outbid); "Ruutu" asks for
// strength in diamonds. The viewer's own and the partner's bids say the same.
double WorldSampler::bidLikelihood(const std::array<CardSet, kSeats>& hands) const {
    double likelihood = 1;
    for (int seat = 0; seat < kSeats; ++seat) {
        const int bid = view_.standingBids[seat];
        if (seat == view_.seat || bid == 0) continue;
        const CardSet dealt = hands[seat] | playedBy_[seat];
        if (bid == kBidTen) {
            likelihood *= logistic((handStrength(dealt, kDiamonds) - 4.5) / 0.6);
            continue;
        }
        const double strength = handStrength(dealt, bestSuit(dealt, 0b11110));
        const double bids = logistic((strength - 4.5) / 0.6);
        likelihood *= bid > 0 ? bids : 0.35 + 0.65 * (1 - bids);
    }
    return likelihood;
}

}  // namespace lerva

#include "table_knowledge.h"

#include "rules.h"
#include "trick.h"

namespace lerva {

TableKnowledge::TableKnowledge(const PlayerView& view) : view_(view) {
    unseen_ = CardSet::of(fullDeck()).without(view.played | view.hand);

    // A player who did not follow has shown a void; a trick still open
    // tells as much as a finished one.
    auto learn = [&](int leader, const std::array<CardCode, kSeats>& cards, int count) {
        if (count == 0) return;
        const int led = ledSuitOf(cards[0], view.trump);
        const bool trumpLed = isTrump(cards[0], view.trump);
        for (int i = 1; i < count; ++i) {
            const int seat = (leader + i) % kSeats;
            const CardCode card = cards[i];
            if (trumpLed && !isTrump(card, view.trump)) noTrumps_[seat] = true;
            if (!trumpLed && !(isPlainCard(card) && suitOf(card) == led)) void_[seat][led] = true;
        }
    };
    for (int t = 0; t < view.tricksDone; ++t) learn(view.tricks[t].leader, view.tricks[t].cards, kSeats);
    learn(view.leader, view.trick, view.trickSize);

    if (view.trickSize > 0) {
        led_ = ledSuitOf(view.trick[0], view.trump);
        int best = 0;
        for (int i = 1; i < view.trickSize; ++i)
            if (beats(view.trick[i], view.trick[best], led_, view.trump)) best = i;
        winningSeat_ = (view.leader + best) % kSeats;
        winningCard_ = view.trick[best];
    }
}

bool TableKnowledge::partnerWinning() const {
    return winningSeat_ == view_.partner();
}

bool TableKnowledge::mayHold(int seat, CardCode card) const {
    if (!unseen_.contains(card)) return false;
    if (isTrump(card, view_.trump)) return !noTrumps_[seat];
    return !void_[seat][suitOf(card)];
}

bool TableKnowledge::opponentsAfterCanBeat(CardCode card) const {
    const int led = led_ != 0 ? led_ : ledSuitOf(card, view_.trump);
    for (int i = view_.trickSize + 1; i < kSeats; ++i) {
        const int seat = (view_.seat + i - view_.trickSize) % kSeats;
        if (teamOf(seat) == view_.team()) continue;
        for (CardCode other : unseen_)
            if (beats(other, card, led, view_.trump) && mayHold(seat, other)) return true;
    }
    return false;
}

bool TableKnowledge::isBoss(CardCode card) const {
    const int kind = ledSuitOf(card, view_.trump);
    for (CardCode other : unseen_)
        if (ledSuitOf(other, view_.trump) == kind && beats(other, card, kind, view_.trump)) return false;
    return true;
}

}  // namespace lerva

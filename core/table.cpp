#include "table.h"

#include <algorithm>

#include "rules.h"

namespace lerva {

int takeDeal(const Block& deal, Hand& hand, CardCounts& counts) {
    hand = parseDeal(deal);
    sortHand(hand);
    const int cards = static_cast<int>(std::count_if(hand.begin(), hand.end(), [](CardCode c) { return c != kNoCard; }));
    counts = {static_cast<std::uint16_t>(cards), kHandSize, kHandSize, kHandSize};
    return cards;
}

bool placeCard(const CardReport& report, Trick& trick, CardCounts& counts) {
    trick[report.seat] = report.card;
    if (report.seat != 0 && counts[report.seat] > 0) --counts[report.seat];
    return std::none_of(trick.begin(), trick.end(), [](CardCode c) { return c == kNoCard; });
}

void takeFromHand(Hand& hand, CardCounts& counts, int slot) {
    if (slot < 0 || slot >= counts[0] || counts[0] > kHandSize) return;
    const int last = counts[0] - 1;
    std::move(hand.begin() + slot + 1, hand.begin() + last + 1, hand.begin() + slot);
    hand[last] = kNoCard;
    --counts[0];
}

}  // namespace lerva

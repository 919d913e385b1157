#include "hand_eval.h"

namespace lerva {

namespace {

// Trick value of a trump by its place in the trump order: the four kings
// are close to sure tricks, the small trumps of the suit are worth their
// ruffs only.
double trumpValue(CardCode card) {
    if (isFaceCard(card)) {
        switch (rankOf(card)) {
        case kKing: return 0.75 + 0.06 * suitOf(card);    // K♣ 0.99 .. K♦ 0.81
        case kQueen: return 0.50 + 0.04 * suitOf(card);
        default: return 0.32 + 0.03 * suitOf(card);       // jacks
        }
    }
    return rankOf(card) >= kTen ? 0.30 : 0.22;
}

}  // namespace

double handStrength(CardSet hand, int trump) {
    const CardSet trumps = hand & trumpCards(trump);
    double strength = 0;
    for (CardCode card : trumps) strength += trumpValue(card);
    // Length: every trump beyond four is a ruff the others cannot stop.
    if (trumps.size() > 4) strength += 0.35 * (trumps.size() - 4);

    for (int suit = kDiamonds; suit <= kClubs; ++suit) {
        if (suit == trump) continue;
        const CardSet plain = hand & plainSuit(suit);
        const bool ace = plain.contains(makeCard(kAce, suit));
        const bool ten = plain.contains(makeCard(kTen, suit));
        if (ace) strength += 0.8;
        if (ten) strength += ace ? 0.45 : (plain.size() >= 2 ? 0.2 : 0.0);
        // A void lets the trumps ruff that suit.
        if (plain.empty() && trumps.size() >= 3) strength += 0.25;
    }
    return strength;
}

int bestSuit(CardSet hand, unsigned allowedSuits) {
    int best = 0;
    double bestStrength = -1;
    for (int suit = kDiamonds; suit <= kClubs; ++suit) {
        if (!(allowedSuits >> suit & 1u)) continue;
        const double strength = handStrength(hand, suit);
        if (strength > bestStrength) {
            best = suit;
            bestStrength = strength;
        }
    }
    return best;
}

}  // namespace lerva

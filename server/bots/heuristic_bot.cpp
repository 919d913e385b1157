#include "heuristic_bot.h"

#include <algorithm>
#include <limits>

#include "hand_eval.h"
#include "table_knowledge.h"
#include "trick.h"

namespace lerva {

namespace {

// What a card is still worth in the hand: high trumps win later tricks and
// guard the rest; a plain card that nobody can beat is a trick of its own.
double keepValue(CardCode card, const PlayerView& view, const TableKnowledge& known) {
    if (isTrump(card, view.trump)) {
        const int strength = trickStrength(card, view.trump, view.trump);   // 101..294
        return isFaceCard(card) ? 6.0 + (strength - 271) * 0.4 : 3.0 + (strength - 100) * 0.3;
    }
    return known.isBoss(card) ? 5.0 : rankOf(card) * 0.2;
}

template <typename Score>
CardCode best(CardSet cards, Score score) {
    CardCode chosen = kNoCard;
    double top = -std::numeric_limits<double>::infinity();
    for (CardCode card : cards) {
        const double s = score(card);
        if (s > top) {
            top = s;
            chosen = card;
        }
    }
    return chosen;
}

// The card to throw away: fewest points, least worth keeping.
CardCode cheapest(CardSet cards, const PlayerView& view, const TableKnowledge& known) {
    return best(cards, [&](CardCode c) { return -(cardPoints(c) + keepValue(c, view, known)); });
}

// The card to give a partner who takes the trick: many points, little lost.
CardCode smear(CardSet cards, const PlayerView& view, const TableKnowledge& known) {
    return best(cards, [&](CardCode c) { return cardPoints(c) - 1.5 * keepValue(c, view, known); });
}

// The winning card that spends least: the weakest winner, plain before trump.
CardCode cheapestWinner(CardSet winners, const PlayerView& view, const TableKnowledge& known) {
    return best(winners, [&](CardCode c) {
        return -(trickStrength(c, known.led(), view.trump) + keepValue(c, view, known)) + 0.01 * cardPoints(c);
    });
}

CardCode lead(const PlayerView& view, const TableKnowledge& known) {
    const CardSet trumps = view.legalCards & trumpCards(view.trump);
    const CardSet trumpsOut = known.unseen() & trumpCards(view.trump);
    const bool weDeclare = teamOf(view.declarer) == view.team();

    // Draw the others' trumps while ours are the highest left.
    if (!trumps.empty() && !trumpsOut.empty() && (weDeclare || trumps.size() >= 4)) {
        const CardCode top = best(trumps, [&](CardCode c) { return trickStrength(c, view.trump, view.trump); });
        if (known.isBoss(top)) return top;
    }
    // Cash a plain ace or ten nobody can beat, in a suit the opponents
    // have not shown to be out of.
    const CardSet plain = view.legalCards.without(trumps);
    const CardCode cash = best(plain, [&](CardCode c) {
        if (!known.isBoss(c)) return -1.0;
        for (int seat = 0; seat < kSeats; ++seat)
            if (teamOf(seat) != view.team() && known.outOfSuit(seat, suitOf(c)) && !known.outOfTrumps(seat))
                return -1.0;
        return static_cast<double>(cardPoints(c));
    });
    if (cash != kNoCard && known.isBoss(cash) && cardPoints(cash) > 0) return cash;

    // Otherwise something cheap from a short plain suit, to get out of it.
    if (!plain.empty()) {
        return best(plain, [&](CardCode c) {
            const int length = (view.hand & plainSuit(suitOf(c))).size();
            return -(cardPoints(c) + keepValue(c, view, known) + 0.5 * length);
        });
    }
    return cheapest(view.legalCards, view, known);
}

CardCode follow(const PlayerView& view, const TableKnowledge& known) {
    CardSet winners;
    for (CardCode card : view.legalCards)
        if (beats(card, known.winningCard(), known.led(), view.trump)) winners.add(card);
    CardSet safeWinners;
    for (CardCode card : winners)
        if (!known.opponentsAfterCanBeat(card)) safeWinners.add(card);

    if (known.partnerWinning()) {
        if (known.lastToPlay() || !known.opponentsAfterCanBeat(known.winningCard()))
            return smear(view.legalCards, view, known);
        if (!safeWinners.empty()) return cheapestWinner(safeWinners, view, known);
        return cheapest(view.legalCards, view, known);
    }
    if (!safeWinners.empty()) return cheapestWinner(safeWinners, view, known);
    return cheapest(view.legalCards, view, known);
}

}  // namespace

int HeuristicBot::chooseBid(const PlayerView& view) {
    if (handStrength(view.hand, kDiamonds) >= tuning_.bidTenStrength) return 10;

    const int suit = bestSuit(view.hand, 0b11110);
    const double strength = handStrength(view.hand, suit);
    if (strength < tuning_.declareStrength) return 0;

    // Leave the contract to a partner who holds the auction unless this
    // hand is clearly the better one.
    const int partnerBid = view.standingBids[view.partner()];
    const bool partnerLeads = partnerBid > 0 &&
        std::all_of(view.standingBids.begin(), view.standingBids.end(), [&](int b) { return b <= partnerBid; });
    if (partnerLeads && strength < tuning_.declareStrength + tuning_.outbidPartnerBy) return 0;

    // The cheapest bid the rules allow, up to the trumps this hand would hold
    // (diamonds need no trumps to be named, but a bid above them is a bluff).
    const int limit = std::min(9, std::max(1, trumpCount(view.hand, suit)));
    for (int bid = 1; bid <= limit; ++bid)
        if (view.bidLegal(bid)) return bid;
    return 0;
}

int HeuristicBot::chooseTrump(const PlayerView& view) {
    return bestSuit(view.hand, view.legalTrumps);
}

CardCode HeuristicBot::chooseCard(const PlayerView& view) {
    if (view.legalCards.size() == 1) return view.legalCards.lowest();
    const TableKnowledge known(view);
    return view.trickSize == 0 ? lead(view, known) : follow(view, known);
}

}  // namespace lerva

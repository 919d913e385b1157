// The rules the page refuses moves by, composed from the tables generated
// from core/rules.h (generated.js); tests/web checks them against core's
// own answers.
import { FOLLOWERS, HAND_ORDER, MIN_BID, TRUMPS } from "./generated.js";

const position = new Map(HAND_ORDER.map((card, index) => [card, index]));
const trumpSets = TRUMPS.map((cards) => new Set(cards));
const followerSets = FOLLOWERS.map((byLed) => byLed.map((cards) => new Set(cards)));

export const isTrump = (card, trump) => trumpSets[trump]?.has(card) ?? false;

// The hand in the order the Windows client shows it.
export function sortHand(cards) {
    return [...cards].sort((a, b) => position.get(a) - position.get(b));
}

// The led suit of the trick seen from seat 0, whose turn it is: the cards
// before theirs lie on seats ending at seat 3. 0 when the player leads.
export function ledSuit(trick, trump) {
    let led = 0;
    for (let seat = 3; seat >= 0; --seat) {
        const card = trick[seat];
        if (card) led = isTrump(card, trump) ? trump : card % 10;
        else if (led) break;
    }
    return led;
}

// Follow the led suit if you can; anything when you cannot or you lead.
export function cardAllowed(hand, card, led, trump) {
    if (!led) return true;
    const followers = followerSets[trump][led];
    return followers.has(card) || !hand.some((c) => followers.has(c));
}

// Diamonds always; another suit with at least as many trumps as the bid.
export function trumpChoiceAllowed(hand, suit, ownBid) {
    if (suit === 1) return true;
    return hand.filter((card) => isTrump(card, suit)).length >= ownBid;
}

// Bids by bid slot (1 the player's own, 0 left, 2 right, 3 opposite).
export function bidAllowed(bid, bids) {
    if (bid === 0 || bid === 10) return true;
    return bid >= MIN_BID[(bids[0] + 1) * 144 + (bids[2] + 1) * 12 + (bids[3] + 1)];
}

// The table as the page holds it, changed only by the server's blocks and
// the player's choices, the way the Windows client's table is: the same
// receive phases, keyword order, refusals and texts. No DOM here; view.js
// draws it.
import { TEXTS } from "./generated.js";
import * as protocol from "./protocol.js";
import { bidAllowed, cardAllowed, ledSuit, sortHand, trumpChoiceAllowed } from "./rules.js";

// printf's %d, in order.
export const format = (text, ...numbers) => text.replace(/%d/g, () => String(numbers.shift()));

// Seats: 0 the player, 1 left, 2 opposite, 3 right. Bid slots: 1 the
// player, 0 left, 2 right, 3 opposite.
export const SEAT_OF_SLOT = [1, 0, 3, 2];
const MAX_LOG_LINES = 1000;   // more than a whole game says

export class Table {
    constructor() {
        this.log = [];            // the info box's lines, oldest first
        this.score = null;        // { own, other } game points once a deal is scored
        this.result = [];         // the latest result's texts
        this.gameOver = false;
        this.phase = 0;
        this.clear();
    }

    // Empties the table (the client's resetGame and the hidden rows).
    clear() {
        this.names = [];          // left, opposite, right, in arrival order
        this.hand = [];
        this.counts = [0, 0, 0, 0];
        this.trick = [0, 0, 0, 0];
        this.bids = [0, 0, 0, 0];
        this.trump = 0;
        this.bidTurn = false;
        this.playTurn = false;
        this.bidRow = false;      // shown from the deal until the trump is chosen
        this.choosingTrump = false;
    }

    say(text) {
        this.log.push(text);
        if (this.log.length > MAX_LOG_LINES) this.log.shift();
    }

    // What the page shows as the turn prompt, if any.
    get prompt() {
        if (this.bidTurn) return TEXTS.yourBid;
        if (this.playTurn) return TEXTS.yourPlay;
        return "";
    }

    // Takes one server block. Returns what the page waits for before it
    // reads the next: "trump" (the trump was named), "trick" (a full trick
    // lies on the table; call clearTrick after the pause), "over" (the game
    // is over; close the connection) or null.
    receive(block) {
        const kind = protocol.classify(this.phase, block);
        switch (kind) {
        case "name": {
            const name = protocol.parseName(block);
            if (name !== null && this.names.length < 3) this.names.push(name);
            return null;
        }
        case "deal":
            this.hand = sortHand(protocol.parseDeal(block));
            this.counts = [this.hand.length, 9, 9, 9];
            this.say(TEXTS.gameStarted);
            this.bidRow = true;
            this.say(TEXTS.biddingStarted);
            this.phase = 1;
            return null;
        case "okc":
            this.playTurn = true;
            return null;
        case "next": {
            const suit = protocol.parseNext(block);
            this.phase = 2;
            if (suit !== null) this.trump = suit;
            this.choosingTrump = false;
            this.bidRow = false;
            this.bids = [0, 0, 0, 0];
            this.bidTurn = false;
            return "trump";
        }
        case "trump":
            this.say(TEXTS.chooseTrump);
            this.bidRow = false;
            this.bidTurn = false;
            this.choosingTrump = true;
            return null;
        case "ok":
            this.bidTurn = true;
            return null;
        case "bidReport": {
            const report = protocol.parseBidReport(block);
            if (report) this.bids[report.slot] = report.bid;
            return null;
        }
        case "point":
            this.phase = 0;
            this.clear();
            return this.takePoints(protocol.parsePoints(block));
        default: {
            const report = protocol.parseCardReport(block);
            if (!report) return null;
            this.trick[report.seat] = report.card;
            if (report.seat !== 0) this.counts[report.seat] = Math.max(0, this.counts[report.seat] - 1);
            return this.trick.every((card) => card) ? "trick" : null;
        }
        }
    }

    clearTrick() { this.trick = [0, 0, 0, 0]; }

    takePoints({ ownCardPoints: a, ownGamePoints: b, otherGamePoints: c }) {
        this.score = { own: b, other: c };
        this.result = [format(a > 60 ? TEXTS.dealWon : TEXTS.dealLost, a, 120 - a)];
        if (b <= 11 && c <= 11) {
            this.result.push(format(TEXTS.gameScore, b, c));
            return null;
        }
        this.result.push(format(b > 11 ? TEXTS.gameWon : TEXTS.gameLost, b, c));
        this.gameOver = true;
        return "over";
    }

    // ---- The player's choices: each returns the block to send, or null
    // when the table refuses it (with the client's line in the log).

    bid(bid) {
        if (!this.bidTurn) return null;
        if (!bidAllowed(bid, this.bids)) {
            this.say(TEXTS.bidHigher);
            return null;
        }
        this.say(bid === 0 ? TEXTS.youPassed : bid === 10 ? TEXTS.youBidDiamonds : format(TEXTS.youBid, bid));
        this.bidTurn = false;
        return protocol.bidBlock(bid);
    }

    chooseTrump(suit) {
        if (!this.choosingTrump) return null;
        if (!trumpChoiceAllowed(this.hand, suit, this.bids[1])) {
            this.say(TEXTS.trumpRefused[suit]);
            return null;
        }
        this.choosingTrump = false;
        return protocol.trumpChoiceBlock(suit);
    }

    play(card) {
        const slot = this.hand.indexOf(card);
        if (!this.playTurn || slot < 0) return null;
        if (!cardAllowed(this.hand, card, ledSuit(this.trick, this.trump), this.trump)) {
            this.say(TEXTS.cardRefused);
            return null;
        }
        this.hand.splice(slot, 1);
        this.counts[0] = this.hand.length;
        this.playTurn = false;
        return protocol.cardPlayBlock(card);
    }

    // The connection ended: the client's end path.
    end(why) {
        this.say(why);
        this.phase = 0;
        this.clear();
    }
}

// The page's rules and hand order against core's own answers (the cases
// tools/webgen wrote from core/rules.h), and its blocks against the layouts
// the Windows client reads and writes.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { test } from "node:test";

import * as protocol from "../../web/js/protocol.js";
import { bidAllowed, cardAllowed, ledSuit, sortHand, trumpChoiceAllowed } from "../../web/js/rules.js";

const cases = JSON.parse(readFileSync(new URL("./rule_cases.json", import.meta.url)));

test("the rules agree with core on every generated case", () => {
    for (const c of cases.sortHand) assert.deepEqual(sortHand(c.hand), c.shown, `hand ${c.hand}`);
    for (const c of cases.cardAllowed)
        assert.equal(cardAllowed(c.hand, c.card, ledSuit(c.trick, c.trump), c.trump), c.allowed, JSON.stringify(c));
    for (const c of cases.trumpChoiceAllowed)
        assert.equal(trumpChoiceAllowed(c.hand, c.suit, c.bid), c.allowed, JSON.stringify(c));
    for (const c of cases.bidAllowed) assert.equal(bidAllowed(c.bid, c.bids), c.allowed, JSON.stringify(c));
});

const block = (...bytes) => {
    const b = new Uint8Array(protocol.BLOCK_SIZE);
    b.set(bytes.map((x) => (typeof x === "string" ? x.charCodeAt(0) : x)));
    return b;
};
const ascii = (text) => block(...text);

test("client blocks have the client's bytes", () => {
    const cases = [
        [protocol.bidBlock(10), ascii("bid  10")],
        [protocol.bidBlock(0), ascii("bid  0")],
        [protocol.trumpChoiceBlock(3), ascii("next 3")],
        [protocol.cardPlayBlock(11), block(..."scard", 11)],
        [protocol.joinBlock(), ascii("join")],
        [protocol.userNameBlock("Mängija"), block(0x4d, 0xe4, ..."ngija")],   // code page 1252
        [protocol.userNameBlock("x".repeat(200)), ascii("x".repeat(127))],    // the NUL still fits
    ];
    for (const [made, expected] of cases) assert.deepEqual(made, expected);
});

test("server blocks are read as the client reads them", () => {
    assert.equal(protocol.classify(1, ascii("okc")), "okc");
    assert.equal(protocol.classify(1, ascii("ok")), "ok");
    assert.equal(protocol.classify(2, ascii("trump")), "cardReport");   // no keyword of its phase
    assert.equal(protocol.classify(0, ascii("name Jüri")), "name");
    assert.deepEqual(protocol.parseDeal(ascii("142351947261138231")), [14, 23, 51, 94, 72, 61, 13, 82, 31]);
    assert.deepEqual(protocol.parseBidReport(ascii("3 :")), { slot: 3, bid: 10 });
    assert.deepEqual(protocol.parseBidReport(ascii("1 0")), { slot: 1, bid: -1 });
    assert.equal(protocol.parseBidReport(ascii("7 3")), null);
    assert.deepEqual(protocol.parseCardReport(block("2", " ", 42)), { seat: 2, card: 42 });
    assert.equal(protocol.parseCardReport(block("2", " ", 70)), null);
    assert.deepEqual(protocol.parsePoints(block(..."point", 61, 0, 12)), { ownCardPoints: 61, ownGamePoints: 0, otherGamePoints: 12 });
    assert.equal(protocol.parseName(block(..."name ", 0xdc, ..."lo")), "Ülo");
    assert.equal(protocol.parseName(ascii("nam")), null);
});

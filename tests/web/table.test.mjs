// The page's table driven by server blocks, as the Windows client's receive
// loop is: phases, pauses, card counts and the result texts.
import assert from "node:assert/strict";
import { test } from "node:test";

import { Table } from "../../web/js/table.js";

const block = (...bytes) => {
    const b = new Uint8Array(128);
    b.set(bytes.flatMap((x) => (typeof x === "string" ? [...x].map((c) => c.charCodeAt(0)) : [x])));
    return b;
};

function dealt() {
    const table = new Table();
    for (const name of ["A", "B", "C", "D"]) table.receive(block(`name ${name}`));
    table.receive(block("142351947261138231"));
    return table;
}

test("a deal: names, the sorted hand, bids, the trump pause and a full trick", () => {
    const table = dealt();
    assert.deepEqual(table.names, ["A", "B", "C"], "a fourth name is ignored");
    assert.deepEqual(table.hand, [94, 82, 72, 14, 23, 13, 61, 51, 31]);
    assert.equal(table.phase, 1);
    table.receive(block("0 5"));
    table.receive(block("ok"));
    assert.equal(table.prompt, "Sinu kord pakkuda");
    assert.equal(table.bid(4), null, "below the left player's 5");
    assert.equal(table.log.at(-1), "Pead rohkem pakkuma või passima");
    assert.ok(table.bid(5));
    assert.equal(table.prompt, "");
    assert.equal(table.receive(block("next 3")), "trump");
    assert.deepEqual([table.phase, table.trump, table.bids], [2, 3, [0, 0, 0, 0]]);
    table.receive(block("3 ", 64));   // the right player leads the ace of clubs
    table.receive(block("okc"));
    assert.equal(table.play(51), null, "the 6 of clubs must follow");
    assert.equal(table.log.at(-1), "Sa ei saa seda kaarti käia");
    assert.ok(table.play(14));
    assert.deepEqual([table.hand.length, table.counts], [8, [8, 9, 9, 8]]);
    table.receive(block("0 ", 14));
    table.receive(block("1 ", 24));
    assert.equal(table.receive(block("2 ", 34)), "trick", "the fourth card holds the table");
    table.clearTrick();
    assert.deepEqual(table.trick, [0, 0, 0, 0]);
});

test("the result texts and the end of the game", () => {
    const cases = [
        [[61, 3, 2], ["Teie võitsite selle mängu tulemusega 61/59", "Praegune mängupunktide seis on 3/2\n(See tiim, mis vähemalt 12 punkti saab võidab)"], null],
        [[60, 11, 11], ["Teie kaotasite selle mängu tulemusega 60/60", "Praegune mängupunktide seis on 11/11\n(See tiim, mis vähemalt 12 punkti saab võidab)"], null],
        [[90, 12, 12], ["Teie võitsite selle mängu tulemusega 90/30", "Teie võitsite terve mängu tulemusega 12/12"], "over"],
        [[0, 3, 12], ["Teie kaotasite selle mängu tulemusega 0/120", "Teie kaotasite terve mängu tulemusega 3/12"], "over"],
    ];
    for (const [[a, b, c], texts, wait] of cases) {
        const table = dealt();
        table.receive(block("next 1"));
        assert.equal(table.receive(block("point", a, b, c)), wait);
        assert.deepEqual(table.result, texts);
        assert.deepEqual([table.score, table.phase, table.hand], [{ own: b, other: c }, 0, []]);
    }
});

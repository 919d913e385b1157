// The 128-byte blocks of the game, as the Windows client sends and reads
// them (core/protocol.h is their definition). Texts on the wire are in the
// Windows code page 1252, as the client types and shows them.

export const BLOCK_SIZE = 128;

const cp1252 = new TextDecoder("windows-1252");
const toCp1252 = new Map();
for (let byte = 1; byte < 256; ++byte) toCp1252.set(cp1252.decode(new Uint8Array([byte])), byte);

// A block holding `bytes` (cut to 127, so that its NUL fits), zero padded.
function blockOf(bytes) {
    const block = new Uint8Array(BLOCK_SIZE);
    block.set(bytes.slice(0, BLOCK_SIZE - 1));
    return block;
}

// The text's bytes in code page 1252; a letter it has not becomes "?".
export function encodeText(text) {
    return Uint8Array.from(Array.from(text, (letter) => toCp1252.get(letter) ?? 0x3f));
}

function textBlock(text) { return blockOf(encodeText(text)); }

// The block's text: its bytes up to the first NUL.
export function blockText(block) {
    const end = block.indexOf(0);
    return cp1252.decode(block.subarray(0, end < 0 ? BLOCK_SIZE : end));
}

// ---- Client to server

export const userNameBlock = (name) => textBlock(name);
export const joinBlock = () => textBlock("join");
export const bidBlock = (bid) => textBlock(`bid  ${bid}`);
export const trumpChoiceBlock = (suit) => textBlock(`next ${suit}`);
export function cardPlayBlock(card) {
    const block = textBlock("scard");
    block[5] = card;
    return block;
}

// ---- Server to client

// What a server block is, by the receive phase (0 waiting for a deal, 1
// bidding, 2 play) and the first keyword found, in the client's order.
export function classify(phase, block) {
    const text = blockText(block);
    if (phase === 0) return text.includes("name") ? "name" : "deal";
    if (text.includes("okc")) return "okc";
    if (phase === 1) {
        if (text.includes("next")) return "next";
        if (text.includes("trump")) return "trump";
        if (text.includes("ok")) return "ok";
        return "bidReport";
    }
    return text.includes("point") ? "point" : "cardReport";
}

const isValidCard = (code) => code >= 11 && code <= 94 && code % 10 >= 1 && code % 10 <= 4;
const signed = (byte) => (byte > 127 ? byte - 256 : byte);
const digit = (byte) => byte - 0x30;

// The other player's name, or null for a block too short to carry one.
export function parseName(block) {
    const text = blockText(block);
    return text.length < 5 ? null : text.slice(5);
}

// The nine dealt cards, in dealt order; pairs of digits that spell no card
// are left out.
export function parseDeal(block) {
    const cards = [];
    for (let i = 0; i < 9; ++i) {
        const code = 10 * digit(block[2 * i]) + digit(block[2 * i + 1]);
        if (isValidCard(code)) cards.push(code);
    }
    return cards;
}

// { slot, bid } with bid -1 for a pass, 1..10; null when out of range.
export function parseBidReport(block) {
    const slot = digit(block[0]);
    const value = digit(block[2]);
    if (slot < 0 || slot > 3 || value < 0 || value > 10) return null;
    return { slot, bid: value === 0 ? -1 : value };
}

export function parseNext(block) {
    const suit = digit(block[5]);
    return suit >= 1 && suit <= 4 ? suit : null;
}

export function parseCardReport(block) {
    const seat = digit(block[0]);
    const card = signed(block[2]);
    return seat >= 0 && seat <= 3 && isValidCard(card) ? { seat, card } : null;
}

export function parsePoints(block) {
    return { ownCardPoints: signed(block[5]), ownGamePoints: signed(block[6]), otherGamePoints: signed(block[7]) };
}

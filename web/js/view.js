// Draws the table's state into the page. Every draw is whole: it sets each
// element from the state, so that nothing stale stays behind.
import { TEXTS } from "./generated.js";
import { format, SEAT_OF_SLOT } from "./table.js";

const $ = (selector) => document.querySelector(selector);
const cardImage = (card) => `img/${card}.png`;
const SUIT_LETTERS = ["", "♦", "♥", "♠", "♣"];
const RANK_NAMES = ["", "6", "7", "8", "9", "10", "A", "J", "Q", "K"];
export const cardName = (card) => `${RANK_NAMES[Math.floor(card / 10)]}${SUIT_LETTERS[card % 10]}`;

function image(src, alt) {
    const img = document.createElement("img");
    img.src = src;
    img.alt = alt;
    img.draggable = false;
    return img;
}

function button(text, onClick, data = {}) {
    const b = document.createElement("button");
    b.type = "button";
    b.textContent = text;
    Object.assign(b.dataset, data);
    b.addEventListener("click", onClick);
    return b;
}

function bidLabel(bid) {
    if (bid === -1) return TEXTS.passedLabel;
    if (bid >= 1 && bid <= 9) return format(TEXTS.bidLabel, bid);
    if (bid === 10) return TEXTS.diamondsBidLabel;
    return "";
}

export class View {
    // `actions` has bid(n), chooseTrump(suit), play(card).
    constructor(actions) {
        this.actions = actions;
        this.bidButtons = [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10].map((bid) =>
            button(bid === 0 ? TEXTS.passButton : bid === 10 ? TEXTS.topBidButton : String(bid),
                   () => actions.bid(bid), { bid: String(bid) }));
        $("#bid-row").append(...this.bidButtons);
        this.trumpButtons = [1, 2, 3, 4].map((suit) =>
            button(TEXTS.suitNames[suit], () => actions.chooseTrump(suit), { suit: String(suit) }));
        $("#trump-row").append(...this.trumpButtons);
        $("#trump .label").textContent = TEXTS.trumpLabel;
        this.shownHand = "";
    }

    draw(table, ownName) {
        this.drawSeats(table, ownName);
        this.drawTrick(table);
        this.drawRows(table);
        this.drawHand(table);
        $("#prompt").textContent = table.prompt;
        const log = $("#log");
        log.replaceChildren(...table.log.map((line) => {
            const item = document.createElement("li");
            item.textContent = line;
            return item;
        }));
        log.scrollTop = log.scrollHeight;
        $("#score").textContent = table.score ? `${table.score.own} : ${table.score.other}` : "0 : 0";
        $("#result").replaceChildren(...table.result.map((line) => {
            const p = document.createElement("p");
            p.textContent = line;
            return p;
        }));
    }

    drawSeats(table, ownName) {
        const names = [ownName, ...table.names];
        for (let seat = 0; seat < 4; ++seat) {
            const element = $(`#seat-${seat}`);
            element.querySelector(".name").textContent = names[seat] ?? "";
            const slot = SEAT_OF_SLOT.indexOf(seat);
            element.querySelector(".bid").textContent = bidLabel(table.bids[slot]);
            const backs = element.querySelector(".backs");
            if (backs && backs.childElementCount !== table.counts[seat]) {
                backs.replaceChildren(...Array.from({ length: table.counts[seat] }, () => image("img/back.png", "")));
            }
            element.classList.toggle("turn", seat === 0 && (table.bidTurn || table.playTurn));
        }
        const trump = $("#trump");
        trump.hidden = !table.trump;
        if (table.trump) {
            const icon = trump.querySelector("img");
            icon.src = `img/suit${table.trump}.png`;
            icon.alt = TEXTS.suitNames[table.trump];
        }
    }

    drawTrick(table) {
        for (const place of document.querySelectorAll("#trick .place")) {
            const card = table.trick[Number(place.dataset.seat)];
            if (String(card) === place.dataset.card) continue;
            place.dataset.card = String(card);
            place.replaceChildren(...(card ? [image(cardImage(card), cardName(card))] : []));
        }
    }

    drawRows(table) {
        $("#bid-row").hidden = !table.bidRow;
        for (const b of this.bidButtons) b.disabled = !table.bidTurn;
        $("#trump-row").hidden = !table.choosingTrump;
        for (const b of this.trumpButtons) b.disabled = !table.choosingTrump;
    }

    drawHand(table) {
        const hand = $("#hand");
        hand.classList.toggle("playing", table.playTurn);
        const shown = table.hand.join(",");
        if (shown === this.shownHand) return;
        // Keeps the keyboard's place: the card after a played one gets the focus.
        const focused = hand.contains(document.activeElement) ? [...hand.children].indexOf(document.activeElement) : -1;
        this.shownHand = shown;
        hand.replaceChildren(...table.hand.map((card) => {
            const b = button("", () => this.actions.play(card), { card: String(card) });
            b.append(image(cardImage(card), cardName(card)));
            b.setAttribute("aria-label", cardName(card));
            return b;
        }));
        if (focused >= 0 && hand.childElementCount) hand.children[Math.min(focused, hand.childElementCount - 1)].focus();
    }
}

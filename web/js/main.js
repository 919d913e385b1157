// The web table: connects to the server's /play WebSocket and plays the
// blocks through the table, with the Windows client's pauses: the next
// server block is read only after them, while the page stays live.
import { TEXTS } from "./generated.js";
import * as protocol from "./protocol.js";
import { Table } from "./table.js";
import { View } from "./view.js";

const $ = (selector) => document.querySelector(selector);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The server says how long its clients pause; ?pause=MS overrides both.
async function loadPauses() {
    const pauses = { trick: 3000, trump: 1500 };
    try {
        const settings = await (await fetch("settings.json")).json();
        pauses.trick = settings.trickPauseMs;
        pauses.trump = settings.trumpPauseMs;
    } catch {
        // an older server: the client's own pauses
    }
    const override = new URLSearchParams(location.search).get("pause");
    if (override !== null && Number.isFinite(Number(override))) pauses.trick = pauses.trump = Number(override);
    return pauses;
}

class Connection {
    constructor(pauses) {
        this.pauses = pauses;
        this.table = new Table();
        this.view = new View({
            bid: (bid) => this.act(this.table.bid(bid)),
            chooseTrump: (suit) => this.act(this.table.chooseTrump(suit)),
            play: (card) => this.act(this.table.play(card)),
        });
        this.socket = null;
        this.ownName = "";
        this.inbox = [];
        this.reading = false;
        this.draw();
    }

    draw() { this.view.draw(this.table, this.ownName); }

    get open() { return this.socket !== null; }

    connect(name) {
        this.ownName = name;
        this.table = Object.assign(new Table(), { log: this.table.log });
        this.inbox = [];
        const scheme = location.protocol === "https:" ? "wss" : "ws";
        const socket = new WebSocket(`${scheme}://${location.host}/play`);
        socket.binaryType = "arraybuffer";
        this.socket = socket;
        socket.addEventListener("open", () => {
            socket.send(protocol.userNameBlock(name));
            this.table.say(TEXTS.connected);
            socket.send(protocol.joinBlock());
            this.table.say(TEXTS.waitingForOthers);
            this.draw();
        });
        socket.addEventListener("message", (event) => {
            if (socket !== this.socket) return;
            this.inbox.push(new Uint8Array(event.data));
            this.readInbox();
        });
        let failed = false;
        socket.addEventListener("error", () => { failed = true; });
        socket.addEventListener("close", () => {
            if (socket !== this.socket) return;
            this.ended(failed && !this.table.gameOver ? TEXTS.connectionLost : TEXTS.gameBroken);
        });
        $("#connect-button").textContent = TEXTS.disconnect;
        this.draw();
    }

    disconnect() {
        if (!this.socket) return;
        const socket = this.socket;
        this.ended(TEXTS.gameBroken);
        socket.close(1000);
    }

    ended(why) {
        this.socket = null;
        this.inbox = [];
        this.table.end(why);
        $("#connect-button").textContent = TEXTS.connect;
        this.draw();
    }

    act(block) {
        if (block && this.socket) this.socket.send(block);
        this.draw();
    }

    // One block at a time; a pause holds back the blocks behind it.
    async readInbox() {
        if (this.reading) return;
        this.reading = true;
        const socket = this.socket;
        while (this.inbox.length && socket === this.socket) {
            const block = this.inbox.shift();
            if (block.length !== protocol.BLOCK_SIZE) continue;
            const wait = this.table.receive(block);
            this.draw();
            if (wait === "trump") await sleep(this.pauses.trump);
            else if (wait === "trick") {
                await sleep(this.pauses.trick);
                if (socket !== this.socket) break;
                this.table.clearTrick();
                this.draw();
            } else if (wait === "over") {
                this.socket = null;
                socket.close(1000);
                this.table.end(TEXTS.gameBroken);
                $("#connect-button").textContent = TEXTS.connect;
                this.draw();
            }
        }
        this.reading = false;
        if (this.inbox.length && this.socket) this.readInbox();
    }
}

// Keys: the arrows move along the hand; while bidding P passes, 1-9 bid and
// 0 makes the top bid; Enter or Space presses the focused button.
function keyboard(connection) {
    document.addEventListener("keydown", (event) => {
        if (event.target instanceof HTMLInputElement || event.altKey || event.ctrlKey || event.metaKey) return;
        const hand = [...document.querySelectorAll("#hand button")];
        const at = hand.indexOf(document.activeElement);
        if ((event.key === "ArrowRight" || event.key === "ArrowLeft") && hand.length) {
            const step = event.key === "ArrowRight" ? 1 : -1;
            hand[(Math.max(at, 0) + step + hand.length) % hand.length].focus();
            event.preventDefault();
            return;
        }
        if (!connection.table.bidTurn) return;
        if (/^[1-9]$/.test(event.key)) connection.act(connection.table.bid(Number(event.key)));
        else if (event.key === "p" || event.key === "P") connection.act(connection.table.bid(0));
        else if (event.key === "0") connection.act(connection.table.bid(10));
    });
}

async function start() {
    const connection = new Connection(await loadPauses());
    $("#connect").addEventListener("submit", (event) => {
        event.preventDefault();
        if (connection.open) connection.disconnect();
        else connection.connect($("#name").value);
    });
    keyboard(connection);
    document.body.dataset.ready = "true";
}

start();

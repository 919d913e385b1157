// The table during a game: deals, turns, moves from players and bots, and
// the blocks every player is sent.
#include <algorithm>
#include <chrono>

#include "log.h"
#include "table.h"

namespace lerva {

void Table::startNextDeal() {
    if (state_ != State::Playing || game_.phase() != Phase::BetweenDeals) return;
    for (int seat = 0; seat < kSeats; ++seat) {
        Seat& s = seats_[seat];
        if (!s.returning) continue;
        s.player = std::move(s.returning);
        s.name = s.player->name();
        s.leftBy.reset();
        s.refusals = 0;
        logInfo("table ", number_, ": ", s.name, " takes seat ", seat, " again");
    }
    if (humansSeated() == 0) {
        waitForReturn(lastAddress_);
        return;
    }
    Events events;
    game_.startDeal(events);
    dispatch(events);
}

void Table::waitForReturn(const std::string& address) {
    if (paused_) return;
    paused_ = true;
    // A decision on its way from a bot is for nobody now.
    ++turn_;
    botTurn_ = 0;
    turnTimer_.cancel();
    botTimer_.cancel();
    logInfo("table ", number_, ": every player left; waiting for one to return");
    std::weak_ptr<Table> weak = weak_from_this();
    returnSlot_ = services_.admission.holdForReturn(address, [weak] {
        if (auto table = weak.lock()) {
            logInfo("table ", table->number_, ": its slot is wanted; no longer waiting for a return");
            table->close();
        }
    });
    endTimer_.expires_after(config_.abandonAfter);
    endTimer_.async_wait([self = shared_from_this()](error_code error) {
        if (!error && self->paused_) self->close();
    });
}

void Table::resume() {
    paused_ = false;
    endTimer_.cancel();
    returnSlot_.reset();
    // The deal that was left is played out by the bots first; the player
    // who came back sits down at the next one.
    if (game_.phase() == Phase::BetweenDeals) startNextDeal();
    else beginTurn(game_.toAct());
}

void Table::dispatch(const Events& events) {
    const SeatNames seatNames = names();
    const auto computer = computerSeats();
    int asked = -1;
    std::vector<Block> blocks;
    for (const Event& event : events) {
        if (recording()) record_.onEvent(event, game_, seatNames, computer);
        for (int seat = 0; seat < kSeats; ++seat) {
            // A copy: a delivery that fails may make the player leave.
            const auto player = seats_[seat].player;
            if (!player) continue;
            blocks.clear();
            if (event.kind == Event::Kind::DealStarted)
                appendDealStart(seat, seatNames, game_.dealtHands()[seat], blocks);
            else
                appendBlocksFor(seat, event, blocks);
            for (const Block& block : blocks) player->deliver(block);
        }
        switch (event.kind) {
        case Event::Kind::TrickTaken:
            holdBotsFor(config_.trickPause);
            break;
        case Event::Kind::TrumpSet:
            holdBotsFor(config_.trumpPause);
            break;
        case Event::Kind::AskBid:
        case Event::Kind::AskTrump:
        case Event::Kind::AskCard:
            asked = event.seat;
            break;
        default:
            break;
        }
    }
    for (const Seat& seat : seats_)
        if (seat.player) seat.player->flush();
    writeRecord();

    if (asked >= 0) {
        beginTurn(asked);
    } else if (game_.phase() == Phase::GameOver) {
        finishGame();
    } else if (game_.phase() == Phase::BetweenDeals) {
        // Deal the next hands from a fresh handler, after these blocks.
        asio::post(services_.loop, [self = shared_from_this()] { self->startNextDeal(); });
    }
}

void Table::holdBotsFor(Millis pause) {
    if (config_.botDelay.count() > 0) clientsBusyUntil_ = std::chrono::steady_clock::now() + pause;
}

void Table::beginTurn(int seat) {
    ++turn_;
    botTurn_ = 0;
    seats_[seat].refusals = 0;
    if (!seats_[seat].player) {
        askBot(seat);
        return;
    }
    if (!config_.turnTimeout) return;
    // The clock is set only when it is not running already: setting and
    // cancelling a timer for every move would cost a busy server more than
    // the moves themselves. A clock that rings early is set again.
    timedTurn_ = turn_;
    turnDeadline_ = std::chrono::steady_clock::now() + *config_.turnTimeout;
    if (!turnClockRunning_) runTurnClock();
}

void Table::runTurnClock() {
    turnClockRunning_ = true;
    turnTimer_.expires_at(turnDeadline_);
    turnTimer_.async_wait([self = shared_from_this()](error_code error) {
        self->turnClockRunning_ = false;
        if (error || self->state_ != State::Playing || self->paused_) return;
        // Answered already; a person's turn since then has set the clock.
        if (self->timedTurn_ != self->turn_ || self->botTurn_ == self->turn_) return;
        if (std::chrono::steady_clock::now() < self->turnDeadline_) {
            self->runTurnClock();
            return;
        }
        const int seat = self->game_.toAct();
        logInfo("table ", self->number_, ": ", self->seats_[seat].name,
                " ran out of time; a computer player makes this move");
        self->askBot(seat);
    });
}

void Table::askBot(int seat) {
    botTurn_ = turn_;
    const auto asked = std::chrono::steady_clock::now();
    services_.bots.think(seats_[seat].bot, game_.viewFor(seat),
                         [self = shared_from_this(), turn = turn_, seat, asked](Move move) {
                             if (turn != self->turn_ || self->state_ != State::Playing) return;
                             // A bot's move shows no sooner than the bot delay,
                             // counted from when the clients look again, so
                             // people can follow the table.
                             const auto ready = std::max(asked, self->clientsBusyUntil_) + self->config_.botDelay;
                             if (std::chrono::steady_clock::now() >= ready) {
                                 self->applyBotMove(turn, seat, move);
                                 return;
                             }
                             self->botTimer_.expires_at(ready);
                             self->botTimer_.async_wait([self, turn, seat, move](error_code error) {
                                 if (!error) self->applyBotMove(turn, seat, move);
                             });
                         });
}

void Table::applyBotMove(std::uint64_t turn, int seat, const Move& move) {
    if (turn != turn_ || state_ != State::Playing || game_.toAct() != seat) return;
    Events events;
    if (!applyMove(game_, seat, move, events)) {
        logError("table ", number_, ": the bot's move was refused; asking again");
        askBot(seat);
        return;
    }
    dispatch(events);
}

Block Table::askBlock() const {
    switch (game_.phase()) {
    case Phase::Bidding: return okBlock();
    case Phase::ChoosingTrump: return trumpBlock();
    default: return okcBlock();
    }
}

void Table::onBlock(Participant* player, const Block& block) {
    const int seat = seatOf(player);
    if (seat < 0 || state_ != State::Playing) return;   // e.g. waiting to return
    if (game_.toAct() != seat || botTurn_ == turn_) {
        logDebug("table ", number_, ": ", seats_[seat].name, " sent a block out of turn; ignored");
        return;
    }
    Events events;
    bool accepted = false;
    switch (game_.phase()) {
    case Phase::Bidding:
        if (const auto bid = parseBid(block)) accepted = game_.bid(seat, *bid, events);
        break;
    case Phase::ChoosingTrump:
        if (const auto suit = parseTrumpChoice(block)) accepted = game_.chooseTrump(seat, *suit, events);
        break;
    case Phase::Playing:
        if (const auto card = parseCardPlay(block)) accepted = game_.playCard(seat, *card, events);
        break;
    default:
        break;
    }
    if (!accepted) {
        refuse(seat);
        return;
    }
    dispatch(events);
}

void Table::refuse(int seat) {
    Seat& s = seats_[seat];
    ++s.refusals;
    logInfo("table ", number_, ": refused a block from ", s.name, " (", s.refusals, " in a row)");
    if (s.refusals >= config_.maxRefusals) {
        logInfo("table ", number_, ": a computer player makes this move for ", s.name);
        askBot(seat);
        return;
    }
    // A copy: a delivery that fails makes the player leave the seat.
    const auto player = s.player;
    player->deliver(askBlock());
    player->flush();
}

}  // namespace lerva

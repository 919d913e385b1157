#include "table.h"

#include <chrono>
#include <ctime>

#include "log.h"

namespace lerva {

Table::Table(TableServices services, std::uint64_t number, std::uint64_t seed,
             std::function<void(Table&)> onClosed)
    : services_(services), config_(services.config), number_(number), seed_(seed),
      onClosed_(std::move(onClosed)), game_(GameOptions{.seed = seed}),
      fillTimer_(services.loop), turnTimer_(services.loop), botTimer_(services.loop),
      endTimer_(services.loop), record_(number, seed) {
    Rng rng(seed ^ 0x5eedb075ULL);
    for (int seat = 0; seat < kSeats; ++seat)
        seats_[seat].bot = std::make_shared<SeatBot>(makeBot(config_.botLevel, rng.fork()));
}

void Table::open() {
    if (!config_.fillAfter) return;
    fillTimer_.expires_after(*config_.fillAfter);
    fillTimer_.async_wait([self = shared_from_this()](error_code error) {
        if (!error && self->state_ == State::Waiting) self->fillWithBots();
    });
}

bool Table::waitingForPlayers() const {
    if (state_ != State::Waiting) return false;
    for (const Seat& seat : seats_)
        if (!seat.taken) return true;
    return false;
}

bool Table::awaits(const PlayerIdentity& comer) const { return seatLeftFor(comer) >= 0; }

int Table::seatLeftFor(const PlayerIdentity& comer) const {
    if (state_ != State::Playing) return -1;
    for (int seat = 0; seat < kSeats; ++seat) {
        const Seat& s = seats_[seat];
        if (!s.player && !s.returning && s.leftBy && mayTakeBack(*s.leftBy, comer)) return seat;
    }
    return -1;
}

int Table::seatOf(const Participant* player) const {
    for (int seat = 0; seat < kSeats; ++seat)
        if (seats_[seat].player.get() == player) return seat;
    return -1;
}

int Table::humansSeated() const {
    int humans = 0;
    for (const Seat& seat : seats_) humans += seat.player != nullptr;
    return humans;
}

bool Table::everyoneGone() const {
    for (const Seat& seat : seats_)
        if (seat.player || seat.returning) return false;
    return true;
}

std::array<bool, kSeats> Table::computerSeats() const {
    std::array<bool, kSeats> computer{};
    for (int seat = 0; seat < kSeats; ++seat) computer[seat] = !seats_[seat].player;
    return computer;
}

SeatNames Table::names() const {
    SeatNames names;
    for (int seat = 0; seat < kSeats; ++seat) names[seat] = seats_[seat].name;
    return names;
}

void Table::seatPlayer(std::shared_ptr<Participant> player) {
    const bool first = humansSeated() == 0;
    for (int seat = 0; seat < kSeats; ++seat) {
        if (seats_[seat].taken) continue;
        seats_[seat].taken = true;
        seats_[seat].name = player->name();
        seats_[seat].player = std::move(player);
        logInfo("table ", number_, ": ", seats_[seat].name, " sits in seat ", seat);
        break;
    }
    if (first)
        for (int bots = 0; bots < config_.botsPerTable; ++bots)
            for (int seat = 0; seat < kSeats; ++seat)
                if (!seats_[seat].taken) { seatBot(seat); break; }
    if (!waitingForPlayers()) startGame();
}

void Table::seatBot(int seat) {
    seats_[seat].taken = true;
    seats_[seat].name = computerPlayerName(seat);
}

void Table::fillWithBots() {
    if (humansSeated() == 0) return;
    for (int seat = 0; seat < kSeats; ++seat)
        if (!seats_[seat].taken) seatBot(seat);
    logInfo("table ", number_, ": free seats filled with computer players");
    startGame();
}

void Table::seatReturning(std::shared_ptr<Participant> player) {
    const int seat = seatLeftFor(player->identity());
    if (seat < 0) return;
    logInfo("table ", number_, ": ", seats_[seat].name, " is back; sits down at the next deal");
    seats_[seat].returning = std::move(player);
    if (paused_) resume();
}

void Table::startGame() {
    state_ = State::Playing;
    fillTimer_.cancel();
    logInfo("table ", number_, ": game starts (", names()[0], ", ", names()[1], ", ", names()[2],
            ", ", names()[3], ")");
    openRecord();
    startNextDeal();
}

void Table::finishGame() {
    state_ = State::Finished;
    closeRecord();
    const auto& totals = game_.totals();
    logInfo("table ", number_, ": game over ", totals[0], ":", totals[1], " after ",
            game_.dealsStarted(), " deals");
    // The clients close the connection themselves after the last result;
    // whoever stays is let go after a while.
    endTimer_.expires_after(config_.gameOverLinger);
    endTimer_.async_wait([self = shared_from_this()](error_code error) {
        if (!error) self->close();
    });
    if (humansSeated() == 0) close();
}

void Table::onLeave(Participant* player) {
    const int seat = seatOf(player);
    if (seat < 0) {
        for (Seat& s : seats_)
            if (s.returning.get() == player) s.returning.reset();
        return;
    }
    Seat& left = seats_[seat];
    logInfo("table ", number_, ": ", left.name, " left seat ", seat);
    PlayerIdentity who = left.player->identity();
    left.player.reset();
    switch (state_) {
    case State::Waiting:
        left.taken = false;
        left.name.clear();
        if (humansSeated() == 0) close();
        break;
    case State::Playing:
        // A bot plays on in the seat; its owner may come back to it.
        lastAddress_ = who.address;
        left.leftBy = std::move(who);
        left.refusals = 0;
        if (recording()) record_.onComputerTakesOver(seat);
        if (everyoneGone()) waitForReturn(lastAddress_);
        else if (game_.toAct() == seat && botTurn_ != turn_) askBot(seat);
        break;
    case State::Finished:
        if (humansSeated() == 0) close();
        break;
    case State::Closed:
        break;
    }
}

void Table::close() {
    if (state_ == State::Closed) return;
    if (state_ == State::Playing) {
        record_.onAbandoned(game_);
        writeRecord();
    }
    state_ = State::Closed;
    closeRecord();
    returnSlot_.reset();
    for (auto* timer : {&fillTimer_, &turnTimer_, &botTimer_, &endTimer_}) timer->cancel();
    for (Seat& seat : seats_) {
        if (seat.player) seat.player->close();
        if (seat.returning) seat.returning->close();
        seat.player.reset();
        seat.returning.reset();
    }
    logInfo("table ", number_, ": closed");
    if (onClosed_) onClosed_(*this);
}

void Table::openRecord() {
    if (!recording()) return;
    const std::tm local = localTime(std::time(nullptr));
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string problem;
    recordFile_ = RecordFile::create(config_.logDir, "game-" + std::string(stamp) + "-t" + std::to_string(number_),
                                     problem);
    if (!recordFile_) logError("table ", number_, ": no game record: ", problem);
}

void Table::writeRecord() {
    const auto lines = record_.takeLines();
    if (lines.empty() || !recordFile_) return;
    if (!recordFile_->append(lines)) {
        logError("table ", number_, ": cannot write the game record ", recordFile_->path().string());
        recordFile_.reset();
    }
}

void Table::closeRecord() {
    writeRecord();
    recordFile_.reset();
}

}  // namespace lerva

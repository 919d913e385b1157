// One table: four seats, the rules engine, and the clocks around it. The
// room of the classic chat-server shape: sessions join and leave it, it
// hands every player the blocks meant for them. The rules themselves are
// the engine's; the table only routes moves in and events out.
//
// Runs on the network loop only. A bot's decision comes back from the
// worker pool as a posted handler and is applied only if the turn it was
// asked about is still the current one.
#pragma once

#include <array>
#include "asio.h"
#include <chrono>
#include <optional>
#include <functional>
#include <memory>
#include <string>

#include "admission.h"
#include "bot_pool.h"
#include "config.h"
#include "game.h"
#include "game_record.h"
#include "record_file.h"
#include "messages.h"
#include "participant.h"

namespace lerva {

struct TableServices {
    asio::io_context& loop;
    const ServerConfig& config;
    BotPool& bots;
    Admission& admission;
};

class Table : public std::enable_shared_from_this<Table> {
public:
    Table(TableServices services, std::uint64_t number, std::uint64_t seed,
          std::function<void(Table&)> onClosed);

    std::uint64_t number() const { return number_; }
    // Still filling its seats: a new player may sit down here.
    bool waitingForPlayers() const;
    // A game in progress holds a seat that this player left.
    bool awaits(const PlayerIdentity& comer) const;

    // Starts the seat-filling clock; call once, right after construction.
    void open();
    void seatPlayer(std::shared_ptr<Participant> player);
    // The player takes back their seat at the start of the next deal.
    void seatReturning(std::shared_ptr<Participant> player);
    void onBlock(Participant* player, const Block& block);
    void onLeave(Participant* player);
    // Ends the table at once (server shutting down).
    void close();

private:
    enum class State { Waiting, Playing, Finished, Closed };

    struct Seat {
        bool taken = false;                     // by a player or a bot
        std::shared_ptr<Participant> player;    // null: the bot plays this seat
        std::string name;
        std::optional<PlayerIdentity> leftBy;   // a player who left mid-game
        std::shared_ptr<Participant> returning; // sits down at the next deal
        std::shared_ptr<SeatBot> bot;           // plays when nobody does
        int refusals = 0;                       // refused blocks in a row
    };

    // Seating and the table's life (table.cpp).
    int seatOf(const Participant* player) const;
    int humansSeated() const;
    bool everyoneGone() const;   // no player seated, nobody about to return
    int seatLeftFor(const PlayerIdentity& comer) const;   // -1: none
    std::array<bool, kSeats> computerSeats() const;
    void seatBot(int seat);
    void fillWithBots();
    void startGame();
    void finishGame();
    void openRecord();
    void writeRecord();
    void closeRecord();
    // Without a record folder the record is not even built.
    bool recording() const { return !config_.logDir.empty(); }
    SeatNames names() const;

    // The game (table_play.cpp).
    void startNextDeal();
    // Nobody is left to play for: the game stands still until a player
    // comes back or the rejoin wait ends it; resume() goes on.
    void waitForReturn(const std::string& address);
    void resume();
    void dispatch(const Events& events);
    void holdBotsFor(Millis pause);
    void beginTurn(int seat);
    void runTurnClock();
    void askBot(int seat);
    void applyBotMove(std::uint64_t turn, int seat, const Move& move);
    void refuse(int seat);
    Block askBlock() const;

    TableServices services_;
    const ServerConfig& config_;
    std::uint64_t number_;
    std::uint64_t seed_;
    std::function<void(Table&)> onClosed_;
    State state_ = State::Waiting;
    Game game_;
    std::array<Seat, kSeats> seats_;

    std::uint64_t turn_ = 0;        // counts the questions the engine asked
    std::uint64_t botTurn_ = 0;     // the turn a bot is answering, 0 = none
    std::uint64_t timedTurn_ = 0;   // the person's turn the turn clock is for
    std::chrono::steady_clock::time_point turnDeadline_{};
    bool turnClockRunning_ = false;
    bool paused_ = false;           // every player left; waiting for one to come back
    std::string lastAddress_;       // of the last player who left
    std::unique_ptr<Admission::Slot> returnSlot_;   // held while paused
    // The clients are pausing (full trick, trump named) until then.
    std::chrono::steady_clock::time_point clientsBusyUntil_{};

    asio::steady_timer fillTimer_;
    asio::steady_timer turnTimer_;
    asio::steady_timer botTimer_;
    asio::steady_timer endTimer_;   // after the game, or while paused

    GameRecord record_;
    std::optional<RecordFile> recordFile_;
};

}  // namespace lerva

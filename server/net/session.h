// One client connection: reads whole 128-byte blocks, writes whole blocks
// through a queue. The first block is the user name, the second "join";
// after that every block goes to the player's table. It knows no rules.
//
// Reads take what has arrived, up to a few blocks, in one call; the blocks
// a table delivers for one move leave in one write. With
// thousands of players the system calls, not the game, are the cost.
#pragma once

#include <array>
#include "asio.h"
#include <vector>
#include <functional>
#include <memory>
#include <string>

#include "arrival.h"
#include "config.h"
#include "connections.h"
#include "participant.h"

namespace lerva {

class Lobby;
class Table;

class Session : public Participant, public std::enable_shared_from_this<Session> {
public:
    Session(asio::ip::tcp::socket socket, Lobby& lobby, const ServerConfig& config);
    ~Session() override;

    // The peer's address as connections are counted (addressKey()).
    const std::string& address() const { return address_; }
    // Starts reading; `ticket` is the connection's place on the server.
    void start(std::shared_ptr<Connections::Ticket> ticket);
    // Closes at once, dropping what is queued (its slot is wanted).
    void letGo(const std::string& why) { end(why); }
    // Runs when the session is gone (after its socket closed).
    void onEnded(std::function<void()> callback) { onEnded_ = std::move(callback); }

    void deliver(const Block& block) override;
    void flush() override { writeQueued(); }
    void close() override;
    const std::string& name() const override { return arrival_.name(); }
    PlayerIdentity identity() const override { return arrival_.identity(); }

private:
    enum class State { AwaitName, AwaitJoin, Seated, Closing, Ended };

    void readMore();
    void onBytes(std::size_t count);
    void onBlock(const Block& block);
    void writeQueued();
    void end(const std::string& why);

    asio::ip::tcp::socket socket_;
    // Until the name and "join" are in; then, once closing, until the last
    // blocks are read.
    asio::steady_timer deadline_;
    Lobby& lobby_;
    const ServerConfig& config_;
    std::function<void()> onEnded_;
    std::shared_ptr<Connections::Ticket> ticket_;
    std::string address_;
    std::string peer_;
    State state_ = State::AwaitName;
    Arrival arrival_;
    std::shared_ptr<Table> table_;
    // Bytes read and not yet a whole block, at the front.
    std::array<char, 16 * kBlockSize> incoming_{};
    std::size_t incomingBytes_ = 0;
    std::vector<Block> queued_;    // delivered since the last write began
    std::vector<Block> writing_;   // being written; the two swap

};

}  // namespace lerva

// A player in a browser: one WebSocket whose every binary message is one
// 128-byte block, the same blocks as on TCP, so that the lobby and the
// tables cannot tell the two apart. The first block is the name, the second
// "join" (see Arrival).
//
// A message that is not exactly one block (text, shorter or longer) ends
// the connection with a close code that says why; a browser that stops
// answering pings is dropped; one that reads nothing is dropped once too
// many blocks wait for it, as on TCP.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include "arrival.h"
#include "beast.h"
#include "config.h"
#include "connections.h"
#include "participant.h"

namespace lerva {

class Lobby;
class Table;

class WebPlayer : public Participant, public std::enable_shared_from_this<WebPlayer> {
public:
    WebPlayer(beast::tcp_stream stream, Lobby& lobby, Millis nameTimeout,
              std::shared_ptr<Connections::Ticket> ticket, std::string peer);

    // Completes the upgrade `request` asked for and starts reading.
    void start(http::request<http::empty_body> request);

    void deliver(const Block& block) override;
    void flush() override { writeNext(); }
    void close() override;
    const std::string& name() const override { return arrival_.name(); }
    PlayerIdentity identity() const override { return arrival_.identity(); }

    // Without a pong for this long after a ping, the browser is gone.
    static constexpr auto kIdleTimeout = std::chrono::seconds(20);

private:
    enum class State { Handshake, AwaitJoin, Seated, Closing, Ended };

    void readNext();
    void onMessage();
    void onBlock(const Block& block);
    void writeNext();
    void closeWith(websocket::close_code code, const std::string& why);
    // Leaves the table; `shutSocket` false while a close handshake is on its way.
    void end(const std::string& why, bool shutSocket = true);

    websocket::stream<beast::tcp_stream> ws_;
    asio::steady_timer nameTimer_;
    Lobby& lobby_;
    std::shared_ptr<Connections::Ticket> ticket_;
    std::string peer_;
    std::string address_;   // addressKey() of the peer
    State state_ = State::Handshake;
    Arrival arrival_;
    std::shared_ptr<Table> table_;
    beast::flat_buffer incoming_;
    std::deque<Block> outgoing_;   // the front one is being written once writing_ is set
    bool writing_ = false;
};

}  // namespace lerva

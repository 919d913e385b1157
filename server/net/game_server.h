// The whole server on one network loop: the acceptor, the sessions, the
// lobby with its tables and the bot workers.
#pragma once

#include <asio.hpp>
#include <memory>
#include <stdexcept>
#include <string>

#include "bot_pool.h"
#include "config.h"
#include "lobby.h"

namespace lerva {

// The listening socket could not be set up; what() says why in words a
// person running the server can act on.
class ListenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class GameServer {
public:
    // Binds and listens at once (port 0 picks a free port); throws ListenError.
    explicit GameServer(ServerConfig config);
    ~GameServer();

    unsigned short port() const { return port_; }
    // Runs the network loop until stop(); call from one thread.
    void run();
    // Stops the server from any thread; run() then returns.
    void stop();
    // Stops on SIGINT or SIGTERM (the program, not the tests).
    void stopOnSignals();

private:
    void accept();

    ServerConfig config_;
    asio::io_context loop_;
    BotPool bots_;
    Lobby lobby_;
    asio::ip::tcp::acceptor acceptor_;
    asio::signal_set signals_;
    unsigned short port_ = 0;
    std::shared_ptr<int> connections_ = std::make_shared<int>(0);
};

}  // namespace lerva

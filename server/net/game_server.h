// The whole server on one network loop: the acceptor, the sessions, the
// lobby with its tables and the bot workers.
#pragma once

#include "asio.h"
#include <memory>
#include <stdexcept>
#include <string>

#include "acceptor.h"
#include "admission.h"
#include "bot_pool.h"
#include "config.h"
#include "connections.h"
#include "lobby.h"

namespace lerva {

class WebServer;

// The listening socket could not be set up; what() says why in words a
// person running the server can act on.
class ListenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The server cannot start as configured (e.g. the records folder cannot be
// written); what() says why.
class StartError : public std::runtime_error {
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
    // Stops the server from any thread: closes the listener, ends every
    // table (an unfinished game's record gets its end line), sends what is
    // queued and closes every connection; run() then returns, at the latest
    // after the shutdown grace period.
    void stop();
    // Stops on SIGINT or SIGTERM (the program, not the tests).
    void stopOnSignals();

    // The connection bound in force (the configured one, or the default
    // sized from the open-file limit).
    int maxConnections() const { return config_.maxConnections; }
    // The web port (0 when the server serves no web page).
    unsigned short webPort() const;
    // The slots of the server, which every kind of session takes one of.
    Admission& admission() { return admission_; }

private:
    void takeConnection(asio::ip::tcp::socket socket);
    void shutDown();
    void sizeConnectionBound();

    ServerConfig config_;
    // Before the loop: sessions and tables still held by the loop's
    // handlers give their slots back when it is destroyed.
    Admission admission_;
    // Every open connection, of either port, holds a ticket here (and
    // through it a slot of the admission).
    Connections connections_{admission_};
    asio::io_context loop_;
    BotPool bots_;
    Lobby lobby_;
    asio::ip::tcp::acceptor acceptor_;
    Acceptor incoming_;
    asio::signal_set signals_;
    asio::steady_timer shutdownGrace_;   // clients that read nothing are not waited for
    unsigned short port_ = 0;
    std::unique_ptr<WebServer> web_;   // with --web-port
};

}  // namespace lerva

// The web port: the table's page over HTTP, its players over a WebSocket at
// /play. Its connections count against the same bound as the game port's.
#pragma once

#include <memory>

#include "acceptor.h"
#include "asio.h"
#include "config.h"
#include "connections.h"
#include "routes.h"
#include "web_context.h"

namespace lerva {

class Lobby;

class WebServer {
public:
    // Binds and listens at once on config.webPort (0 picks a free port);
    // throws ListenError.
    WebServer(asio::io_context& loop, const ServerConfig& config, Lobby& lobby, Connections& connections);

    unsigned short port() const { return port_; }
    // Stops taking connections; the open ones close with the server's.
    void stop();
    // For later pages on the same port.
    Routes& routes() { return routes_; }

private:
    void take(asio::ip::tcp::socket socket);

    Connections& connections_;
    Routes routes_;
    WebContext context_;
    asio::ip::tcp::acceptor acceptor_;
    Acceptor incoming_;
    unsigned short port_ = 0;
};

// The page's settings that come from the server: how long it holds a full
// trick and the named trump, the same pauses the server gives clients.
std::string pageSettingsJson(const ServerConfig& config);

}  // namespace lerva

// What every listening port of the server does alike: open, bind and
// listen, and turn a connection away at the connection bound.
#pragma once

#include "asio.h"

namespace lerva {

// Opens `acceptor` listening on `endpoint`; the error says why it could not.
error_code listenOn(asio::ip::tcp::acceptor& acceptor, const asio::ip::tcp::endpoint& endpoint);

// Closes a connection the server has no room for.
void turnAway(asio::ip::tcp::socket& socket);

}  // namespace lerva

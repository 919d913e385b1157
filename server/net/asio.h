// The server's one way in to Asio: Boost.Asio, under the short name the code
// uses everywhere, so that Boost.Beast's HTTP and WebSocket run on the same
// loop as the game's TCP sessions.
#pragma once

#include <boost/asio.hpp>

namespace asio = boost::asio;

namespace lerva {
// What Asio's handlers and non-throwing calls report.
using error_code = boost::system::error_code;
}  // namespace lerva

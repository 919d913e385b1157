#include "listener.h"

namespace lerva {

error_code listenOn(asio::ip::tcp::acceptor& acceptor, const asio::ip::tcp::endpoint& endpoint) {
    error_code error;
    acceptor.open(endpoint.protocol(), error);
#ifndef _WIN32
    // Lets a restarted server listen while old connections linger. Windows
    // has no such wait, and there the option would let two servers share a port.
    if (!error) acceptor.set_option(asio::socket_base::reuse_address(true), error);
#endif
    if (!error) acceptor.bind(endpoint, error);
    if (!error) acceptor.listen(asio::socket_base::max_listen_connections, error);
    return error;
}

void turnAway(asio::ip::tcp::socket& socket) {
    error_code ignored;
    socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket.close(ignored);
}

}  // namespace lerva

// The listening socket's side of the loop: takes every connection waiting
// in the kernel's queue in one turn and hands each to `onConnection`.
//
// A loop that took one connection per turn, busy with thousands of
// players, would let the queue overflow under a crowd of arrivals; the
// kernel then drops the handshakes it cannot queue, and later resets
// connections whose clients already believed they were in.
#pragma once

#include "asio.h"
#include <functional>

namespace lerva {

class Acceptor {
public:
    using OnConnection = std::function<void(asio::ip::tcp::socket)>;

    // `acceptor` is open and listening; it must outlive this object.
    Acceptor(asio::ip::tcp::acceptor& acceptor, OnConnection onConnection);

    // Waits for connections until the listening socket is closed.
    void start();
    void stop();

    static constexpr int kMostPerTurn = 256;

private:
    void acceptNext();
    void takeWaiting();
    void pauseAfter(const error_code& error);

    asio::ip::tcp::acceptor& acceptor_;
    OnConnection onConnection_;
    asio::steady_timer pause_;     // out of files: try again a little later
    bool warned_ = false;
};

}  // namespace lerva

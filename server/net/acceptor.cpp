#include "acceptor.h"

#include <chrono>

#include "log.h"

namespace lerva {

Acceptor::Acceptor(asio::ip::tcp::acceptor& acceptor, OnConnection onConnection)
    : acceptor_(acceptor), onConnection_(std::move(onConnection)), pause_(acceptor.get_executor()) {}

void Acceptor::start() {
    error_code error;
    acceptor_.non_blocking(true, error);   // so that takeWaiting() never blocks
    acceptNext();
}

void Acceptor::stop() { pause_.cancel(); }

void Acceptor::acceptNext() {
    acceptor_.async_accept([this](error_code error, asio::ip::tcp::socket socket) {
        if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
        if (error) {
            pauseAfter(error);
            return;
        }
        onConnection_(std::move(socket));
        takeWaiting();
    });
}

void Acceptor::takeWaiting() {
    for (int taken = 1; taken < kMostPerTurn && acceptor_.is_open(); ++taken) {
        error_code error;
        asio::ip::tcp::socket next(acceptor_.get_executor());
        acceptor_.accept(next, error);
        if (error == asio::error::would_block || error == asio::error::try_again) break;
        if (error) {
            pauseAfter(error);
            return;
        }
        onConnection_(std::move(next));
    }
    warned_ = false;
    if (acceptor_.is_open()) acceptNext();
}

void Acceptor::pauseAfter(const error_code& error) {
    // Out of files, most likely: the queue keeps the arrivals meanwhile.
    // Spinning on the error would only fill the log.
    if (!warned_) logWarn("accept failed: ", error.message(), "; trying again");
    warned_ = true;
    pause_.expires_after(std::chrono::milliseconds(100));
    pause_.async_wait([this](error_code cancelled) {
        if (!cancelled && acceptor_.is_open()) acceptNext();
    });
}

}  // namespace lerva

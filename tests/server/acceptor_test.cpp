// The listening side under a crowd: connections that queued up while the
// loop was busy are all taken in the next turn, so the kernel's queue does
// not overflow and reset connections whose clients believe they are in.
#include <gtest/gtest.h>

#include "asio.h"
#include <vector>

#include "acceptor.h"

namespace lerva {
namespace {

TEST(Acceptor, TakesEveryWaitingConnectionInOneTurn) {
    asio::io_context loop;
    asio::ip::tcp::acceptor listener(loop, {asio::ip::make_address("127.0.0.1"), 0});
    std::vector<asio::ip::tcp::socket> taken;
    Acceptor acceptor(listener, [&](asio::ip::tcp::socket socket) { taken.push_back(std::move(socket)); });
    acceptor.start();

    // The loop is busy elsewhere while they arrive: the kernel queues them.
    constexpr int kCrowd = 50;
    asio::io_context clients;
    std::vector<asio::ip::tcp::socket> crowd;
    for (int i = 0; i < kCrowd; ++i) {
        crowd.emplace_back(clients);
        crowd.back().connect(listener.local_endpoint());
    }
    while (taken.empty()) loop.run_one();
    EXPECT_EQ(taken.size(), static_cast<std::size_t>(kCrowd));

    listener.close();
    acceptor.stop();
    loop.run();   // the pending accept ends with the closed listener
}

}  // namespace
}  // namespace lerva

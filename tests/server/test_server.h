// A game server on a free loopback port, running on its own thread for the
// length of a test.
#pragma once

#include <thread>

#include "game_server.h"
#include "log.h"

namespace lerva::test {

// Loopback, a port the system picks, no bot delays, short time limits, and
// the quick heuristic bots: these tests play many games for the tables' and
// the network's sake, and the searching bots spend up to half a second a move.
inline ServerConfig testConfig() {
    ServerConfig config;
    config.botLevel = BotLevel::Heuristic;
    config.bindAddress = "127.0.0.1";
    config.port = 0;
    config.botDelay = Millis(0);
    config.nameTimeout = Millis(2000);
    config.gameOverLinger = Millis(2000);
    config.abandonAfter = Millis(2000);
    config.botThreads = 1;
    setLogLevel(std::getenv("LERVA_TEST_LOG") ? LogLevel::Debug : LogLevel::Warn);
    return config;
}

class TestServer {
public:
    explicit TestServer(const ServerConfig& config) : server_(config), thread_([this] { server_.run(); }) {}
    ~TestServer() {
        server_.stop();
        thread_.join();
    }
    unsigned short port() const { return server_.port(); }
    unsigned short webPort() const { return server_.webPort(); }

private:
    GameServer server_;
    std::thread thread_;
};

}  // namespace lerva::test

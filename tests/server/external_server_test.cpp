// A whole game against a server started outside the test (for instance the
// Windows build of lerva-server under Wine): one scripted client and the
// server's three computer players. The port is in LERVA_SERVER_PORT.
#include <gtest/gtest.h>

#include <cstdlib>

#include "client_checks.h"
#include "scripted_client.h"

namespace lerva::test {
namespace {

unsigned short serverPort() {
    const char* port = std::getenv("LERVA_SERVER_PORT");
    return static_cast<unsigned short>(port ? std::atoi(port) : 113);
}

TEST(ExternalServer, PlaysAWholeGameWithThreeBots) {
    ScriptedClient client(serverPort(), "Mari");
    client.join();
    EXPECT_TRUE(client.playGame(30s));
    expectWholeGame(client);
    EXPECT_EQ(client.deals().front().names,
              (std::vector<std::string>{"Arvuti 2", "Arvuti 3", "Arvuti 4"}));
}

}  // namespace
}  // namespace lerva::test

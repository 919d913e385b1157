// Whole games over loopback: scripted clients against the real server.
#include <gtest/gtest.h>

#include <future>
#include <numeric>

#include "client_checks.h"
#include "scripted_client.h"
#include "test_server.h"

namespace lerva::test {
namespace {

TEST(ServerGame, FourClientsPlayAWholeGame) {
    TestServer server(testConfig());
    std::vector<std::unique_ptr<ScriptedClient>> clients;
    for (const char* name : {"Anu", "Bert", "Cili", "Dan"}) {
        clients.push_back(std::make_unique<ScriptedClient>(server.port(), name));
        clients.back()->join();
    }
    std::vector<std::future<bool>> games;
    for (auto& client : clients)
        games.push_back(std::async(std::launch::async, [&c = *client] { return c.playGame(); }));
    for (auto& game : games) EXPECT_TRUE(game.get());
    for (auto& client : clients) expectWholeGame(*client);

    // Seats are found from the names each client was sent: left, opposite, right.
    auto indexOf = [&](const std::string& name) {
        for (std::size_t i = 0; i < clients.size(); ++i)
            if (clients[i]->name() == name) return static_cast<int>(i);
        return -1;
    };
    const auto& first = clients[0]->deals().front().names;
    const int left = indexOf(first[0]), opposite = indexOf(first[1]), right = indexOf(first[2]);
    ASSERT_TRUE(left > 0 && opposite > 0 && right > 0);
    EXPECT_EQ(clients[left]->deals().front().names,
              (std::vector<std::string>{first[1], first[2], "Anu"}));

    const auto& mine = clients[0]->deals();
    const auto& partner = clients[opposite]->deals();
    const auto& opponent = clients[left]->deals();
    ASSERT_EQ(mine.size(), partner.size());
    ASSERT_EQ(mine.size(), opponent.size());
    for (std::size_t d = 0; d < mine.size(); ++d) {
        // Partners see the same score; opponents see it mirrored, and the
        // card points of the two teams add up to 120.
        EXPECT_EQ(mine[d].points->ownCardPoints, partner[d].points->ownCardPoints);
        EXPECT_EQ(mine[d].points->ownGamePoints, partner[d].points->ownGamePoints);
        EXPECT_EQ(mine[d].points->ownCardPoints + opponent[d].points->ownCardPoints, 120);
        EXPECT_EQ(mine[d].points->ownGamePoints, opponent[d].points->otherGamePoints);
        // Every card report is the same card seen from another chair: what
        // the left player reports at its seat 3 (right) is our seat 0.
        ASSERT_EQ(mine[d].cards.size(), opponent[d].cards.size());
        for (std::size_t i = 0; i < mine[d].cards.size(); ++i) {
            EXPECT_EQ(mine[d].cards[i].card, opponent[d].cards[i].card);
            EXPECT_EQ((mine[d].cards[i].seat + 3) % 4, opponent[d].cards[i].seat);
        }
        // Bid reports likewise: our slot 1 is the left player's slot 2.
        ASSERT_EQ(mine[d].bids.size(), opponent[d].bids.size());
        for (std::size_t i = 0; i < mine[d].bids.size(); ++i) {
            const int seatSeenByMe = seatOfBidSlot(mine[d].bids[i].slot);
            EXPECT_EQ(bidSlotOfSeat((seatSeenByMe + 3) % 4), opponent[d].bids[i].slot);
            EXPECT_EQ(mine[d].bids[i].bid, opponent[d].bids[i].bid);
        }
    }
    // The dealer moves left each deal, so the first bid comes from each seat in turn.
    for (std::size_t d = 0; d + 1 < mine.size(); ++d)
        EXPECT_EQ((seatOfBidSlot(mine[d].bids.front().slot) + 1) % 4,
                  seatOfBidSlot(mine[d + 1].bids.front().slot));
}

TEST(ServerGame, OneClientPlaysAgainstThreeBots) {
    ServerConfig config = testConfig();
    config.botsPerTable = 3;
    config.botLevel = BotLevel::Strong;   // the bots people play with
    TestServer server(config);
    ScriptedClient client(server.port(), "Üksik");
    client.join();
    EXPECT_TRUE(client.playGame());
    expectWholeGame(client);
    EXPECT_EQ(client.deals().front().names,
              (std::vector<std::string>{"Arvuti 2", "Arvuti 3", "Arvuti 4"}));
}

TEST(ServerGame, FillAfterSeatsBotsWhenNobodyElseComes) {
    ServerConfig config = testConfig();
    config.fillAfter = Millis(50);
    TestServer server(config);
    ScriptedClient first(server.port(), "Esimene");
    ScriptedClient second(server.port(), "Teine");
    first.join();
    second.join();
    auto other = std::async(std::launch::async, [&] { return second.playGame(); });
    EXPECT_TRUE(first.playGame());
    EXPECT_TRUE(other.get());
    expectWholeGame(first);
    // Two players and two bots: the one opposite or beside is the other player.
    const auto& names = first.deals().front().names;
    EXPECT_EQ(std::count(names.begin(), names.end(), "Teine"), 1);
}

TEST(ServerGame, SeedRepeatsTheDeals) {
    auto playWithSeed = [](std::uint64_t seed) {
        ServerConfig config = testConfig();
        config.botsPerTable = 3;
        config.seed = seed;
        TestServer server(config);
        ScriptedClient client(server.port(), "Sama");
        client.join();
        client.playGame();
        std::vector<Hand> hands;
        for (const DealLog& deal : client.deals()) hands.push_back(deal.dealt);
        return hands;
    };
    const auto once = playWithSeed(42);
    const auto again = playWithSeed(42);
    const auto other = playWithSeed(43);
    ASSERT_GE(once.size(), 2u);
    EXPECT_EQ(once, again);
    EXPECT_NE(once.front(), other.front());
}

}  // namespace
}  // namespace lerva::test

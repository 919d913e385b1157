// The server against clients that misbehave, leave, come back, stay
// silent or send junk: the table plays on and other tables never notice.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <random>
#include <thread>

#include "client_checks.h"
#include "messages.h"
#include "record_files.h"
#include "scripted_client.h"
#include "test_server.h"

namespace lerva::test {
namespace {

// A card this hand does not hold.
CardCode cardNotIn(const std::vector<CardCode>& hand) {
    for (CardCode card : fullDeck())
        if (std::find(hand.begin(), hand.end(), card) == hand.end()) return card;
    return kNoCard;
}

// The first ask of `kind` in a deal, and what followed it.
std::vector<Block> fromFirstAsk(const DealLog& deal, ServerMessage kind) {
    for (std::size_t i = 0; i < deal.received.size(); ++i)
        if (classify(kind == ServerMessage::Ok ? 1 : 2, deal.received[i]) == kind &&
            blockText(deal.received[i]) == blockText(kind == ServerMessage::Ok ? okBlock() : okcBlock()))
            return {deal.received.begin() + static_cast<long>(i), deal.received.end()};
    return {};
}

struct RefusalCase {
    const char* what;
    ServerMessage ask;                // the turn that goes wrong
    int forbiddenBlocks;              // sent before falling silent or giving up
    bool timeout;                     // then stay silent until the turn timeout
    int asks;                         // the asks we get for that turn
    std::function<Block(const ClientTable&, int)> forbidden;
};

TEST(ServerRobustness, ForbiddenBlocksAreAskedAgainAndTheThirdIsPlayedByABot) {
    const std::vector<RefusalCase> cases = {
        {"bids the bidding rule or parser refuses", ServerMessage::Ok, 3, false, 3,
         [](const ClientTable&, int i) {
             const Block blocks[] = {textBlock("bid  11"), cardPlayBlock(11), textBlock("bid 5")};
             return blocks[i];
         }},
        {"cards not held, not allowed, or not cards", ServerMessage::Okc, 3, false, 3,
         [](const ClientTable& table, int i) {
             const Block blocks[] = {cardPlayBlock(cardNotIn(table.hand)), bidBlock(3), textBlock("scard")};
             return blocks[i];
         }},
        {"one refused bid, then silence until the turn timeout", ServerMessage::Ok, 1, true, 2,
         [](const ClientTable&, int) { return textBlock("pass"); }},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        ServerConfig config = testConfig();
        config.botsPerTable = 3;
        // Long enough that only the silent turn runs out, even on a busy machine.
        if (c.timeout) config.turnTimeout = Millis(500);
        TestServer server(config);
        ScriptedClient client(server.port(), "Vale");
        int sent = 0;
        bool silent = false;
        client.setAnswer([&](ServerMessage ask, const ClientTable& table) {
            if (ask != c.ask || silent) return Reply::usual();
            if (sent < c.forbiddenBlocks) return Reply::send(c.forbidden(table, sent++));
            if (c.timeout) {
                silent = true;   // once: the bot's move comes after the timeout
                return Reply::nothing();
            }
            return Reply::usual();
        });
        client.join();
        EXPECT_TRUE(client.playGame());
        expectWholeGame(client);

        // The ask came again after each refused block short of the third;
        // then our move was reported without our sending one. (A bot's bid
        // of 10 may end an auction before our turn: look for the first ask.)
        std::vector<Block> after;
        for (const DealLog& deal : client.deals())
            if (after.empty()) after = fromFirstAsk(deal, c.ask);
        ASSERT_GT(after.size(), static_cast<std::size_t>(c.asks));
        for (int i = 0; i < c.asks; ++i)
            EXPECT_EQ(blockText(after[i]), blockText(after[0])) << "ask " << i;
        const Block& report = after[c.asks];
        if (c.ask == ServerMessage::Ok) {
            const auto bid = parseBidReport(report);
            ASSERT_TRUE(bid);
            EXPECT_EQ(bid->slot, 1);
        } else {
            const auto card = parseCardReport(report);
            ASSERT_TRUE(card);
            EXPECT_EQ(card->seat, 0);
        }
    }
}

TEST(ServerRobustness, LeaverIsReplacedByABotAndGetsTheSeatBackAtTheNextDeal) {
    ServerConfig config = testConfig();
    config.seed = 7;
    TestServer server(config);
    ScriptedClient leaver(server.port(), "Mari");
    leaver.join();
    std::vector<std::unique_ptr<ScriptedClient>> others;
    std::atomic<bool> gone{false}, back{false};
    for (const char* name : {"Jaan", "Kati", "Peeter"}) {
        others.push_back(std::make_unique<ScriptedClient>(server.port(), name));
        others.back()->join();
        // Hold the game while Mari is away, so she can come back before it ends.
        others.back()->setAnswer([&](ServerMessage, const ClientTable&) {
            for (int i = 0; i < 500 && gone && !back; ++i) std::this_thread::sleep_for(10ms);
            return Reply::usual();
        });
    }
    std::vector<std::future<bool>> games;
    for (auto& client : others)
        games.push_back(std::async(std::launch::async, [&c = *client] { return c.playGame(); }));

    // Leave in the middle of a trick: right after our card, with cards of
    // others to come.
    ASSERT_TRUE(leaver.playUntil([&] {
        const auto& deals = leaver.deals();
        return !deals.empty() && !deals.back().cards.empty() && deals.back().cards.back().seat == 0 &&
               leaver.table().cardsOnTable > 0;
    }));
    const auto namesBefore = leaver.deals().front().names;
    leaver.disconnect();
    gone = true;

    ScriptedClient returned(server.port(), "Mari");
    returned.join();
    back = true;
    EXPECT_TRUE(returned.playGame());
    for (auto& game : games) EXPECT_TRUE(game.get());
    for (auto& client : others) expectWholeGame(*client);
    expectWholeGame(returned);

    // Back in the same chair: the same neighbours, and the partner's score.
    ASSERT_FALSE(returned.deals().empty());
    EXPECT_EQ(returned.deals().front().names, namesBefore);
    const std::string& partnerName = namesBefore[1];
    for (auto& client : others) {
        if (client->name() != partnerName) continue;
        EXPECT_EQ(client->deals().back().points->ownGamePoints, returned.deals().back().points->ownGamePoints);
        EXPECT_GT(client->deals().size(), returned.deals().size());
    }
}

TEST(ServerRobustness, ATableWhoseOnlyPlayerLeftWaitsForThemAtTheNextDeal) {
    const auto dir = freshDirectory("lerva-return");
    ServerConfig config = testConfig();
    config.botsPerTable = 3;
    config.logDir = dir.string();
    auto server = std::make_unique<TestServer>(config);
    ScriptedClient leaver(server->port(), "Ainus");
    leaver.join();
    ASSERT_TRUE(leaver.playUntil([&] { return !leaver.deals().empty() && leaver.deals().back().cards.size() == 5; }));
    const auto handBefore = leaver.deals().front().dealt;
    leaver.disconnect();
    // The bots finish the deal by themselves and the table waits.
    std::this_thread::sleep_for(100ms);

    ScriptedClient returned(server->port(), "Ainus");
    returned.join();
    EXPECT_TRUE(returned.playGame());
    expectWholeGame(returned);
    ASSERT_FALSE(returned.deals().empty());
    EXPECT_NE(returned.deals().front().dealt, handBefore) << "a new deal, not the one left";
    EXPECT_EQ(returned.deals().front().names, (std::vector<std::string>{"Arvuti 2", "Arvuti 3", "Arvuti 4"}));
    server.reset();

    // One table, one game: the deal that was left, then the ones played
    // after the return, to the end.
    const auto records = readRecords(dir);
    std::filesystem::remove_all(dir);
    ASSERT_EQ(records.size(), 1u);
    const auto& lines = records.front();
    EXPECT_EQ(lines.back()["type"], "end");
    EXPECT_FALSE(lines.back().contains("abandoned"));
    EXPECT_EQ(lines.size(), returned.deals().size() + 3) << "game, the deal left, the deals after, end";
}

TEST(ServerRobustness, JunkLongNamesAndSilenceDoNotDisturbOtherTables) {
    ServerConfig config = testConfig();
    config.nameTimeout = Millis(300);
    TestServer server(config);

    // A connection that never speaks, and one that sends junk instead of
    // "join": both are let go once the name time is up.
    ScriptedClient silent(server.port(), "");
    ScriptedClient junk(server.port(), "");
    std::mt19937 random(5);
    auto junkBlock = [&] {
        Block block;
        for (char& c : block) c = static_cast<char>(random());
        return block;
    };
    for (int i = 0; i < 5; ++i) junk.send(junkBlock());

    // Eight players, two tables. One name fills its block without a NUL
    // and carries control bytes; one player answers everything with junk.
    std::string longName = "Pikk\x01\x1b";
    longName.resize(kBlockSize, 'y');
    const std::string relayed = cleanName(longName);
    ASSERT_EQ(relayed.size(), kMaxRelayedName);

    std::vector<std::unique_ptr<ScriptedClient>> players;
    for (int i = 0; i < 8; ++i) {
        const std::string name = i == 1 ? longName : "Mängija " + std::to_string(i);
        players.push_back(std::make_unique<ScriptedClient>(server.port(), name));
        Block nameBlock{};
        std::copy(name.begin(), name.end(), nameBlock.begin());   // all 128 bytes for the long one
        players.back()->send(nameBlock);
        players.back()->send(joinBlock());
    }
    std::mutex randomMutex;
    players[6]->setAnswer([&](ServerMessage, const ClientTable&) {
        std::lock_guard lock(randomMutex);
        return Reply::send(junkBlock());
    });
    players[6]->setAfterEach([&](ScriptedClient& self) {
        std::lock_guard lock(randomMutex);
        self.send(junkBlock());   // out of turn, all game long
    });

    std::vector<std::future<bool>> games;
    for (auto& player : players)
        games.push_back(std::async(std::launch::async, [&p = *player] { return p.playGame(); }));
    EXPECT_TRUE(silent.waitForClose(3s));
    EXPECT_TRUE(junk.waitForClose(3s));
    for (auto& game : games) EXPECT_TRUE(game.get());

    int sawLongName = 0;
    for (std::size_t i = 0; i < players.size(); ++i) {
        EXPECT_TRUE(players[i]->gameOver()) << i;
        if (i != 6) expectWholeGame(*players[i]);
        const auto& names = players[i]->deals().front().names;
        sawLongName += std::count(names.begin(), names.end(), relayed);
    }
    EXPECT_EQ(sawLongName, 3);   // the long-named player's three table mates
}

TEST(ServerRobustness, ConnectionsBeyondTheLimitAreClosed) {
    ServerConfig config = testConfig();
    config.maxConnections = 2;
    config.botsPerTable = 3;
    TestServer server(config);
    ScriptedClient first(server.port(), "Üks");
    ScriptedClient second(server.port(), "Kaks");
    expectAThirdPlayerClosed(server.port(), first, second);
    EXPECT_TRUE(first.playGame());
    EXPECT_TRUE(second.playGame());
}

TEST(ServerRobustness, ListenProblemsAreReportedInWords) {
    TestServer running(testConfig());
    ServerConfig taken = testConfig();
    taken.port = running.port();
    try {
        GameServer second(taken);
        ADD_FAILURE() << "a second server listened on a port in use";
    } catch (const ListenError& error) {
        EXPECT_NE(std::string(error.what()).find("in use"), std::string::npos) << error.what();
    }
    ServerConfig badAddress = testConfig();
    badAddress.bindAddress = "kala";
    EXPECT_THROW(GameServer{badAddress}, ListenError);
}

TEST(ServerRobustness, EveryGameIsRecordedAsJsonLines) {
    const auto dir = freshDirectory("lerva-record");
    ServerConfig config = testConfig();
    config.botsPerTable = 3;
    config.logDir = dir.string();
    Points last{};
    {
        TestServer server(config);
        ScriptedClient client(server.port(), "K\xf5rv");   // as the client sends "Kõrv"
        client.join();
        ASSERT_TRUE(client.playGame());
        last = *client.deals().back().points;
    }
    const auto records = readRecords(dir);
    std::filesystem::remove_all(dir);
    ASSERT_EQ(records.size(), 1u);
    const auto& lines = records.front();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front()["type"], "game");
    EXPECT_EQ(lines.front()["names"][0], "Kõrv");
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const auto& deal = lines[i];
        ASSERT_EQ(deal["type"], "deal");
        std::set<int> cards;
        for (const auto& hand : deal["hands"])
            for (int card : hand) cards.insert(card);
        EXPECT_EQ(cards.size(), 36u);
        EXPECT_EQ(deal["tricks"].size(), 9u);
        EXPECT_EQ(deal["card_points"][0].get<int>() + deal["card_points"][1].get<int>(), 120);
        EXPECT_FALSE(deal["bids"].empty());
        EXPECT_TRUE(deal.contains("trump"));
    }
    const auto& end = lines.back();
    EXPECT_EQ(end["type"], "end");
    EXPECT_EQ(end["totals"][0], last.ownGamePoints);   // seat 0 is team 0
    EXPECT_EQ(end["totals"][1], last.otherGamePoints);
}

}  // namespace
}  // namespace lerva::test

namespace lerva::test {
namespace {

TEST(ServerRobustness, StoppingMidGameEndsTheRecordAndTellsTheClientNothingFalse) {
    const auto dir = freshDirectory("lerva-stop");
    ServerConfig config = testConfig();
    config.botsPerTable = 3;
    config.logDir = dir.string();
    auto server = std::make_unique<TestServer>(config);
    ScriptedClient client(server->port(), "Viimane");
    client.join();
    // Into the second deal, then the server stops while it waits for us.
    ASSERT_TRUE(client.playUntil([&] { return client.deals().size() == 2 && client.deals().back().okcCount == 1; }));
    server.reset();
    EXPECT_TRUE(client.waitForClose(3s));
    EXPECT_FALSE(client.gameOver()) << "a result was sent for a game nobody finished";
    EXPECT_FALSE(client.deals().back().points);
    EXPECT_TRUE(client.problems().empty()) << client.problems().front();

    const auto records = readRecords(dir);   // a line cut in the middle fails to parse
    std::filesystem::remove_all(dir);
    ASSERT_EQ(records.size(), 1u);
    const auto& lines = records.front();
    EXPECT_EQ(lines.front()["type"], "game");
    EXPECT_EQ(lines.back()["type"], "end");
    EXPECT_EQ(lines.back()["abandoned"], true);
    EXPECT_EQ(lines.back()["deals"], 2);
}

}  // namespace
}  // namespace lerva::test

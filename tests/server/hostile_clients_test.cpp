// Clients that try to exhaust the server or take what is not theirs: each
// row is one such client and what the server must do about it.
#include <gtest/gtest.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "client_checks.h"
#include "file_limit.h"
#include "lobby.h"
#include "record_files.h"
#include "scripted_client.h"
#include "session.h"
#include "test_server.h"

namespace lerva::test {
namespace {

int openFiles() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator()));
}

std::string allText(const std::vector<std::vector<nlohmann::json>>& records) {
    std::string text;
    for (const auto& lines : records)
        for (const auto& line : lines) text += line.dump();
    return text;
}

ServerConfig recordingConfig(const std::filesystem::path& dir) {
    ServerConfig config = testConfig();
    config.botsPerTable = 3;
    config.logDir = dir.string();
    return config;
}

// Leaves mid-deal, then someone joins with a name: do they get the seat?
struct SeatClaim {
    const char* what;
    std::string leaver, leaverFrom, comer, comerFrom;
    bool takesSeat;
};

void claimSeat(const SeatClaim& claim) {
    const auto dir = freshDirectory("lerva-claim");
    auto server = std::make_unique<TestServer>(recordingConfig(dir));
    ScriptedClient leaver(server->port(), claim.leaver, claim.leaverFrom);
    leaver.join();
    ASSERT_TRUE(leaver.receive());
    leaver.disconnect();
    std::this_thread::sleep_for(100ms);   // the leave is seen first
    ScriptedClient comer(server->port(), claim.comer, claim.comerFrom);
    comer.join();
    ASSERT_TRUE(comer.receive()) << "seated";
    server.reset();
    // Given the seat, the comer plays on in the leaver's game; otherwise a
    // table and a record of their own.
    const auto records = readRecords(dir);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(records.size(), claim.takesSeat ? 1u : 2u);
    EXPECT_EQ(allText(records).find("kala7"), std::string::npos) << "a secret was recorded";
}

// Fills the kernel's buffers towards a client that reads nothing, then
// closes: the session must end within its final-write deadline.
void closeTowardsANonReader() {
    ServerConfig config = testConfig();
    config.nameTimeout = Millis(60'000);
    config.finalWriteDeadline = Millis(300);
    Admission admission({});
    asio::io_context loop;
    BotPool bots(loop, 0);
    Lobby lobby(loop, config, bots, admission);
    asio::ip::tcp::acceptor acceptor(loop, {asio::ip::make_address("127.0.0.1"), 0});
    asio::ip::tcp::socket reader(loop);
    reader.open(asio::ip::tcp::v4());
    reader.set_option(asio::socket_base::receive_buffer_size(1024));
    reader.connect(acceptor.local_endpoint());
    asio::ip::tcp::socket accepted = acceptor.accept();
    const int fd = accepted.native_handle();
    bool ended = false;
    auto session = std::make_shared<Session>(std::move(accepted), lobby, config);
    session->onEnded([&] { ended = true; });
    session->start(nullptr);
    // Until a write stays unfinished: the kernel holds less than was sent.
    std::size_t sent = 0;
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 100; ++i) session->deliver(okBlock());
        session->flush();
        sent += 100 * kBlockSize;
        loop.run_for(30ms);
        int unsent = 0;
        ioctl(fd, SIOCOUTQ, &unsent);
        if (static_cast<std::size_t>(unsent) + reader.available() < sent) break;
    }
    ASSERT_FALSE(ended);
    session->close();
    session.reset();
    loop.run_for(2s);
    EXPECT_TRUE(ended) << "the connection outlived its last write";
}

struct HostileCase {
    const char* what;
    std::function<void()> playAndCheck;
};

TEST(HostileClients, NoneExhaustsTheServerOrTakesAnotherPlayersSeat) {
    const std::vector<HostileCase> cases = {
        {"hangs up right after joining, again and again",
         [] {
             const auto dir = freshDirectory("lerva-churn");
             ServerConfig config = recordingConfig(dir);
             config.maxConnections = 6;
             config.abandonAfter = Millis(60'000);
             auto server = std::make_unique<TestServer>(config);
             const int before = openFiles();
             for (int i = 0; i < 40; ++i) {
                 ScriptedClient churner(server->port(), "Tuul " + std::to_string(i));
                 churner.join();
                 ASSERT_TRUE(churner.receive()) << i;
                 churner.disconnect();
             }
             std::this_thread::sleep_for(200ms);
             EXPECT_LE(openFiles() - before, 2 * config.maxConnections + 2) << "tables of nobody hold files";
             ScriptedClient player(server->port(), "M\xe4ngija");
             player.join();
             EXPECT_TRUE(player.playGame());
             server.reset();
             // Every table that gave up its slot ended its record.
             const auto records = readRecords(dir);
             std::filesystem::remove_all(dir);
             EXPECT_EQ(records.size(), 41u);
             for (const auto& lines : records) EXPECT_EQ(lines.back()["type"], "end");
         }},
        {"leaves its table of computer players as the first deal starts",
         [] {
             const auto dir = freshDirectory("lerva-nobody");
             auto server = std::make_unique<TestServer>(recordingConfig(dir));
             ScriptedClient leaver(server->port(), "Lahkuja");
             leaver.join();
             ASSERT_TRUE(leaver.receive());
             leaver.disconnect();
             // Time enough for bots at full speed to play the deal out.
             std::this_thread::sleep_for(300ms);
             server.reset();
             const auto records = readRecords(dir);
             std::filesystem::remove_all(dir);
             ASSERT_EQ(records.size(), 1u);
             ASSERT_EQ(records[0].size(), 2u) << "the deal was played for nobody";
             EXPECT_EQ(records[0][1]["abandoned"], true);
         }},
        {"plants links under the record names to come",
         [] {
             const auto dir = freshDirectory("lerva-links");
             const auto outside = freshDirectory("lerva-outside");
             std::filesystem::create_directories(dir);
             std::ofstream(outside) << "keep\n";
             const std::time_t now = std::time(nullptr);
             for (int second = 0; second < 5; ++second) {
                 const std::tm local = localTime(now + second);
                 char stamp[32];
                 std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
                 std::filesystem::create_symlink(outside, dir / ("game-" + std::string(stamp) + "-t1.jsonl"));
             }
             {
                 TestServer server(recordingConfig(dir));
                 ScriptedClient player(server.port(), "Kaval");
                 player.join();
                 EXPECT_TRUE(player.playGame());
             }
             std::ifstream in(outside);
             EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep\n");
             for (const auto& entry : std::filesystem::directory_iterator(dir))
                 if (entry.is_symlink()) std::filesystem::remove(entry.path());
             EXPECT_EQ(readRecords(dir).size(), 1u);
             std::filesystem::remove_all(dir);
             std::filesystem::remove(outside);
         }},
        {"a second server shares the records folder",
         [] {
             const auto dir = freshDirectory("lerva-shared");
             ServerConfig config = recordingConfig(dir);
             config.seed = 3;   // the same table number and deals on both
             {
                 TestServer first(config), second(config);
                 ScriptedClient a(first.port(), "Esimene"), b(second.port(), "Teine");
                 a.join();
                 b.join();
                 auto game = std::async(std::launch::async, [&] { return a.playGame(); });
                 EXPECT_TRUE(b.playGame());
                 EXPECT_TRUE(game.get());
             }
             std::vector<std::vector<nlohmann::json>> records;
             EXPECT_NO_THROW(records = readRecords(dir)) << "a record line was mixed with another";
             std::filesystem::remove_all(dir);
             EXPECT_EQ(records.size(), 2u);
         }},
        {"claims seats by name", [] {
             const std::vector<SeatClaim> claims = {
                 {"a stranger from another address", "Maret", "127.0.0.1", "Maret", "127.0.0.2", false},
                 {"a stranger with a wrong secret", "Maret#kala7", "127.0.0.1", "Maret#haug", "127.0.0.2", false},
                 {"a nameless newcomer after a nameless player", "", "127.0.0.1", "", "127.0.0.1", false},
                 {"the player, back from the same machine", "Maret", "127.0.0.1", "Maret", "127.0.0.1", true},
                 {"the player, back from elsewhere with the secret", "Maret#kala7", "127.0.0.1", "Maret#kala7",
                  "127.0.0.2", true},
             };
             for (const SeatClaim& claim : claims) {
                 SCOPED_TRACE(claim.what);
                 claimSeat(claim);
             }
         }},
        {"one address opens more connections than its cap",
         [] {
             ServerConfig config = testConfig();
             config.botsPerTable = 3;
             config.maxPerAddress = 2;
             TestServer server(config);
             ScriptedClient first(server.port(), "\xdcks"), second(server.port(), "Kaks");
             expectAThirdPlayerClosed(server.port(), first, second);
             ScriptedClient elsewhere(server.port(), "Neli", "127.0.0.3");
             elsewhere.join();
             EXPECT_TRUE(elsewhere.receive());
         }},
        {"joins and stays silent in every slot",
         [] {
             ServerConfig config = testConfig();
             config.maxConnections = 3;
             config.maxPerAddress = 0;
             config.silentAfter = Millis(300);
             TestServer server(config);
             std::vector<std::unique_ptr<ScriptedClient>> silent;
             for (const char* from : {"127.0.0.4", "127.0.0.5", "127.0.0.6"}) {
                 silent.push_back(std::make_unique<ScriptedClient>(server.port(), "Vaikija", from));
                 silent.back()->join();
             }
             std::this_thread::sleep_for(500ms);
             ScriptedClient newcomer(server.port(), "Uus");
             newcomer.join();
             EXPECT_TRUE(silent.front()->waitForClose(3s)) << "the longest silent gave its slot up";
             EXPECT_FALSE(newcomer.waitForClose(500ms)) << "the newcomer was let in";
         }},
        {"stops reading and never closes", closeTowardsANonReader},
        {"names itself as a computer player",
         [] {
             const auto dir = freshDirectory("lerva-posing");
             {
                 TestServer server(recordingConfig(dir));
                 ScriptedClient poser(server.port(), "Arvuti 2");
                 poser.join();
                 EXPECT_TRUE(poser.playGame());
             }
             const auto records = readRecords(dir);
             std::filesystem::remove_all(dir);
             ASSERT_EQ(records.size(), 1u);
             const auto& game = records[0].front();
             const auto names = game["names"].get<std::vector<std::string>>();
             EXPECT_EQ(std::count(names.begin(), names.end(), "Arvuti 2"), 1) << names[0];
             EXPECT_EQ(game["computer"], (nlohmann::json{false, true, true, true}));
         }},
        {"an operator's records folder is a file",
         [] {
             const auto file = freshDirectory("lerva-not-a-folder");
             std::ofstream(file) << "x";
             ServerConfig config = testConfig();
             config.logDir = file.string();
             EXPECT_THROW(GameServer{config}, StartError);
             std::filesystem::remove(file);
         }},
        {"every slot may hold a record file of its own",
         [] {
             for (const long files : {200L, 1024L, 65536L})
                 EXPECT_LE(2L * connectionBoundFor(files, true) + 16, files) << files;
         }},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.playAndCheck();
    }
}

}  // namespace
}  // namespace lerva::test

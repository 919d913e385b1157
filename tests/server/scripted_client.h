// A test client over loopback. It sends the blocks a real client sends and
// keeps the table the way the real client does, from the server's messages
// alone (its own seat 0, bid slot 1), answering "ok", "trump" and "okc" with
// moves the client's own rules allow. So if the server numbered a seat or a
// slot wrongly, this client's moves would be refused and the tests fail.
#pragma once

#include "asio.h"
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol.h"
#include "rules.h"

namespace lerva::test {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// The table as the client holds it.
struct ClientTable {
    int phase = 0;                      // 0 waiting for a deal, 1 bidding, 2 play
    std::vector<std::string> names;     // this deal's names, in arrival order
    std::vector<CardCode> hand;
    Bids bids{};                        // by bid slot
    int trump = 0;
    Trick trick{};                      // by seat, relative
    int cardsOnTable = 0;
};

// What happened, for the test to look at afterwards.
struct DealLog {
    std::vector<std::string> names;
    Hand dealt{};
    std::vector<BidReport> bids;         // as reported, slot and bid (-1 pass)
    int trump = 0;
    std::vector<CardReport> cards;       // as reported
    std::vector<CardCode> ownPlays;      // the cards this client sent
    std::optional<Points> points;
    int okCount = 0, trumpCount = 0, okcCount = 0;
    std::vector<Block> received;         // every block of the deal, in order
};

// How the client answers an ask: as usual, with a given block, or not at all.
struct Reply {
    enum class Kind { Usual, Send, Nothing } kind = Kind::Usual;
    Block block{};
    static Reply usual() { return {}; }
    static Reply send(const Block& block) { return {Kind::Send, block}; }
    static Reply nothing() { return {Kind::Nothing, {}}; }
};

class ScriptedClient {
public:
    // How to answer an ask (Ok, Trump or Okc).
    using Answer = std::function<Reply(ServerMessage ask, const ClientTable& table)>;

    // Connects from `from`, a loopback address (any of 127.0.0.0/8 on
    // Linux), to stand for another machine.
    ScriptedClient(unsigned short port, std::string name, const std::string& from = "127.0.0.1");

    // Sends the name block and "join".
    void join();
    void send(const Block& block);
    // Next whole block, or nothing if the connection closed or time ran out.
    std::optional<Block> receive(Millis timeout = 5s);
    // Waits for the server to close the connection.
    bool waitForClose(Millis timeout = 5s);
    void disconnect();

    void setAnswer(Answer answer) { answer_ = std::move(answer); }
    // Called with every block after it was handled (e.g. to send junk).
    void setAfterEach(std::function<void(ScriptedClient&)> hook) { afterEach_ = std::move(hook); }
    // Reads and handles messages until `done` says stop, the connection
    // closes, or nothing arrives for `quiet`. Returns whether `done` stopped it.
    bool playUntil(const std::function<bool()>& done, Millis quiet = 5s);
    // Plays to the end of the game: the client closes after the "point"
    // that puts a team at 12 or more, as the real one does.
    bool playGame(Millis quiet = 5s);

    const std::vector<DealLog>& deals() const { return deals_; }
    const ClientTable& table() const { return table_; }
    bool gameOver() const { return gameOver_; }
    // Inconsistencies seen in the server's messages; empty when all was well.
    const std::vector<std::string>& problems() const { return problems_; }
    const std::string& name() const { return name_; }

private:
    void handle(const Block& block);
    void answer(ServerMessage ask);
    Block usualAnswer(ServerMessage ask);
    void problem(const std::string& what) { problems_.push_back(what); }

    asio::io_context io_;
    asio::ip::tcp::socket socket_;
    std::string name_;
    Answer answer_;
    std::function<void(ScriptedClient&)> afterEach_;
    ClientTable table_;
    std::vector<DealLog> deals_;
    std::optional<CardCode> lastPlayed_;
    bool gameOver_ = false;
    bool closed_ = false;
    std::vector<std::string> problems_;
};

}  // namespace lerva::test

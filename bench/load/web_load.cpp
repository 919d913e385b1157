#include "web_load.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>

#include "loopback_source.h"
#include "process_memory.h"

namespace lerva::load {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = boost::beast::websocket;
using tcp = asio::ip::tcp;
using boost::system::error_code;

// One player's connection. Asio's handlers hold it, so that it outlives its
// slot until the last of them has run.
struct WebConnection {
    WebConnection(asio::io_context& io, const Options& options, std::size_t slot, std::uint64_t serial)
        : slot(slot), serial(serial), thinker(options.think, options.seed, serial), ws(io) {}
    std::size_t slot;
    std::uint64_t serial;   // one per connection ever opened
    Thinker thinker;
    websocket::stream<tcp::socket> ws;
    beast::flat_buffer incoming;
    std::deque<Block> outbox;   // Beast takes one write at a time
    bool writing = false;
    bool connected = false;
    bool closing = false;       // closed by us: what the aborted handlers report is no loss
    LoadPlayer player;
    std::optional<Clock::time_point> moveSentAt;   // a move waits for its answer
};

using ConnectionPtr = std::shared_ptr<WebConnection>;

class WebLoad {
public:
    explicit WebLoad(const Options& options)
        : io_(1), timer_(io_), options_(options), slots_(options), window_(options.seconds) {
        connections_.resize(slots_.size());
    }

    int run();

private:
    void tick();
    bool openConnection(std::size_t slot);
    void onConnected(const ConnectionPtr& c, error_code error);
    void onHandshake(const ConnectionPtr& c, error_code error);
    void connectFailed(const ConnectionPtr& c);
    void readNext(const ConnectionPtr& c);
    void onMessage(const ConnectionPtr& c, error_code error);
    void handleBlock(WebConnection& c, const Block& block);
    void send(const ConnectionPtr& c, const Block& block);
    void writeNext(const ConnectionPtr& c);
    void sendMove(const ConnectionPtr& c, const Block& move);
    void sendDueMoves();
    void closeConnection(const ConnectionPtr& c, bool byServer);
    Clock::duration untilNextTick() const;

    asio::io_context io_;
    asio::steady_timer timer_;
    Options options_;
    std::vector<ConnectionPtr> connections_;
    Slots slots_;
    PendingMoves thinking_;
    MeasureWindow window_;
    long rssFirst_ = -1;
    Stats stats_;
};

bool WebLoad::openConnection(std::size_t slot) {
    auto c = std::make_shared<WebConnection>(io_, options_, slot, slots_.serial());
    auto& socket = c->ws.next_layer();
    error_code error;
    socket.open(tcp::v4(), error);
    // Each slot keeps its address, as a person keeps their machine.
    if (error || !bindLoopbackSource(socket.native_handle(), 1, slot / kPlayersPerAddress)) {
        ++stats_.connectFailures;
        slots_.giveBack(slot);
        return false;
    }
    socket.set_option(tcp::no_delay(true), error);
    connections_[slot] = c;
    const tcp::endpoint server(asio::ip::address_v4::loopback(), options_.port);
    socket.async_connect(server, [this, c](error_code e) { onConnected(c, e); });
    return true;
}

void WebLoad::onConnected(const ConnectionPtr& c, error_code error) {
    if (error) return connectFailed(c);
    // No Origin header: the server lets in clients that are not pages.
    c->ws.binary(true);
    c->ws.auto_fragment(false);
    c->ws.async_handshake("127.0.0.1:" + std::to_string(options_.port), "/play",
                          [this, c](error_code e) { onHandshake(c, e); });
}

void WebLoad::connectFailed(const ConnectionPtr& c) {
    ++stats_.connectFailures;
    error_code ignored;
    c->ws.next_layer().close(ignored);
    connections_[c->slot].reset();
    slots_.failed(c->slot);
}

void WebLoad::onHandshake(const ConnectionPtr& c, error_code error) {
    if (error) return connectFailed(c);
    slots_.opened();
    c->connected = true;
    send(c, userNameBlock(slots_.nextName()));
    send(c, joinBlock());
    readNext(c);
}

void WebLoad::readNext(const ConnectionPtr& c) {
    c->ws.async_read(c->incoming, [this, c](error_code e, std::size_t) { onMessage(c, e); });
}

void WebLoad::onMessage(const ConnectionPtr& c, error_code error) {
    if (c->closing) return;
    if (error) return closeConnection(c, true);
    const auto arrivedAt = Clock::now();
    if (c->moveSentAt) {
        if (window_.measuring())
            stats_.latencyMicros.push_back(static_cast<std::int32_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(arrivedAt - *c->moveSentAt).count()));
        c->moveSentAt.reset();
    }
    if (c->incoming.size() != kBlockSize || !c->ws.got_binary()) {
        stats_.problem("a message of " + std::to_string(c->incoming.size()) + " bytes" +
                       (c->ws.got_binary() ? "" : " of text") + ", not one block");
    } else {
        Block block;
        std::memcpy(block.data(), c->incoming.data().data(), kBlockSize);
        handleBlock(*c, block);
    }
    c->incoming.clear();
    if (c->player.gameOver()) {
        if (window_.measuring()) ++stats_.games;
        return closeConnection(c, false);
    }
    readNext(c);
}

void WebLoad::handleBlock(WebConnection& c, const Block& block) {
    if (window_.measuring()) ++stats_.blocks;
    const int before = c.player.problems();
    const auto answer = c.player.onBlock(block);
    stats_.noteProblems(c.player, before);
    if (!answer || options_.idle != 0) return;
    const auto& self = connections_[c.slot];
    if (options_.think.none()) sendMove(self, *answer);
    else thinking_.add({Clock::now() + c.thinker.next(), c.slot, c.serial, *answer});
}

void WebLoad::send(const ConnectionPtr& c, const Block& block) {
    c->outbox.push_back(block);
    if (!c->writing) writeNext(c);
}

void WebLoad::writeNext(const ConnectionPtr& c) {
    if (c->outbox.empty() || c->closing) {
        c->writing = false;
        return;
    }
    c->writing = true;
    // A lost connection shows on the read side; the write just stops.
    c->ws.async_write(asio::buffer(c->outbox.front()), [this, c](error_code e, std::size_t) {
        c->outbox.pop_front();
        if (e) c->writing = false;
        else writeNext(c);
    });
}

void WebLoad::sendMove(const ConnectionPtr& c, const Block& move) {
    c->moveSentAt = Clock::now();
    send(c, move);
    if (window_.measuring()) ++stats_.moves;
}

void WebLoad::sendDueMoves() {
    const auto now = Clock::now();
    while (const auto move = thinking_.takeDue(now)) {
        const auto& c = connections_[move->slot];
        if (c && c->serial == move->serial) sendMove(c, move->block);
    }
}

void WebLoad::closeConnection(const ConnectionPtr& c, bool byServer) {
    if (byServer && window_.measuring()) stats_.noteClosedByServer(c->player);
    c->closing = true;
    error_code ignored;
    c->ws.next_layer().close(ignored);
    slots_.closed(c->slot, c->connected);
    connections_[c->slot].reset();
}

// Until the next move is due, at most the 10 ms the ramp-up wants.
Clock::duration WebLoad::untilNextTick() const {
    const Clock::duration most = std::chrono::milliseconds(10);
    if (thinking_.empty()) return most;
    return std::clamp<Clock::duration>(thinking_.nextDue() - Clock::now(), Clock::duration::zero(), most);
}

// Every connection is opened before measuring; a game that ends opens a new
// connection in its place, so the number of players stays the same.
void WebLoad::tick() {
    const auto now = Clock::now();
    if (window_.begin(now, slots_.allOpened()))
        rssFirst_ = residentKiB(options_.serverPid);
    if (window_.over(now)) return io_.stop();
    slots_.openDue([this](std::size_t slot) { return openConnection(slot); });
    sendDueMoves();
    timer_.expires_after(untilNextTick());
    timer_.async_wait([this](error_code) { tick(); });
}

int WebLoad::run() {
    tick();
    io_.run();
    printReport(options_, stats_, slots_.census(), window_.secondsMeasured(), rssFirst_, residentKiB(options_.serverPid));
    return runStatus(stats_, slots_.census());
}

}  // namespace

int runWebSocketLoad(const Options& options) { return WebLoad(options).run(); }

}  // namespace lerva::load

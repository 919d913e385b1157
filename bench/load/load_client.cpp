// lerva-load: a load generator for lerva-server. Each connection plays as
// the client plays (name, "join", answers at once with legal moves) and
// checks every block it is sent; or, with --idle, sits at its table and
// never answers. Linux only (epoll). With --web-port it plays over
// WebSocket instead (web_load.cpp), with the same players and report.
//
// With --think-ms MIN-MAX each player pauses a uniformly drawn time before
// each move (the same pauses for the same --seed); without it, it answers
// at once and every table always has a move in flight: that measures how
// many moves the server can take, not how long a person waits.
//
// The latency of a move is taken from just before the move is written to
// the moment the kernel queued the server's answer on our socket
// (SO_TIMESTAMPNS), so that this program's own backlog of sockets to read
// is not counted against the server. The time until this program read the
// answer is printed beside it.
//
//   lerva-load --port P --tables N [--seconds S] [--server-pid PID]
//              [--think-ms MIN-MAX] [--seed N]
//   lerva-load --port P --idle N [--seconds S] [--server-pid PID]
//   lerva-load --web-port P ... (the same, over WebSocket)
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "load_player.h"
#include "load_run.h"
#include "loopback_source.h"
#include "process_memory.h"
#include "think_time.h"
#include "web_load.h"

namespace lerva::load {
namespace {

std::int64_t realtimeNanos() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}


struct Connection {
    Connection(ThinkTime think, std::uint64_t seed, std::uint64_t serial)
        : serial(serial), thinker(think, seed, serial) {}
    std::uint64_t serial;           // one per connection ever opened
    Thinker thinker;
    int fd = -1;
    bool connected = false;
    LoadPlayer player;
    unsigned char buffer[8 * kBlockSize];
    std::size_t buffered = 0;
    std::int64_t moveSentAt = 0;    // realtime ns; 0 = no move waiting for its answer
};

class LoadClient {
public:
    explicit LoadClient(const Options& options)
        : options_(options), epoll_(epoll_create1(0)), slots_(options), window_(options.seconds) {
        connections_.resize(slots_.size());
    }

    int run();

private:
    bool openConnection(std::size_t slot);
    void onConnected(std::size_t slot);
    void onReadable(std::size_t slot);
    bool readBlocks(std::size_t slot);
    void handleBlock(std::size_t slot, const Block& block);
    void closeConnection(std::size_t slot, bool byServer);
    void sendAll(int fd, const void* data, std::size_t size);
    void sendMove(Connection& c, const Block& move);
    void sendDueMoves();
    int waitMillis() const;
    bool measuring() const { return window_.measuring(); }

    Options options_;
    int epoll_;
    std::vector<std::unique_ptr<Connection>> connections_;
    Slots slots_;
    PendingMoves thinking_;
    MeasureWindow window_;
    Stats stats_;
};

bool LoadClient::openConnection(std::size_t slot) {
    auto connection = std::make_unique<Connection>(options_.think, options_.seed, slots_.serial());
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        ++stats_.connectFailures;
        slots_.giveBack(slot);
        return false;
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &one, sizeof one);
    setsockopt(fd, IPPROTO_TCP, TCP_INQ, &one, sizeof one);
    // Each slot keeps its address, as a person keeps their machine.
    load::bindLoopbackSource(fd, 1, slot / load::kPlayersPerAddress);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options_.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 && errno != EINPROGRESS) {
        ++stats_.connectFailures;
        close(fd);
        slots_.giveBack(slot);
        return false;
    }
    connection->fd = fd;
    epoll_event event{};
    event.events = EPOLLOUT | EPOLLIN | EPOLLRDHUP;
    event.data.u64 = slot;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    connections_[slot] = std::move(connection);
    return true;
}

void LoadClient::sendAll(int fd, const void* data, std::size_t size) {
    // A block or two: the socket's buffer has room, or the server has long
    // stopped reading and the connection is lost anyway.
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return;
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

void LoadClient::onConnected(std::size_t slot) {
    Connection& c = *connections_[slot];
    int error = 0;
    socklen_t length = sizeof error;
    getsockopt(c.fd, SOL_SOCKET, SO_ERROR, &error, &length);
    if (error != 0) {
        ++stats_.connectFailures;
        epoll_ctl(epoll_, EPOLL_CTL_DEL, c.fd, nullptr);
        close(c.fd);
        connections_[slot].reset();
        slots_.failed(slot);
        return;
    }
    c.connected = true;
    slots_.opened();
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP;
    event.data.u64 = slot;
    epoll_ctl(epoll_, EPOLL_CTL_MOD, c.fd, &event);
    Block hello[2] = {userNameBlock(slots_.nextName()), joinBlock()};
    sendAll(c.fd, hello, sizeof hello);
}

void LoadClient::closeConnection(std::size_t slot, bool byServer) {
    Connection& c = *connections_[slot];
    if (byServer && measuring()) stats_.noteClosedByServer(c.player);
    epoll_ctl(epoll_, EPOLL_CTL_DEL, c.fd, nullptr);
    close(c.fd);
    slots_.closed(slot, c.connected);
    connections_[slot].reset();
}

void LoadClient::handleBlock(std::size_t slot, const Block& block) {
    Connection& c = *connections_[slot];
    if (measuring()) ++stats_.blocks;
    const int before = c.player.problems();
    const auto answer = c.player.onBlock(block);
    stats_.noteProblems(c.player, before);
    if (!answer || options_.idle != 0) return;
    if (options_.think.none()) sendMove(c, *answer);
    else thinking_.add({Clock::now() + c.thinker.next(), slot, c.serial, *answer});
}

void LoadClient::sendMove(Connection& c, const Block& move) {
    c.moveSentAt = realtimeNanos();
    sendAll(c.fd, move.data(), move.size());
    if (measuring()) ++stats_.moves;
}

void LoadClient::sendDueMoves() {
    const auto now = Clock::now();
    while (const auto move = thinking_.takeDue(now)) {
        const auto& c = connections_[move->slot];
        if (c && c->serial == move->serial) sendMove(*c, move->block);
    }
}

// Until the next move is due, at most the 10 ms the ramp-up wants.
int LoadClient::waitMillis() const {
    if (thinking_.empty()) return 10;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(thinking_.nextDue() - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, 10));
}

// What the kernel said beside the bytes of one read.
struct ReadNotes {
    std::optional<std::int64_t> arrivedAt;   // realtime ns the last bytes read were queued
    std::optional<int> bytesLeft;            // still queued after this read
};

ReadNotes readNotes(msghdr& message) {
    ReadNotes notes;
    for (cmsghdr* h = CMSG_FIRSTHDR(&message); h; h = CMSG_NXTHDR(&message, h)) {
        if (h->cmsg_level == SOL_SOCKET && h->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp{};
            std::memcpy(&stamp, CMSG_DATA(h), sizeof stamp);
            notes.arrivedAt = std::int64_t{stamp.tv_sec} * 1'000'000'000 + stamp.tv_nsec;
        } else if (h->cmsg_level == IPPROTO_TCP && h->cmsg_type == TCP_CM_INQ) {
            int left = 0;
            std::memcpy(&left, CMSG_DATA(h), sizeof left);
            notes.bytesLeft = left;
        }
    }
    return notes;
}

// Reads what is there. When a move waits for its answer, the first block is
// read alone, so that its arrival time is the answer's and not a later block's.
// The kernel tells with each read how much is left (TCP_INQ), so that no call
// is made just to be told the socket is empty: at one read per block that
// call would cost as much as the reading. Without that note, a read shorter
// than asked for emptied the socket (epoll here is level-triggered and
// reports what comes later).
bool LoadClient::readBlocks(std::size_t slot) {
    Connection& c = *connections_[slot];
    for (;;) {
        std::size_t want = sizeof c.buffer - c.buffered;
        if (c.moveSentAt != 0) want = kBlockSize - c.buffered % kBlockSize;
        iovec vector{c.buffer + c.buffered, want};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec)) + CMSG_SPACE(sizeof(int))];
        msghdr message{};
        message.msg_iov = &vector;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t got = recvmsg(c.fd, &message, 0);
        if (got == 0) return false;
        if (got < 0) return errno == EAGAIN || errno == EINTR;
        const std::int64_t readAt = realtimeNanos();
        const ReadNotes notes = readNotes(message);
        c.buffered += static_cast<std::size_t>(got);
        if (c.moveSentAt != 0 && c.buffered % kBlockSize == 0) {
            const std::int64_t arrivedAt = notes.arrivedAt.value_or(readAt);
            if (measuring()) {
                stats_.latencyMicros.push_back(static_cast<std::int32_t>((arrivedAt - c.moveSentAt) / 1000));
                stats_.readLagMicros.push_back(static_cast<std::int32_t>((readAt - arrivedAt) / 1000));
            }
            c.moveSentAt = 0;
        }
        const std::size_t whole = c.buffered / kBlockSize * kBlockSize;
        for (std::size_t at = 0; at < whole; at += kBlockSize) {
            Block block;
            std::memcpy(block.data(), c.buffer + at, kBlockSize);
            handleBlock(slot, block);
            if (c.player.gameOver()) return true;
        }
        std::memmove(c.buffer, c.buffer + whole, c.buffered - whole);
        c.buffered -= whole;
        if (notes.bytesLeft ? *notes.bytesLeft == 0 : static_cast<std::size_t>(got) < want) return true;
    }
}

void LoadClient::onReadable(std::size_t slot) {
    const bool open = readBlocks(slot);
    Connection& c = *connections_[slot];
    if (c.player.gameOver()) {
        if (measuring()) ++stats_.games;
        closeConnection(slot, false);
    } else if (!open) {
        closeConnection(slot, true);
    }
}

int LoadClient::run() {
    std::vector<epoll_event> events(1024);
    // Every connection is opened before measuring; a game that ends opens a
    // new connection in its place, so the number of players stays the same.
    long rssFirst = -1;
    for (;;) {
        const auto now = Clock::now();
        if (window_.begin(now, slots_.allOpened()))
            rssFirst = residentKiB(options_.serverPid);
        if (window_.over(now)) break;
        slots_.openDue([this](std::size_t slot) { return openConnection(slot); });
        const int ready = epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), waitMillis());
        for (int i = 0; i < ready; ++i) {
            const auto slot = static_cast<std::size_t>(events[i].data.u64);
            if (!connections_[slot]) continue;
            if (!connections_[slot]->connected) {
                if (events[i].events & (EPOLLOUT | EPOLLERR | EPOLLHUP)) onConnected(slot);
                continue;
            }
            if (events[i].events & (EPOLLIN | EPOLLRDHUP | EPOLLERR | EPOLLHUP)) onReadable(slot);
        }
        sendDueMoves();
    }
    printReport(options_, stats_, slots_.census(), window_.secondsMeasured(), rssFirst, residentKiB(options_.serverPid));
    return runStatus(stats_, slots_.census());
}

}  // namespace
}  // namespace lerva::load

int main(int argc, char** argv) {
    lerva::load::Options options;
    if (!lerva::load::parseOptions(argc, argv, options)) {
        std::fputs(lerva::load::kUsage, stderr);
        return 2;
    }
    // Every connection is a file; take all the system allows.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    if (options.webSocket) return lerva::load::runWebSocketLoad(options);
    return lerva::load::LoadClient(options).run();
}

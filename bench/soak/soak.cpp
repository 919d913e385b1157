// lerva-soak: plays bot games against a running lerva-server while about a
// thousand abusive clients come and go, then says whether the server held:
// no crash, no table that stopped, every finished game's record adding up
// to what its player was sent, and flat memory. Linux only (epoll).
//
//   lerva-soak --port P --server-pid PID --records DIR --seconds S
//              [--players N] [--abusers N]
//
// The server is expected to run with --bots 3 (every player gets a table
// of their own), --bot-delay 0, a short --turn-timeout and --name-timeout,
// and --log-dir DIR. Exit status 0 only when everything held.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "load_player.h"
#include "loopback_source.h"
#include "process_memory.h"
#include "record_check.h"

namespace lerva::soak {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using load::residentKiB;

struct Options {
    unsigned short port = 0;
    int serverPid = 0;
    std::string records;
    double seconds = 60;
    int players = 40;
    int abusers = 1000;
};

// What an abusive client does with its connection. Churners join and hang
// up at once, leaving a table to wait for them; name thieves join, from an
// address of their own, under a name a churner just left with; slot
// hoarders all come from one address, join and stay; silent players join
// and never move.
enum class Abuse {
    Garbage, HalfBlock, Dribble, Flood, ConnectDrop, NeverRead, Churn, NameThief, SlotHoarder, Silent, kCount
};
const char* const kAbuseNames[] = {"garbage",   "half block",  "a byte a second", "untimely flood",
                                   "connect and drop", "never reads", "churners", "name thieves",
                                   "slot hoarders", "silent players"};
// The loopback networks the clients come from (loopback_source.h).
constexpr unsigned kCrowdNetwork = 1, kThiefNetwork = 3, kHoarderNetwork = 4;

struct Client {
    int fd = -1;
    bool honest = false;
    Abuse abuse = Abuse::Garbage;
    std::string name;
    load::LoadPlayer player;
    unsigned char buffer[8 * kBlockSize];
    std::size_t buffered = 0;
    Clock::time_point nextAction{}, until{}, lastBlock{};
    int sentBytes = 0;
    long receivedBytes = 0;
    bool stuckCounted = false;
};


class Soak {
public:
    explicit Soak(const Options& options) : options_(options), epoll_(epoll_create1(0)), random_(12345) {
        clients_.resize(static_cast<std::size_t>(options.players + options.abusers));
    }
    int run();
    void reportProgress(double elapsed, long rssKiB) const;

private:
    void open(std::size_t slot);
    void finish(std::size_t slot);
    void act(std::size_t slot, Clock::time_point now);
    void onReadable(std::size_t slot);
    void send(Client& c, const void* data, std::size_t size);
    void countIfStuck(Client& c, Clock::time_point now);
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    Options options_;
    int epoll_;
    std::mt19937 random_;
    std::vector<std::unique_ptr<Client>> clients_;
    long names_ = 0;
    std::map<std::string, Totals> sent_;   // finished games of our players, not yet checked
    RecordCounts records_;
    long games_ = 0, stuck_ = 0, playerProblems_ = 0, droppedNonReaders_ = 0, playersClosed_ = 0;
    std::string firstPlayerProblem_;
    std::array<long, static_cast<int>(Abuse::kCount)> abusesStarted_{};
    std::vector<std::string> churnedNames_;   // the latest, for the name thieves
    long hoardersRefused_ = 0;
    int hoarders_ = 0, silent_ = 0;   // open now
    static constexpr int kSilent = 30;
    static constexpr int kHoarders = 26;   // the server's default cap is 24
};

void Soak::send(Client& c, const void* data, std::size_t size) {
    // Abusers do not care whether it all went; players send a block at a time.
    ::send(c.fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
}

void Soak::open(std::size_t slot) {
    auto c = std::make_unique<Client>();
    c->honest = slot < static_cast<std::size_t>(options_.players);
    c->abuse = static_cast<Abuse>(between(0, static_cast<int>(Abuse::kCount) - 1));
    // A few more hoarders than one address may hold, so that some are
    // always at the door, without a storm of refused connections.
    if (c->abuse == Abuse::SlotHoarder && hoarders_ >= kHoarders) c->abuse = Abuse::Garbage;
    // Each silent player's table is three searching bots at full speed.
    if (c->abuse == Abuse::Silent && silent_ >= kSilent) c->abuse = Abuse::Garbage;
    c->fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (c->fd < 0) return;
    if (!c->honest && c->abuse == Abuse::SlotHoarder) ++hoarders_;
    if (!c->honest && c->abuse == Abuse::Silent) ++silent_;
    if (!c->honest && c->abuse == Abuse::NeverRead) {
        const int small = 4096;   // so that the server's queue, not our buffer, fills
        setsockopt(c->fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    }
    const int one = 1;
    setsockopt(c->fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (!c->honest && c->abuse == Abuse::SlotHoarder) load::bindLoopbackSource(c->fd, kHoarderNetwork, 0);
    else if (!c->honest && c->abuse == Abuse::NameThief) load::bindLoopbackSource(c->fd, kThiefNetwork, slot);
    else load::bindLoopbackSource(c->fd, kCrowdNetwork, slot / load::kPlayersPerAddress);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options_.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(c->fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    epoll_event event{};
    event.events = EPOLLRDHUP | (c->honest || c->abuse != Abuse::NeverRead ? EPOLLIN : 0u);
    event.data.u64 = slot;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, c->fd, &event);
    const auto now = Clock::now();
    c->name = (c->honest ? "soak" : "abuse") + std::to_string(++names_);
    if (!c->honest && c->abuse == Abuse::NameThief && !churnedNames_.empty())
        c->name = churnedNames_[static_cast<std::size_t>(between(0, static_cast<int>(churnedNames_.size()) - 1))];
    c->nextAction = now + 20ms;   // connected by then, on loopback
    c->lastBlock = now;
    const bool staying = c->abuse == Abuse::SlotHoarder || c->abuse == Abuse::Silent;
    // A thief only needs to be seated to have got (or not) what it came for.
    c->until = now + std::chrono::milliseconds(c->abuse == Abuse::NeverRead   ? between(5'000, 20'000)
                                               : staying                     ? between(15'000, 30'000)
                                               : c->abuse == Abuse::NameThief ? between(500, 3'000)
                                                                             : between(500, 12'000));
    if (!c->honest) ++abusesStarted_[static_cast<int>(c->abuse)];
    clients_[slot] = std::move(c);
}

void Soak::finish(std::size_t slot) {
    Client& c = *clients_[slot];
    if (c.abuse == Abuse::ConnectDrop && between(0, 1)) {
        const linger reset{1, 0};   // half of them end with a reset
        setsockopt(c.fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
    if (!c.honest && c.abuse == Abuse::SlotHoarder) --hoarders_;
    if (!c.honest && c.abuse == Abuse::Silent) --silent_;
    epoll_ctl(epoll_, EPOLL_CTL_DEL, c.fd, nullptr);
    close(c.fd);
    clients_[slot].reset();
}

void Soak::act(std::size_t slot, Clock::time_point now) {
    Client& c = *clients_[slot];
    if (c.honest) {
        if (c.sentBytes == 0) {
            const Block hello[2] = {userNameBlock(c.name), joinBlock()};
            send(c, hello, sizeof hello);
            c.sentBytes = sizeof hello;
        }
        // Bots play at once and a silent seat is played after the turn
        // timeout: ten seconds without a block is a table that stopped.
        countIfStuck(c, now);
        c.nextAction = now + 500ms;
        return;
    }
    if (now >= c.until) {
        finish(slot);
        return;
    }
    const Block name = userNameBlock(c.name), join = joinBlock();
    switch (c.abuse) {
    case Abuse::Garbage: {
        Block junk;
        for (char& byte : junk) byte = static_cast<char>(between(0, 255));
        send(c, junk.data(), junk.size());
        c.nextAction = now + 50ms;
        break;
    }
    case Abuse::HalfBlock:
        if (c.sentBytes == 0) {
            char stalled[2 * kBlockSize + 60];
            std::memcpy(stalled, name.data(), kBlockSize);
            std::memcpy(stalled + kBlockSize, join.data(), kBlockSize);
            std::memcpy(stalled + 2 * kBlockSize, bidBlock(5).data(), 60);
            send(c, stalled, sizeof stalled);
            c.sentBytes = sizeof stalled;
        }
        c.nextAction = c.until;
        break;
    case Abuse::Dribble:
        send(c, name.data() + c.sentBytes % kBlockSize, 1);
        ++c.sentBytes;
        c.nextAction = now + 1s;
        break;
    case Abuse::Flood: {
        if (c.sentBytes == 0) {
            send(c, name.data(), kBlockSize);
            send(c, join.data(), kBlockSize);
        }
        Block burst[20];
        for (Block& block : burst) {
            switch (between(0, 3)) {
            case 0: block = bidBlock(between(0, 10)); break;
            case 1: block = cardPlayBlock(static_cast<CardCode>(between(11, 94))); break;
            case 2: block = trumpChoiceBlock(between(1, 4)); break;
            default: block = joinBlock(); break;
            }
        }
        send(c, burst, sizeof burst);
        c.sentBytes += static_cast<int>(sizeof burst);
        c.nextAction = now + 20ms;
        break;
    }
    case Abuse::ConnectDrop:
        if (between(0, 1)) send(c, name.data(), static_cast<std::size_t>(between(1, 200)));
        finish(slot);
        break;
    case Abuse::NeverRead: {
        // Moves sent blind keep its table playing at full speed, so the
        // blocks it does not read pile up fast.
        if (c.sentBytes == 0) {
            send(c, name.data(), kBlockSize);
            send(c, join.data(), kBlockSize);
        }
        Block blind[8];
        for (Block& block : blind)
            block = between(0, 3) == 0 ? bidBlock(0) : cardPlayBlock(fullDeck()[static_cast<std::size_t>(between(0, 35))]);
        send(c, blind, sizeof blind);
        c.sentBytes += static_cast<int>(sizeof blind);
        c.nextAction = now + 20ms;
        break;
    }
    case Abuse::Churn:
        send(c, name.data(), kBlockSize);
        send(c, join.data(), kBlockSize);
        if (churnedNames_.size() >= 64) churnedNames_.erase(churnedNames_.begin());
        churnedNames_.push_back(c.name);
        finish(slot);
        break;
    case Abuse::NameThief:
    case Abuse::SlotHoarder:
    case Abuse::Silent:
        if (c.sentBytes == 0) {
            send(c, name.data(), kBlockSize);
            send(c, join.data(), kBlockSize);
            c.sentBytes = 2 * kBlockSize;
        }
        // A silent player's table is played by the turn timeout: it must
        // keep sending to them.
        if (c.abuse == Abuse::Silent) countIfStuck(c, now);
        c.nextAction = now + 500ms;
        break;
    case Abuse::kCount:
        break;
    }
}

void Soak::countIfStuck(Client& c, Clock::time_point now) {
    // Bots play at once and a silent seat is played after the turn
    // timeout: ten seconds without a block is a table that stopped.
    if (!c.stuckCounted && now - c.lastBlock > 10s) {
        c.stuckCounted = true;
        ++stuck_;
    }
}

void Soak::onReadable(std::size_t slot) {
    Client& c = *clients_[slot];
    if (!c.honest) {
        char sink[4096];
        const ssize_t got = recv(c.fd, sink, sizeof sink, 0);
        if (got > 0) {
            c.receivedBytes += got;
            c.lastBlock = Clock::now();
        }
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            if (c.abuse == Abuse::NeverRead) ++droppedNonReaders_;
            if (c.abuse == Abuse::SlotHoarder && c.receivedBytes == 0) ++hoardersRefused_;
            finish(slot);
        }
        return;
    }
    const ssize_t got = recv(c.fd, c.buffer + c.buffered, sizeof c.buffer - c.buffered, 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (got <= 0) {
        ++playersClosed_;   // the server closed a player that did nothing wrong
        finish(slot);
        return;
    }
    c.buffered += static_cast<std::size_t>(got);
    c.lastBlock = Clock::now();
    std::size_t at = 0;
    for (; at + kBlockSize <= c.buffered; at += kBlockSize) {
        Block block;
        std::memcpy(block.data(), c.buffer + at, kBlockSize);
        const int before = c.player.problems();
        if (const auto answer = c.player.onBlock(block)) send(c, answer->data(), answer->size());
        if (c.player.problems() > before) {
            playerProblems_ += c.player.problems() - before;
            if (firstPlayerProblem_.empty()) firstPlayerProblem_ = c.name + ": " + c.player.firstProblem();
        }
        if (c.player.gameOver()) {
            ++games_;
            sent_[c.name] = {c.player.ownTotal(), c.player.otherTotal()};
            finish(slot);
            return;
        }
    }
    std::memmove(c.buffer, c.buffer + at, c.buffered - at);
    c.buffered -= at;
}

// A line a minute, so that a long soak shows it is alive and how it goes.
void Soak::reportProgress(double elapsed, long rssKiB) const {
    std::printf("soak: %.0f of %.0f s, %ld games, %ld stuck tables, %ld protocol errors, %ld score disagreements, "
                "server %.1f MiB\n",
                elapsed, options_.seconds, games_, stuck_, playerProblems_, records_.disagreements,
                static_cast<double>(rssKiB) / 1024.0);
    std::fflush(stdout);
}

int Soak::run() {
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options_.seconds));
    // Memory is compared between the first and the last minute (or quarter
    // of a shorter run), the first counted from when every client is on.
    const double window = std::min(60.0, options_.seconds / 4);
    const double ramp = std::min(30.0, options_.seconds / 4);
    std::vector<long> rss;   // one sample a second
    auto nextSample = start, nextCheck = start + 5s, nextProgress = start + 60s;
    bool crashed = false;
    std::vector<epoll_event> events(512);
    while (Clock::now() < end) {
        const auto now = Clock::now();
        for (std::size_t slot = 0; slot < clients_.size(); ++slot) {
            if (!clients_[slot]) open(slot);
            else if (clients_[slot]->nextAction <= now) act(slot, now);
        }
        const int ready = epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), 10);
        for (int i = 0; i < ready; ++i) {
            const auto slot = static_cast<std::size_t>(events[i].data.u64);
            if (clients_[slot]) onReadable(slot);
        }
        if (now >= nextSample) {
            nextSample += 1s;
            if (kill(options_.serverPid, 0) != 0) {
                crashed = true;
                break;
            }
            rss.push_back(residentKiB(options_.serverPid));
        }
        if (now >= nextCheck) {
            nextCheck = now + 5s;
            checkRecords(options_.records, sent_, records_);
        }
        if (now >= nextProgress) {
            nextProgress += 60s;
            reportProgress(std::chrono::duration<double>(now - start).count(), rss.empty() ? 0 : rss.back());
        }
    }
    for (std::size_t slot = 0; slot < clients_.size(); ++slot)
        if (clients_[slot]) finish(slot);
    if (!crashed) {
        usleep(300'000);   // the last games' records are flushed
        checkRecords(options_.records, sent_, records_);
    }

    auto mean = [&](std::size_t from, std::size_t count) {
        double sum = 0;
        std::size_t n = 0;
        for (std::size_t i = from; i < from + count && i < rss.size(); ++i, ++n) sum += static_cast<double>(rss[i]);
        return n ? sum / static_cast<double>(n) / 1024.0 : 0.0;
    };
    const auto windowSamples = static_cast<std::size_t>(window);
    const double first = mean(static_cast<std::size_t>(ramp), windowSamples);
    const double last = rss.size() >= windowSamples ? mean(rss.size() - windowSamples, windowSamples) : 0;
    const bool flat = first > 0 && last <= first * 1.10;

    std::printf("soak: %.0f s, %d players, %d abusive clients at a time\n", options_.seconds, options_.players,
                options_.abusers);
    std::printf("  abusive clients     ");
    for (int kind = 0; kind < static_cast<int>(Abuse::kCount); ++kind)
        std::printf("%s%ld %s", kind ? ", " : "", abusesStarted_[kind], kAbuseNames[kind]);
    std::printf("\n  non-readers dropped %ld; slot hoarders refused at the address cap %ld\n", droppedNonReaders_,
                hoardersRefused_);
    std::printf("  games played        %ld; records checked %ld, of our players' games %ld\n", games_,
                records_.checked, records_.scored);
    std::printf("  crashes             %d\n", crashed ? 1 : 0);
    std::printf("  stuck tables        %ld\n", stuck_);
    std::printf("  players closed      %ld\n", playersClosed_);
    std::printf("  protocol errors     %ld%s%s\n", playerProblems_, firstPlayerProblem_.empty() ? "" : ": ",
                firstPlayerProblem_.c_str());
    std::printf("  score disagreements %ld; lines cut %ld%s%s\n", records_.disagreements, records_.cutLines,
                records_.firstProblem.empty() ? "" : ": ", records_.firstProblem.c_str());
    std::printf("  resident memory     %.1f MiB in the first %.0f s, %.1f MiB in the last (%s)\n", first, window,
                last, flat ? "flat" : "GREW");
    const bool held = !crashed && stuck_ == 0 && playersClosed_ == 0 && playerProblems_ == 0 &&
                      records_.disagreements == 0 && records_.cutLines == 0 && flat && records_.scored > 0 &&
                      hoardersRefused_ > 0;
    std::printf("soak %s: %d crashes, %ld stuck tables, %ld score disagreements, memory %.1f -> %.1f MiB, "
                "%ld games\n",
                held ? "PASSED" : "FAILED", crashed ? 1 : 0, stuck_, records_.disagreements, first, last, games_);
    return held ? 0 : 1;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--port") options.port = static_cast<unsigned short>(std::atoi(value));
        else if (key == "--server-pid") options.serverPid = std::atoi(value);
        else if (key == "--records") options.records = value;
        else if (key == "--seconds") options.seconds = std::atof(value);
        else if (key == "--players") options.players = std::atoi(value);
        else if (key == "--abusers") options.abusers = std::atoi(value);
        else return false;
    }
    return options.port && options.serverPid > 0 && !options.records.empty() && options.seconds >= 20;
}

}  // namespace
}  // namespace lerva::soak

int main(int argc, char** argv) {
    lerva::soak::Options options;
    if (!lerva::soak::parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: lerva-soak --port P --server-pid PID --records DIR --seconds S (>= 20) "
                             "[--players N] [--abusers N]\n");
        return 2;
    }
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    return lerva::soak::Soak(options).run();
}

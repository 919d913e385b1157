// Feeds runs of client blocks from four players, in turn and out of turn,
// legal and not, with players leaving and coming back, into one table with
// its rules engine and its bots, as the sessions would. After every step
// every block each player was sent must still make sense to a client that
// keeps the table from those blocks alone; anything else aborts with the
// broken condition. ASan and UBSan watch the rest. See table_steps.h for
// the input format.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bot_pool.h"
#include "config.h"
#include "fuzz_input.h"
#include "log.h"
#include "participant.h"
#include "protocol.h"
#include "rules.h"
#include "table.h"
#include "table_steps.h"

#define FUZZ_BROKEN "a player was sent something wrong"

namespace {

using namespace lerva;
using namespace lerva::fuzz;


// A connected player as the table sees one, keeping the table as the
// client would and checking every block against it.
class Player : public Participant {
public:
    explicit Player(std::string name) : name_(std::move(name)) {}

    void deliver(const Block& block) override {
        REQUIRE(!closed_);
        receive(block);
    }
    void close() override { closed_ = true; }
    const std::string& name() const override { return name_; }
    // Every player comes back from the machine they left from.
    PlayerIdentity identity() const override { return {"127.0.0.1", name_, "", false}; }
    bool closed() const { return closed_; }

    // A move the client's rules allow now, if any; `pick` chooses one.
    std::optional<Block> legalMove(std::uint8_t pick) const {
        if (phase_ == 1) {
            if (asked_ == ServerMessage::Trump) {
                std::vector<int> suits;
                for (int suit = kDiamonds; suit <= kClubs; ++suit)
                    if (suit == kDiamonds || trumpChoiceAllowed(hand(), suit, bids_[1])) suits.push_back(suit);
                return trumpChoiceBlock(suits[pick % suits.size()]);
            }
            std::vector<int> bids = {0, 10};
            for (int bid = 1; bid <= 9; ++bid)
                if (bidAllowed(bid, bids_)) bids.push_back(bid);
            return bidBlock(bids[pick % bids.size()]);
        }
        if (phase_ == 2) {
            const int led = ledSuit(trick_, trump_);
            std::vector<CardCode> allowed;
            for (CardCode card : hand_)
                if (cardAllowed(hand(), card, led, trump_)) allowed.push_back(card);
            if (!allowed.empty()) return cardPlayBlock(allowed[pick % allowed.size()]);
        }
        return std::nullopt;
    }

private:
    Hand hand() const {
        Hand h{};
        std::copy_n(hand_.begin(), std::min<std::size_t>(hand_.size(), kHandSize), h.begin());
        return h;
    }

    void receive(const Block& block) {
        const ServerMessage kind = classify(phase_, block);
        switch (kind) {
        case ServerMessage::Name:
            REQUIRE(parseName(block));
            REQUIRE(++names_ <= 3);
            break;
        case ServerMessage::Deal: {
            REQUIRE(names_ == 3);
            const Hand dealt = parseDeal(block);
            REQUIRE(std::count(dealt.begin(), dealt.end(), kNoCard) == 0);
            hand_.assign(dealt.begin(), dealt.end());
            names_ = 0;
            phase_ = 1;
            break;
        }
        case ServerMessage::Ok:
        case ServerMessage::Trump:
        case ServerMessage::Okc:
            asked_ = kind;
            break;
        case ServerMessage::BidReport: {
            const auto report = parseBidReport(block);
            REQUIRE(report);
            bids_[report->slot] = static_cast<std::int16_t>(report->bid);
            break;
        }
        case ServerMessage::Next: {
            const auto suit = parseNext(block);
            REQUIRE(suit);
            trump_ = *suit;
            bids_ = {};
            phase_ = 2;
            break;
        }
        case ServerMessage::CardReport: {
            const auto report = parseCardReport(block);
            REQUIRE(report);
            REQUIRE(trick_[report->seat] == kNoCard);
            if (report->seat == 0) {
                // Ours, whether we sent it or a bot played it for us.
                const auto held = std::find(hand_.begin(), hand_.end(), report->card);
                REQUIRE(held != hand_.end());
                hand_.erase(held);
            }
            trick_[report->seat] = report->card;
            if (++cardsOnTable_ == kSeats) {
                trick_ = {};
                cardsOnTable_ = 0;
            }
            break;
        }
        case ServerMessage::Point: {
            const Points points = parsePoints(block);
            REQUIRE(hand_.empty() && cardsOnTable_ == 0);
            REQUIRE(points.ownCardPoints >= 0 && points.ownCardPoints <= 120);
            REQUIRE(points.ownGamePoints >= ownTotal_ && points.otherGamePoints >= otherTotal_);
            ownTotal_ = points.ownGamePoints;
            otherTotal_ = points.otherGamePoints;
            phase_ = 0;
            trump_ = 0;
            bids_ = {};
            break;
        }
        }
    }

    std::string name_;
    bool closed_ = false;
    int phase_ = 0;
    int names_ = 0;
    ServerMessage asked_ = ServerMessage::Ok;
    std::vector<CardCode> hand_;
    Bids bids_{};
    int trump_ = 0;
    Trick trick_{};
    int cardsOnTable_ = 0;
    int ownTotal_ = 0, otherTotal_ = 0;
};

ServerConfig fuzzConfig() {
    ServerConfig config;
    config.botDelay = Millis(0);
    config.gameOverLinger = Millis(0);
    config.abandonAfter = Millis(0);
    config.botThreads = 0;     // bots decide on the loop: every run repeats exactly
    config.botLevel = BotLevel::Random;
    return config;
}

const std::string kNames[kSeats] = {"Anu", "Bert", "Cilli", "Dora"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setLogLevel(LogLevel::Error);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const ServerConfig config = fuzzConfig();
    Admission admission({});
    asio::io_context loop;
    BotPool bots(loop, config.botThreads);
    bool closed = false;
    auto table = std::make_shared<Table>(TableServices{loop, config, bots, admission}, 1, in.next(),
                                         [&](Table&) { closed = true; });
    table->open();
    std::array<std::shared_ptr<Player>, kSeats> players;
    for (int seat = 0; seat < kSeats; ++seat) {
        players[seat] = std::make_shared<Player>(kNames[seat]);
        table->seatPlayer(players[seat]);
    }
    while (!in.done() && !closed) {
        const std::uint8_t tag = in.next();
        auto& player = players[seatOf(tag)];
        switch (stepOf(tag)) {
        case TableStep::Move:
            if (player && !player->closed())
                if (const auto move = player->legalMove(in.next())) table->onBlock(player.get(), *move);
            break;
        case TableStep::Block: {
            Block block{};
            const int length = in.next() % (kBlockSize + 1);
            for (int i = 0; i < length; ++i) block[i] = static_cast<char>(in.next());
            if (player && !player->closed()) table->onBlock(player.get(), block);
            break;
        }
        case TableStep::Leave:
            if (player) table->onLeave(player.get());
            player.reset();
            break;
        case TableStep::Return:
            if (!player) {
                player = std::make_shared<Player>(kNames[seatOf(tag)]);
                if (table->awaits(player->identity())) table->seatReturning(player);
                else if (table->waitingForPlayers()) table->seatPlayer(player);
                else player.reset();
            }
            break;
        case TableStep::Run:
            break;
        }
        if (!(tag & kHold) || stepOf(tag) == TableStep::Run) {
            loop.restart();   // a loop that ran out of work stays stopped until then
            loop.poll();
        }
    }
    table->close();
    loop.restart();
    loop.poll();
    return 0;
}

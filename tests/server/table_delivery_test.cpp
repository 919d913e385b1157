// A table whose player is lost in the middle of a delivery (its queue was
// full, its connection broke): the table lets the seat go to a bot and
// plays on, whatever it was sending at that moment.
#include <gtest/gtest.h>

#include "asio.h"
#include <memory>

#include "bot_pool.h"
#include "log.h"
#include "table.h"

namespace lerva {
namespace {

// Leaves the table from inside deliver() once told to, as a session does
// when its write queue overflows.
class FragilePlayer : public Participant {
public:
    FragilePlayer(std::string name, std::shared_ptr<Table>& table) : name_(std::move(name)), table_(table) {}
    void deliver(const Block& block) override {
        last_ = block;
        ++received_;
        if (failNext_) {
            failNext_ = false;
            table_->onLeave(this);
        }
    }
    void close() override {}
    const std::string& name() const override { return name_; }
    std::string name_;
    std::shared_ptr<Table>& table_;
    Block last_{};
    int received_ = 0;
    bool failNext_ = false;
};

TEST(TableDelivery, APlayerLostWhileBeingSentABlockIsReplacedByABot) {
    // The asked player is lost while the table answers its refused block,
    // or while it is told about its own accepted move.
    for (const bool refused : {true, false}) {
        SCOPED_TRACE(refused ? "refused block" : "accepted move");
        setLogLevel(LogLevel::Error);
        Admission admission({});
        asio::io_context loop;
        ServerConfig config;
        config.botDelay = Millis(0);
        config.botThreads = 0;
        BotPool bots(loop, 0);
        std::shared_ptr<Table> table = std::make_shared<Table>(TableServices{loop, config, bots, admission}, 1, 7, nullptr);
        table->open();
        std::vector<std::shared_ptr<FragilePlayer>> players;
        for (const char* name : {"A", "B", "C", "D"}) {
            players.push_back(std::make_shared<FragilePlayer>(name, table));
            table->seatPlayer(players.back());
        }
        loop.restart();
        loop.poll();
        std::shared_ptr<FragilePlayer> asked;
        for (const auto& player : players)
            if (blockText(player->last_) == "ok") asked = player;
        ASSERT_TRUE(asked);
        const auto& other = players[(std::find(players.begin(), players.end(), asked) - players.begin() + 1) % 4];
        const int before = other->received_;
        asked->failNext_ = true;
        table->onBlock(asked.get(), refused ? textBlock("bid  11") : bidBlock(0));
        loop.restart();
        loop.poll();
        // A bid was reported for the seat (the bot's, or the accepted one)
        // and the next player asked.
        EXPECT_GE(other->received_, before + 2);
        EXPECT_EQ(blockText(other->last_), "ok");
        table->close();
        loop.restart();
        loop.poll();
    }
}

}  // namespace
}  // namespace lerva

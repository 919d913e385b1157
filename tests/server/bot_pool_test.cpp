// The bot pool under a backlog: decisions that pile up behind a slow one
// are answered by the bots' hurried players, so that no table waits for
// every other table's searching bots.
#include <gtest/gtest.h>

#include "asio.h"
#include <future>
#include <memory>
#include <string>

#include "bot_pool.h"

namespace lerva {
namespace {

// Bids 1 when it thinks in full and passes when hurried. Its first answer
// holds the only worker until the test has queued the rest.
class GatedBot : public Bot {
public:
    class Quick : public Bot {
    public:
        int chooseBid(const PlayerView&) override { return 0; }
        int chooseTrump(const PlayerView&) override { return kDiamonds; }
        CardCode chooseCard(const PlayerView& view) override { return view.legalCards.lowest(); }
    };
    int chooseBid(const PlayerView&) override {
        if (first_) {
            first_ = false;
            started.set_value();
            gate.get_future().wait();
        }
        return 1;
    }
    int chooseTrump(const PlayerView&) override { return kDiamonds; }
    CardCode chooseCard(const PlayerView& view) override { return view.legalCards.lowest(); }
    Bot& hurried() override { return quick_; }
    std::promise<void> started, gate;

private:
    bool first_ = true;
    Quick quick_;
};

TEST(BotPool, ABacklogIsAnsweredByHurriedPlayersAndTheQueueEndsAtFullStrength) {
    asio::io_context loop;
    BotPool pool(loop, 1);
    auto gated = std::make_unique<GatedBot>();
    GatedBot& bot = *gated;
    auto seat = std::make_shared<SeatBot>(std::move(gated));
    PlayerView view;
    view.legalBids = 0b11;   // pass or bid 1
    std::string answers;     // in order: F thought in full, H hurried
    auto ask = [&] { pool.think(seat, view, [&](Move move) { answers += move.value == 1 ? 'F' : 'H'; }); };
    ask();
    bot.started.get_future().wait();
    for (int n = 0; n < 100; ++n) ask();
    bot.gate.set_value();
    loop.run();
    pool.stop();
    ASSERT_EQ(answers.size(), 101u);
    EXPECT_NE(answers.find('H'), std::string::npos) << answers;
    EXPECT_EQ(answers.front(), 'F') << answers;
    EXPECT_EQ(answers.back(), 'F') << "once the queue is short, bots think in full again: " << answers;
}

}  // namespace
}  // namespace lerva

// Checks of what a scripted client saw, shared by the loopback tests.
#pragma once

#include <gtest/gtest.h>

#include "scripted_client.h"

namespace lerva::test {

// One client's view of a finished game: every deal had its nine cards
// played by each seat, and the game ended at 12.
inline void expectWholeGame(const ScriptedClient& client) {
    EXPECT_TRUE(client.gameOver()) << client.name();
    if (!client.problems().empty()) ADD_FAILURE() << client.name() << ": " << client.problems().front();
    ASSERT_FALSE(client.deals().empty());
    for (const DealLog& deal : client.deals()) {
        ASSERT_TRUE(deal.points) << client.name();
        EXPECT_EQ(deal.cards.size(), 36u);
        EXPECT_EQ(deal.names.size(), 3u);
        std::array<int, kSeats> perSeat{};
        for (const CardReport& card : deal.cards) ++perSeat[card.seat];
        EXPECT_EQ(perSeat, (std::array<int, kSeats>{9, 9, 9, 9}));
    }
    const Points last = *client.deals().back().points;
    EXPECT_TRUE(last.ownGamePoints >= 12 || last.otherGamePoints >= 12);
}

// Two players from 127.0.0.1 are seated and dealt to (given the two places a
// limit allows); a third from the same address is closed at once.
inline void expectAThirdPlayerClosed(unsigned short port, ScriptedClient& first, ScriptedClient& second) {
    first.join();
    second.join();
    ASSERT_TRUE(first.receive());
    ASSERT_TRUE(second.receive());
    ScriptedClient third(port, "Kolm");
    third.join();
    EXPECT_TRUE(third.waitForClose(3s));
}

}  // namespace lerva::test

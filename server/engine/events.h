// What happens at a table, in absolute seats, as the rules engine reports
// it. The table turns each event into the blocks every player is sent; the
// simulator and the game record read them too.
#pragma once

#include <array>
#include <vector>

#include "scoring.h"

namespace lerva {

struct Event {
    enum class Kind {
        DealStarted,   // seat = dealer; the hands are in Game::dealtHands()
        AskBid,        // seat must bid
        BidMade,       // seat bid value (0 = pass .. 10)
        AskTrump,      // seat won the auction and names the trump
        TrumpSet,      // value = trump suit; play begins
        AskCard,       // seat must play
        CardPlayed,    // seat played card value
        TrickTaken,    // seat took the trick, value = its card points
        DealScored,    // cardPoints, dealPoints, totals filled in
        GameOver,      // a team reached 12 game points
    };
    Kind kind;
    int seat = -1;
    int value = 0;
    std::array<int, kTeams> cardPoints{};   // by team, for DealScored
    std::array<int, kTeams> dealPoints{};   // game points this deal, by team
    std::array<int, kTeams> totals{};       // game points so far, by team
};

using Events = std::vector<Event>;

}  // namespace lerva

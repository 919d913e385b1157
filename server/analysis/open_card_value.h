// The one place the analysis asks the open-card solver anything: the value
// of a position under best play by both sides, and the cards that keep it.
#pragma once

#include <memory>

#include "play_state.h"

namespace lerva::solver {
class Solver;
}

namespace lerva::analysis {

struct PositionValue {
    int team0Points = 0;   // card points team 0 takes from here on, the trick on the table included
    CardSet bestCards;     // of the player to move
};

class OpenCardValue {
public:
    OpenCardValue();
    ~OpenCardValue();
    OpenCardValue(const OpenCardValue&) = delete;
    OpenCardValue& operator=(const OpenCardValue&) = delete;

    // `state` must have a card to play.
    PositionValue of(const PlayState& state);

private:
    std::unique_ptr<solver::Solver> solver_;
};

}  // namespace lerva::analysis

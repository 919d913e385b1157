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
    // The legal cards other than those that play like `played` which keep
    // the value: whether those keep it too is the next position's to say.
    CardSet bestBesidesPlayed;
    CardSet playedAlike;   // `played` and the legal cards interchangeable with it here
};

class OpenCardValue {
public:
    OpenCardValue();
    ~OpenCardValue();
    OpenCardValue(const OpenCardValue&) = delete;
    OpenCardValue& operator=(const OpenCardValue&) = delete;

    // `state` must have a card to play, and `played` must be legal there.
    // `team0Guess`, if not negative, is team 0's likely value from here
    // (what it was before the last card): two bound searches prove a right
    // guess, where finding the value without one takes several.
    PositionValue of(const PlayState& state, CardCode played, int team0Guess = -1);

private:
    int team0Points(int guess, int pointsInPlay);

    std::unique_ptr<solver::Solver> solver_;
};

}  // namespace lerva::analysis

#include "open_card_value.h"

#include "solver.h"

namespace lerva::analysis {

OpenCardValue::OpenCardValue() : solver_(std::make_unique<solver::Solver>()) {}
OpenCardValue::~OpenCardValue() = default;

// One value search, then one bound search for each way of playing but the
// one played: the cards interchangeable with each other share an answer.
int OpenCardValue::team0Points(int guess, int pointsInPlay) {
    constexpr int unit = solver::kUnitsPerPoint;
    if (guess >= 0 && guess <= pointsInPlay && solver_->teamReaches(0, unit * guess) &&
        (guess == pointsInPlay || !solver_->teamReaches(0, unit * (guess + 1))))
        return guess;
    return solver_->teamPoints(0);
}

PositionValue OpenCardValue::of(const PlayState& state, CardCode played, int team0Guess) {
    solver::Position position;
    position.hands = state.hands;
    position.trump = state.trump;
    position.leader = state.leader;
    position.trickSize = state.trickSize;
    position.trick = state.trick;
    solver_->setPosition(position);
    const int team = teamOf(state.toMove());
    const int team0 = team0Points(team0Guess, state.pointsInPlay());
    const int points = team == 0 ? team0 : state.pointsInPlay() - team0;
    const CardCode playedAs = solver_->representative(played);
    CardSet keeping;
    for (CardCode card : solver_->distinctLegalCards())
        if (card != playedAs && solver_->teamReachesAfter(card, team, solver::kUnitsPerPoint * points)) keeping.add(card);
    PositionValue value{team0, {}, {}};
    for (CardCode card : solver_->legalCards()) {
        const CardCode as = solver_->representative(card);
        if (as == playedAs) value.playedAlike.add(card);
        else if (keeping.contains(as)) value.bestBesidesPlayed.add(card);
    }
    return value;
}

}  // namespace lerva::analysis

#include "open_card_value.h"

#include "solver.h"

namespace lerva::analysis {

OpenCardValue::OpenCardValue() : solver_(std::make_unique<solver::Solver>()) {}
OpenCardValue::~OpenCardValue() = default;

PositionValue OpenCardValue::of(const PlayState& state) {
    solver::Position position;
    position.hands = state.hands;
    position.trump = state.trump;
    position.leader = state.leader;
    position.trickSize = state.trickSize;
    position.trick = state.trick;
    solver_->setPosition(position);
    const solver::Solver::Result result = solver_->solve();
    const bool team0Moves = teamOf(state.toMove()) == 0;
    return {team0Moves ? result.points : state.pointsInPlay() - result.points, result.bestMoves};
}

}  // namespace lerva::analysis

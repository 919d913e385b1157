#include "connections.h"

#include "log.h"

namespace lerva {

struct Connections::State {
    int bound = 0;
    int open = 0;
    long refusedInBurst = 0;   // refused since the bound was last reached
    std::unordered_map<const Ticket*, std::function<void()>> closers;
    std::function<void()> whenAllGone;   // set while shutting down
};

Connections::Connections(int bound) : state_(std::make_shared<State>()) { state_->bound = bound; }

void Connections::setBound(int bound) { state_->bound = bound; }
int Connections::bound() const { return state_->bound; }
int Connections::open() const { return state_->open; }

std::shared_ptr<Connections::Ticket> Connections::admit() {
    State& state = *state_;
    if (state.open >= state.bound) {
        // Once per burst: a crowd at the door must not flood the log.
        if (state.refusedInBurst++ == 0)
            logWarn("connection limit of ", state.bound, " reached; refusing new connections");
        return nullptr;
    }
    ++state.open;
    return std::make_shared<Ticket>(state_);
}

void Connections::Ticket::onShutdown(std::function<void()> close) { state_->closers[this] = std::move(close); }

Connections::Ticket::~Ticket() {
    State& state = *state_;
    --state.open;
    state.closers.erase(this);
    if (state.refusedInBurst > 0) {
        logInfo("below the connection limit again; ", state.refusedInBurst, " connections were refused");
        state.refusedInBurst = 0;
    }
    if (state.open == 0 && state.whenAllGone) {
        auto gone = std::move(state.whenAllGone);
        gone();
    }
}

void Connections::closeAll(std::function<void()> whenAllGone) {
    state_->whenAllGone = std::move(whenAllGone);
    // Closing may end a connection at once, and with it its entry.
    auto closers = state_->closers;
    for (auto& [ticket, close] : closers) close();
    if (state_->open == 0 && state_->whenAllGone) {
        auto gone = std::move(state_->whenAllGone);
        gone();
    }
}

void Connections::forgetWhenAllGone() { state_->whenAllGone = nullptr; }

}  // namespace lerva

#include "connections.h"

#include "identity.h"
#include "listener.h"
#include "log.h"

namespace lerva {

struct Connections::State {
    int open = 0;
    long refusedInBurst = 0;   // refused since a slot was last free
    std::unordered_map<const Ticket*, std::function<void()>> closers;
    std::function<void()> whenAllGone;   // set while shutting down
};

Connections::Connections(Admission& admission) : admission_(admission), state_(std::make_shared<State>()) {}

int Connections::open() const { return state_->open; }

std::shared_ptr<Connections::Ticket> Connections::admit(const std::string& address) {
    // The slot is given before its holder exists: letting the holder go
    // goes through a cell the holder fills in.
    auto letGo = std::make_shared<std::function<void()>>();
    auto slot = admission_.admit(address, [letGo] {
        if (*letGo) (*letGo)();
    });
    if (!slot) {
        refused(address);
        return nullptr;
    }
    ++state_->open;
    return std::make_shared<Ticket>(state_, std::move(slot), std::move(letGo));
}

std::shared_ptr<Connections::Ticket> Connections::admit(asio::ip::tcp::socket& socket) {
    error_code error;
    const auto remote = socket.remote_endpoint(error);
    auto ticket = error ? nullptr : admit(addressKey(remote.address()));
    if (!ticket) turnAway(socket);
    return ticket;
}

void Connections::refused(const std::string& address) {
    // Once per burst: a crowd at the door must not flood the log.
    if (state_->refusedInBurst++ > 0) return;
    const Admission::Limits& limits = admission_.limits();
    if (limits.perAddress > 0 && admission_.takenBy(address) >= limits.perAddress)
        logWarn(address, " holds ", limits.perAddress, " connections, the most one address may; refusing more");
    else
        logWarn("connection limit of ", limits.total, " reached; refusing new connections");
}

Connections::Ticket::Ticket(std::shared_ptr<State> state, std::unique_ptr<Admission::Slot> slot,
                            std::shared_ptr<std::function<void()>> letGo)
    : state_(std::move(state)), slot_(std::move(slot)), letGo_(std::move(letGo)) {}

void Connections::Ticket::onShutdown(std::function<void()> close) { state_->closers[this] = std::move(close); }

Connections::Ticket::~Ticket() {
    *letGo_ = nullptr;
    slot_.reset();
    State& state = *state_;
    --state.open;
    state.closers.erase(this);
    if (state.refusedInBurst > 0) {
        logInfo("a slot is free again; ", state.refusedInBurst, " connections were refused");
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

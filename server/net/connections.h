// The bound on open connections, shared by every way in (the game's TCP
// port and the web port): each accepted socket holds a ticket while it is
// open, and the server can close every holder at shutdown.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>

namespace lerva {

class Connections {
    struct State;

public:
    // Held by one open connection; giving it up frees its place.
    class Ticket {
    public:
        explicit Ticket(std::shared_ptr<State> state) : state_(std::move(state)) {}
        ~Ticket();
        Ticket(const Ticket&) = delete;
        Ticket& operator=(const Ticket&) = delete;
        // How to close this connection when the server stops.
        void onShutdown(std::function<void()> close);

    private:
        std::shared_ptr<State> state_;
    };

    explicit Connections(int bound);

    void setBound(int bound);
    int bound() const;
    int open() const;
    // A place for one more connection, or nothing at the bound (logged
    // once for each burst of refusals).
    std::shared_ptr<Ticket> admit();
    // Closes every connection that holds a ticket; `whenAllGone` runs once
    // the last of them has given its ticket up (at once if none is open).
    void closeAll(std::function<void()> whenAllGone);
    // Forgets `whenAllGone` (the loop it would stop is going away).
    void forgetWhenAllGone();

private:
    std::shared_ptr<State> state_;
};

}  // namespace lerva

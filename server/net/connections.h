// The open connections of every way in (the game's TCP port and the web
// port): each accepted socket holds a ticket while it is open, which holds
// its slot of the server's Admission (the bound, the cap per address, the
// silent holders let go), and the server can close every holder at
// shutdown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "admission.h"
#include "asio.h"

namespace lerva {

class Connections {
    struct State;

public:
    // Held by one open connection; giving it up frees its slot.
    class Ticket {
    public:
        Ticket(std::shared_ptr<State> state, std::unique_ptr<Admission::Slot> slot,
               std::shared_ptr<std::function<void()>> letGo);
        ~Ticket();
        Ticket(const Ticket&) = delete;
        Ticket& operator=(const Ticket&) = delete;
        // How to close this connection when the server stops.
        void onShutdown(std::function<void()> close);
        // How to close it at once when a newcomer is given its slot.
        void onLetGo(std::function<void()> letGo) { *letGo_ = std::move(letGo); }
        // The connection joined a table: from now on its silence counts.
        void joined() { slot_->joined(); }
        // The connection sent something.
        void heard() { slot_->heard(); }

    private:
        std::shared_ptr<State> state_;
        std::unique_ptr<Admission::Slot> slot_;
        std::shared_ptr<std::function<void()>> letGo_;
    };

    explicit Connections(Admission& admission);

    int open() const;
    // A place for one more connection from `address` (an addressKey()), or
    // nothing when the server has none (logged once for each burst of
    // refusals).
    std::shared_ptr<Ticket> admit(const std::string& address);
    // The same for a socket just accepted, known by its peer's address; a
    // socket given no place (or gone already) is closed.
    std::shared_ptr<Ticket> admit(asio::ip::tcp::socket& socket);
    // Closes every connection that holds a ticket; `whenAllGone` runs once
    // the last of them has given its ticket up (at once if none is open).
    void closeAll(std::function<void()> whenAllGone);
    // Forgets `whenAllGone` (the loop it would stop is going away).
    void forgetWhenAllGone();

private:
    void refused(const std::string& address);

    Admission& admission_;
    std::shared_ptr<State> state_;
};

}  // namespace lerva

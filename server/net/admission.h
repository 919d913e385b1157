// Who gets a slot on the server. Every connection holds one, whatever kind
// of session it is, and so does a table that waits for a player who left
// (it keeps that player's seat, hand and score, and its game record open).
// One bound on the slots keeps the server within its open files; a cap per
// address keeps one address from taking them all; and when the server is
// full a newcomer takes the slot of whoever has made least use of theirs:
// first a table waiting for a return, the longest waiting, then the joined
// connection that has been silent longest, if it has been silent long enough.
//
// Runs on the network loop only; every acceptor shares the one instance.
#pragma once

#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

#include "config.h"

namespace lerva {

class Admission {
public:
    using Clock = std::chrono::steady_clock;
    // Lets the holder of a slot go (closes the connection, ends the table).
    using Evict = std::function<void()>;

    struct Limits {
        int total = 1;          // slots at once
        int perAddress = 0;     // 0: no cap
        Millis silentAfter{120'000};
    };

    class Slot {
    public:
        ~Slot();
        Slot(const Slot&) = delete;
        Slot& operator=(const Slot&) = delete;
        // The connection joined a table: from now on its silence counts.
        void joined();
        // A block arrived from the connection.
        void heard();

    private:
        friend class Admission;
        enum class Kind { Connecting, Joined, Waiting };
        Slot(Admission& owner, Kind kind, std::string address, Evict evict);
        std::list<Slot*>& list() const;

        Admission* owner_;      // null once the slot was taken back
        Kind kind_;
        std::string address_;
        Evict evict_;
        Clock::time_point lastHeard_;
        std::list<Slot*>::iterator position_;
    };

    explicit Admission(Limits limits) : limits_(limits) {}
    void setTotal(int total) { limits_.total = total; }
    const Limits& limits() const { return limits_; }

    // A slot for a new connection from `address` (an addressKey()), or
    // nothing when none is free and none could be freed.
    std::unique_ptr<Slot> admit(const std::string& address, Evict evict);
    // A slot for a table that waits for a player of `address` to come back;
    // always given (the player's own connection has just given one back).
    std::unique_ptr<Slot> holdForReturn(const std::string& address, Evict evict);

    int taken() const { return taken_; }
    int takenBy(const std::string& address) const;

private:
    std::unique_ptr<Slot> give(Slot::Kind kind, const std::string& address, Evict evict);
    bool freeOneFor(const std::string& address);
    bool freeOne();
    void release(Slot& slot);
    void takeBack(Slot& slot);   // the holder is let go; the slot is free at once

    Limits limits_;
    int taken_ = 0;
    std::unordered_map<std::string, int> byAddress_;
    std::list<Slot*> connecting_;
    std::list<Slot*> joined_;    // least recently heard first
    std::list<Slot*> waiting_;   // longest waiting first
};

}  // namespace lerva

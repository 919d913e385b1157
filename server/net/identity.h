// Who a player is, as far as a seat, a hand or a score is concerned: more
// than a name, since anyone can type any name. Every kind of session fills
// this in from what it knows of its peer.
#pragma once

#include "asio.h"
#include <string>
#include <string_view>

namespace lerva {

struct PlayerIdentity {
    std::string address;    // addressKey() of the peer; empty = unknown
    std::string name;       // as shown to the others
    std::string secret;     // after '#' in the name sent; never shown
    bool nameless = true;   // a participant that says nothing of itself proves nothing
};

// The identity of a player who sent `rawName` from `address`.
PlayerIdentity identify(std::string_view rawName, std::string address);

// Whether `comer` may take the seat `leaver` left: the same name, and back
// from the same address or with the same secret. Nameless players never
// take a seat back: all of them are called the same.
bool mayTakeBack(const PlayerIdentity& leaver, const PlayerIdentity& comer);

// The address that connections are counted and known by: an IPv4 address
// (also one mapped into IPv6), or the /64 network of an IPv6 address, which
// is what one household or one machine is usually given.
std::string addressKey(const asio::ip::address& address);

}  // namespace lerva

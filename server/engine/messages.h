// What each player is sent, relative to their own chair: the client numbers
// the seats from itself (0 self, 1 left, 2 opposite, 3 right) and the bids by
// its own slots (1 self, 0 left, 2 right, 3 opposite).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "events.h"
#include "protocol.h"
#include "rules.h"

namespace lerva {

using SeatNames = std::array<std::string, kSeats>;   // by absolute seat

// A user name made safe to relay: control bytes removed, cut to the
// longest name a name message carries; never empty.
std::string cleanName(std::string_view raw);

// A name as a player sent it: the part shown to others, cleaned, and the
// secret after the first '#' ("Maret#kala7"), which lets the player take
// their seat back from another address. The secret is never relayed,
// recorded or logged.
struct ClaimedName {
    std::string shown;
    std::string secret;
    bool nameless = false;   // sent no name; never takes a seat back
};
ClaimedName claimName(std::string_view raw);

// The name of the computer player in `seat`, and whether a name reads as
// one: a person may not pass for a computer player.
std::string computerPlayerName(int seat);
bool readsAsComputerPlayer(std::string_view name);

// The start of a deal for `receiver`: the names of the left, opposite and
// right players, in that order, then the hand.
void appendDealStart(int receiver, const SeatNames& names, const Hand& hand,
                     std::vector<Block>& out);

// The blocks `receiver` is sent for `event` (none for some events; the deal
// start has its own function since it needs the names and hands).
void appendBlocksFor(int receiver, const Event& event, std::vector<Block>& out);

}  // namespace lerva

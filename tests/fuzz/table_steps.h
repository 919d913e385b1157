// The byte format of an input of the table fuzz target.
//
// An input is a run of steps; each starts with a tag byte. Its low two
// bits are a seat, the rest picks what that seat's player does:
//   kMove    a move the client's rules allow, if it has one (the next
//            byte picks among the allowed ones), sent whether or not it
//            is that player's turn;
//   kBlock   any block: a length byte, that many bytes, zero padding;
//   kLeave   the player disconnects;
//   kReturn  a player of the name that left that seat connects again
//            (or a new player, if the seat is free);
//   kRun     the loop runs what is due (posted handlers, bots, zero
//            timers); after every other step it runs too, unless the
//            step's tag has kHold set.
// Bytes missing at the end of the input read as zero.
#pragma once

#include <cstdint>

namespace lerva::fuzz {

enum class TableStep { Move, Block, Leave, Return, Run };
constexpr int kTableSteps = 5;
constexpr std::uint8_t kHold = 0x80;

constexpr int seatOf(std::uint8_t tag) { return tag & 3; }
constexpr TableStep stepOf(std::uint8_t tag) { return static_cast<TableStep>(((tag & 0x7f) >> 2) % kTableSteps); }
constexpr std::uint8_t tagOf(TableStep step, int seat, bool hold = false) {
    return static_cast<std::uint8_t>((static_cast<int>(step) << 2) | seat | (hold ? kHold : 0));
}

}  // namespace lerva::fuzz

// Every message between client and server, in both directions, defined once.
//
// A message is one block of exactly 128 bytes holding a NUL-terminated text
// padded with zero bytes; a few arguments are raw bytes. There is no other
// framing, so a receiver must read until it has all 128 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "cards.h"

namespace lerva {

constexpr std::size_t kBlockSize = 128;
// Longest text that still leaves room for its NUL inside a block.
constexpr std::size_t kMaxBlockText = kBlockSize - 1;
// Longest player name a name message can carry ("name" + separator + name + NUL).
constexpr std::size_t kMaxRelayedName = kBlockSize - 6;

using Block = std::array<char, kBlockSize>;

// The block's text: the bytes up to the first NUL, or all 128 if there is none.
std::string_view blockText(const Block& block);

// A block holding `text` (cut to 127 bytes), NUL, zero padding.
Block textBlock(std::string_view text);

// ---- Client to server -----------------------------------------------------

Block userNameBlock(std::string_view name);   // the name as typed, cut to fit
Block joinBlock();                             // "join"
Block bidBlock(int bid);                       // "bid  N", N = 0 (pass) .. 10
Block trumpChoiceBlock(int suit);              // "next S", S = 1..4
Block cardPlayBlock(CardCode card);            // "scard" + raw card byte

// What the server reads out of a client's blocks. Each returns nothing when
// the block is not that message or its argument is out of range.
std::string parseUserName(const Block& block);            // text, never fails
bool isJoin(const Block& block);
std::optional<int> parseBid(const Block& block);          // 0..10
std::optional<int> parseTrumpChoice(const Block& block);  // 1..4
std::optional<CardCode> parseCardPlay(const Block& block);// a valid card

// ---- Server to client -----------------------------------------------------

Block nameBlock(std::string_view name);                 // "name " + name
Block dealBlock(const Hand& hand);  // 18 digits
Block okBlock();                                        // your turn to bid
Block bidReportBlock(int bidSlot, int bid);             // "S B", B = '0' + bid
Block trumpBlock();                                     // choose the trump
Block nextBlock(int suit);                              // "next S"
Block okcBlock();                                       // your turn to play
Block cardReportBlock(int seat, CardCode card);         // "S " + raw card byte
Block pointBlock(int ownCardPoints, int ownGamePoints, int otherGamePoints);

// How the client's receive loop recognises a block: by its phase (0 waiting
// for a deal, 1 bidding, 2 play) and the first keyword found, in a fixed
// order. A keyword of another phase is not looked for, so such a block is
// taken as the current phase's keyword-less message.
enum class ServerMessage {
    Name, Deal,                          // phase 0
    Ok, BidReport, Trump, Next,          // phase 1 (and Okc)
    Okc, CardReport, Point               // phase 2 (and Okc)
};
ServerMessage classify(int phase, const Block& block);

// Arguments of the server's messages. A message whose argument is out of
// range yields nothing and must be dropped by the caller.
struct BidReport { int slot; int bid; };        // bid: -1 passed, 1..10
struct CardReport { int seat; CardCode card; };
struct Points { int ownCardPoints; int ownGamePoints; int otherGamePoints; };

// A name message shorter than 5 bytes carries no name; a longer name than
// kMaxRelayedName (a block with no NUL) is cut to that length.
std::optional<std::string> parseName(const Block& block);
// The nine dealt cards, in dealt order; a pair of digits that spells no
// card gives kNoCard in its place.
Hand parseDeal(const Block& block);
std::optional<BidReport> parseBidReport(const Block& block);
std::optional<int> parseNext(const Block& block);
std::optional<CardReport> parseCardReport(const Block& block);
Points parsePoints(const Block& block);

}  // namespace lerva

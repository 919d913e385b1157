// A computer player. It decides from a PlayerView only (its own hand, the
// bids, the trick so far, the cards played), so that a stronger player can
// replace a weaker one without touching the table or the simulator.
//
// A bot object serves one seat and is asked one question at a time, possibly
// on a worker thread; it may keep state (a random generator) between calls.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "game.h"
#include "player_view.h"

namespace lerva {

class Bot {
public:
    virtual ~Bot() = default;
    // 0 = pass, 1..9, or 10 ("Ruutu"); called when view.legalBids != 0.
    virtual int chooseBid(const PlayerView& view) = 0;
    // Suit 1..4; called when view.legalTrumps != 0.
    virtual int chooseTrump(const PlayerView& view) = 0;
    // One of view.legalCards.
    virtual CardCode chooseCard(const PlayerView& view) = 0;
    // Who answers instead when the server is behind with the bots' thinking:
    // a player that decides in microseconds. By default the bot itself.
    virtual Bot& hurried() { return *this; }
    // For measurement only, never at a table: the simulator shows every
    // hand of a deal (as dealt) before its auction. Bots that play fair
    // ignore it.
    virtual void revealDeal(const std::array<CardSet, kSeats>& /*dealt*/) {}
};

// Oracle sees every hand (see revealDeal): the simulator's yardstick, which
// no table seats.
enum class BotLevel { Random, Heuristic, Strong, Oracle };

// Levels a table may seat.
constexpr bool seatsAtTables(BotLevel level) { return level != BotLevel::Oracle; }

std::optional<BotLevel> parseBotLevel(std::string_view name);
std::string_view botLevelName(BotLevel level);
std::unique_ptr<Bot> makeBot(BotLevel level, std::uint64_t seed);

// The move a bot makes for whatever the view asks (bid, trump or card).
// A move the rules would refuse is replaced by the first legal one, so a
// faulty bot can never stall a table.
struct Move {
    enum class Kind { None, Bid, Trump, Card } kind = Kind::None;
    int value = 0;
};
Move decide(Bot& bot, const PlayerView& view);

// Makes `move` for `seat`; false if the rules refuse it.
bool applyMove(Game& game, int seat, const Move& move, Events& out);

}  // namespace lerva

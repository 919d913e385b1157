#include "bot.h"

#include <bit>

#include "heuristic_bot.h"
#include "oracle_bot.h"
#include "random_bot.h"
#include "strong_bot.h"

namespace lerva {

std::optional<BotLevel> parseBotLevel(std::string_view name) {
    if (name == "random") return BotLevel::Random;
    if (name == "heuristic") return BotLevel::Heuristic;
    if (name == "strong") return BotLevel::Strong;
    if (name == "oracle") return BotLevel::Oracle;
    return std::nullopt;
}

std::string_view botLevelName(BotLevel level) {
    switch (level) {
    case BotLevel::Random: return "random";
    case BotLevel::Heuristic: return "heuristic";
    case BotLevel::Strong: break;
    case BotLevel::Oracle: return "oracle";
    }
    return "strong";
}

std::unique_ptr<Bot> makeBot(BotLevel level, std::uint64_t seed) {
    switch (level) {
    case BotLevel::Random: return std::make_unique<RandomBot>(seed);
    case BotLevel::Heuristic: return std::make_unique<HeuristicBot>();
    case BotLevel::Strong: break;
    case BotLevel::Oracle: return std::make_unique<OracleBot>();
    }
    return std::make_unique<StrongBot>(seed);
}

Move decide(Bot& bot, const PlayerView& view) {
    if (view.legalBids != 0) {
        const int bid = bot.chooseBid(view);
        return {Move::Kind::Bid, view.bidLegal(bid) ? bid : std::countr_zero(view.legalBids)};
    }
    if (view.legalTrumps != 0) {
        const int suit = bot.chooseTrump(view);
        return {Move::Kind::Trump, view.trumpLegal(suit) ? suit : std::countr_zero(view.legalTrumps)};
    }
    if (!view.legalCards.empty()) {
        const CardCode card = bot.chooseCard(view);
        return {Move::Kind::Card, view.legalCards.contains(card) ? card : view.legalCards.lowest()};
    }
    return {};
}

bool applyMove(Game& game, int seat, const Move& move, Events& out) {
    switch (move.kind) {
    case Move::Kind::Bid: return game.bid(seat, move.value, out);
    case Move::Kind::Trump: return game.chooseTrump(seat, move.value, out);
    case Move::Kind::Card: return game.playCard(seat, static_cast<CardCode>(move.value), out);
    case Move::Kind::None: break;
    }
    return false;
}

}  // namespace lerva

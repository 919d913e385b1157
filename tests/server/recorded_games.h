// Game records as the server writes them: a whole game played by computer
// players through the rules engine, each event fed to the game record.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "bot.h"
#include "game_record.h"

namespace lerva::testing {

inline std::string recordedGame(std::uint64_t seed, BotLevel level = BotLevel::Heuristic) {
    Game game(GameOptions{.seed = seed, .firstDealer = static_cast<int>(seed % kSeats)});
    GameRecord record(1, seed);
    const SeatNames names = {"Anna", "Arvuti 2", "Arvuti 3", "Arvuti 4"};
    std::array<std::unique_ptr<Bot>, kSeats> bots;
    for (int seat = 0; seat < kSeats; ++seat) bots[seat] = makeBot(level, seed * 4 + seat);
    Events events;
    auto feed = [&] {
        for (const Event& event : events) record.onEvent(event, game, names);
        events.clear();
    };
    while (game.phase() != Phase::GameOver) {
        if (game.phase() == Phase::BetweenDeals) {
            game.startDeal(events);
        } else {
            const int seat = game.toAct();
            applyMove(game, seat, decide(*bots[seat], game.viewFor(seat)), events);
        }
        feed();
    }
    std::string text;
    for (const std::string& line : record.takeLines()) text += line + '\n';
    return text;
}

// The record of a table that closed after its first deal.
inline std::string abandonedAfterFirstDeal(const std::string& record) {
    std::istringstream in(record);
    std::string game, deal;
    std::getline(in, game);
    std::getline(in, deal);
    const nlohmann::json end = {{"type", "end"}, {"abandoned", true}, {"deals", 1},
                                {"totals", nlohmann::json::parse(deal)["totals"]}};
    return game + '\n' + deal + '\n' + end.dump() + '\n';
}

}  // namespace lerva::testing

#include "lobby.h"

#include <algorithm>
#include <random>

#include "log.h"

namespace lerva {

Lobby::Lobby(asio::io_context& loop, const ServerConfig& config, BotPool& bots, Admission& admission)
    : loop_(loop), config_(config), bots_(bots), admission_(admission),
      randomBase_((std::uint64_t{std::random_device{}()} << 32) ^ std::random_device{}()) {}

std::uint64_t Lobby::tableSeed(std::uint64_t number) const {
    // With --seed the n-th table of every run deals the same cards.
    const std::uint64_t base = config_.seed ? *config_.seed : randomBase_;
    Rng mix(base + number * 0x9e3779b97f4a7c15ULL);
    return mix.next();
}

std::shared_ptr<Table> Lobby::join(std::shared_ptr<Participant> player) {
    const PlayerIdentity comer = player->identity();
    for (const auto& table : tables_) {
        if (table->awaits(comer)) {
            table->seatReturning(std::move(player));
            return table;
        }
    }
    auto found = std::find_if(tables_.begin(), tables_.end(),
                              [](const auto& table) { return table->waitingForPlayers(); });
    auto table = found != tables_.end() ? *found : openTable();
    table->seatPlayer(std::move(player));
    return table;
}

std::shared_ptr<Table> Lobby::openTable() {
    const std::uint64_t number = ++tablesOpened_;
    auto table = std::make_shared<Table>(
        TableServices{loop_, config_, bots_, admission_}, number, tableSeed(number), [this](Table& closed) {
            // Removed from a fresh handler: the table may still be on the stack.
            asio::post(loop_, [this, number = closed.number()] {
                std::erase_if(tables_, [&](const auto& t) { return t->number() == number; });
            });
        });
    tables_.push_back(table);
    table->open();
    logInfo("table ", number, " opened");
    return table;
}

void Lobby::closeAll() {
    const auto tables = tables_;
    for (const auto& table : tables) table->close();
    tables_.clear();
}

}  // namespace lerva

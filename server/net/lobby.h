// Seating: every player who sent "join" is given a table. A player coming
// back (identity.h) gets the seat they left; anyone else sits at the first table
// that still has a free seat, in the order they arrived, or opens a new one.
#pragma once

#include "asio.h"
#include <cstdint>
#include <memory>
#include <vector>

#include "bot_pool.h"
#include "config.h"
#include "participant.h"
#include "table.h"

namespace lerva {

class Lobby {
public:
    Lobby(asio::io_context& loop, const ServerConfig& config, BotPool& bots, Admission& admission);

    std::shared_ptr<Table> join(std::shared_ptr<Participant> player);
    std::size_t tableCount() const { return tables_.size(); }
    void closeAll();

private:
    std::shared_ptr<Table> openTable();
    std::uint64_t tableSeed(std::uint64_t number) const;

    asio::io_context& loop_;
    const ServerConfig& config_;
    BotPool& bots_;
    Admission& admission_;
    std::uint64_t randomBase_;
    std::uint64_t tablesOpened_ = 0;
    std::vector<std::shared_ptr<Table>> tables_;   // in the order they opened
};

}  // namespace lerva

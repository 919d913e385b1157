// A player for measurement only: it is told every hand of the deal and
// plays each card, bid and trump by the open-card solver, as if it could
// see through the backs of the cards. No table seats it; the simulator
// pits it against the other levels to show how far they are from perfect
// knowledge. Without the deal revealed it plays as the heuristic player.
#pragma once

#include <array>
#include <optional>

#include "bot.h"
#include "heuristic_bot.h"

namespace lerva {

class OracleBot : public Bot {
public:
    void revealDeal(const std::array<CardSet, kSeats>& dealt) override;
    int chooseBid(const PlayerView& view) override;
    int chooseTrump(const PlayerView& view) override;
    CardCode chooseCard(const PlayerView& view) override;
    Bot& hurried() override { return heuristic_; }

private:
    // Game points for the viewer's team when its side declares with trump
    // s (index 1..4; "Ruutu" scores twice diamonds), best play all round.
    const std::array<int, 5>& contractValues(const PlayerView& view);
    std::array<CardSet, kSeats> handsNow(const PlayerView& view) const;

    HeuristicBot heuristic_;
    std::optional<std::array<CardSet, kSeats>> dealt_;
    std::optional<std::array<int, 5>> values_;   // of this deal, for the viewer's team
};

}  // namespace lerva

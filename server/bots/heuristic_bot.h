// A computer player of plain good sense, no search: it bids on the trumps
// it would hold in its best suit and its high cards, names the trump that
// suits it, wins tricks as cheaply as it can, gives points to a partner who
// is sure to take the trick, and keeps its high trumps when a trick is lost.
#pragma once

#include "bot.h"

namespace lerva {

// Thresholds in units of handStrength, chosen by duplicate simulation of
// settings against each other: declaring is costly (beaten declarers pay
// double) and an early 10 shuts the others out of the auction. A still
// higher declaring threshold scores a little more but makes a bot that
// hardly ever bids; this one bids in about half the deals.
struct HeuristicTuning {
    double declareStrength = 4.5;   // own tricks needed to compete in the auction
    double bidTenStrength = 5.0;    // diamond strength that bids 10 at once
    double outbidPartnerBy = 1.5;   // extra strength before bidding over the partner
};

class HeuristicBot : public Bot {
public:
    explicit HeuristicBot(HeuristicTuning tuning = {}) : tuning_(tuning) {}
    int chooseBid(const PlayerView& view) override;
    int chooseTrump(const PlayerView& view) override;
    CardCode chooseCard(const PlayerView& view) override;

private:
    HeuristicTuning tuning_;
};

}  // namespace lerva

// The strongest computer player: in the card play it deals the unseen cards
// in many ways that agree with what it saw, solves every such world with
// all cards open, and plays the card with the best average deal score
// (not raw card points: 61 wins, 31 and a trickless side score more, a lost
// contract and "Ruutu" double). Bids and the trump follow the heuristic
// player, whose thresholds were tuned by simulation.
#pragma once

#include "bot.h"
#include "heuristic_bot.h"
#include "rng.h"

namespace lerva {

struct StrongTuning {
    int worlds = 100;              // sampled worlds per card decision
    int searchFromTricksLeft = 5;  // earlier in a deal the heuristic play decides
};

class StrongBot : public Bot {
public:
    explicit StrongBot(std::uint64_t seed, StrongTuning tuning = {}) : rng_(seed), tuning_(tuning) {}
    int chooseBid(const PlayerView& view) override { return heuristic_.chooseBid(view); }
    int chooseTrump(const PlayerView& view) override { return heuristic_.chooseTrump(view); }
    CardCode chooseCard(const PlayerView& view) override;

private:
    Rng rng_;
    StrongTuning tuning_;
    HeuristicBot heuristic_;
};

// What a deal is worth to `team` in game points when the declarers end with
// `declarerPoints` card points and `declarerTricks` tricks.
int dealScoreFor(int team, int declarerTeam, int declarerPoints, int declarerTricks, bool bidTen);

}  // namespace lerva

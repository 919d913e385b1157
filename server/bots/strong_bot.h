// The strongest computer player: in the card play it deals the unseen cards
// in many ways that agree with what it saw and best explain the others'
// plays (play_inference.h), solves every such world with all cards open,
// and plays the card with the best average deal score (not raw card
// points: 61 wins, 31 and a trickless side score more, a lost contract and
// "Ruutu" double). It bids and names the trump on what sampled
// deals, played out, say each contract would score.
#pragma once

#include "bot.h"
#include "contract_estimate.h"
#include "heuristic_bot.h"
#include "outcome_ladder.h"
#include "play_inference.h"
#include "rng.h"
#include "scoring.h"

namespace lerva {

struct StrongTuning {
    int worlds = 100;              // worlds drawn (or kept) per card decision
    // The search starts this many tricks from the end (the whole deal by
    // default); before, the heuristic play decides.
    int searchFromTricksLeft = kTricksPerDeal;
    // Search nodes a card decision may spend: where a world costs most,
    // early in a deal, fewer worlds are solved, so that a decision stays
    // inside the bot delay people see (docs/benchmarks.md has the times).
    std::uint64_t nodeBudget = 6'000'000;
    // A card decision's worlds are dealt out, in turn, to this many shares,
    // each with its part of the budget; idle cores solve shares at the same
    // time (shared_work.h). The card chosen depends on the number of shares,
    // never on how many cores took part.
    int shares = 2;
    int biddingDeals = 48;         // sampled deals played out per suit for a bid or the trump
    // Tricks at the end of each such deal solved open rather than played
    // out by the heuristic players (0: none), inside the same node budget.
    int biddingSolvedTricks = 0;
    // Expected game points a contract must promise. Passing is not worth
    // nothing (the others may declare, or misplay), and the estimate is
    // noisy: in duplicate play between strong bots a margin of half a game
    // point to one scored better than declaring on any promise at all.
    double declareMargin = 0.75;
    double bidTenMargin = 0.5;     // what "Ruutu" must promise beyond the best other contract
    double outbidPartnerMargin = 0.75;   // extra before bidding over a partner who holds the auction
    // Card decisions solve the worlds that best explain the others' plays.
    PlayInference inference{};
};

class StrongBot : public Bot {
public:
    explicit StrongBot(std::uint64_t seed, StrongTuning tuning = {}) : rng_(seed), tuning_(tuning) {}
    int chooseBid(const PlayerView& view) override;
    int chooseTrump(const PlayerView& view) override;
    CardCode chooseCard(const PlayerView& view) override;
    Bot& hurried() override { return heuristic_; }

private:
    ContractValues contractValues(const PlayerView& view);

    Rng rng_;
    StrongTuning tuning_;
    HeuristicBot heuristic_;
};

// Open-card search nodes the strong bots visited, and the worlds they
// solved in full for card decisions, on every thread since the start
// (benchmarks).
std::uint64_t strongBotSearchNodes();
std::uint64_t strongBotWorldsSolved();

}  // namespace lerva

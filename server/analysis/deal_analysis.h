// The exact analysis of every card played: before each card, what team 0
// (seats 0 and 2) ends the deal with under best play by both sides, which
// cards keep that, and what the card played cost its side.
#pragma once

#include <atomic>
#include <functional>
#include <nlohmann/json.hpp>
#include <span>
#include <vector>

#include "open_card_value.h"
#include "recorded_game.h"

namespace lerva::analysis {

struct CardAnalysis {
    int seat = 0;
    CardCode card = kNoCard;
    int team0Total = 0;   // before this card, the points already taken included
    int loss = 0;         // card points the card cost its player's team
    CardSet best;         // the cards that keep team0Total
};

struct PlayAnalysis {
    std::vector<CardAnalysis> cards;
    int finalTeam0 = 0;   // team 0's card points at the deal's end
};

// Thrown by an analysis whose `stop` flag is set, before its next card: a
// card's searches are short, a whole deal's may not be.
struct AnalysisStopped {};

// Analyses `cards`, played in this order from `start` to the deal's end.
// Throws std::logic_error if the values it gets do not add up (a loss below
// zero, no card that keeps the value), so that no wrong analysis is shown.
PlayAnalysis analyzePlay(OpenCardValue& values, PlayState start, std::span<const CardCode> cards,
                         const std::atomic<bool>* stop = nullptr);

struct DealAnalysis {
    int deal = 0;
    int trump = 0;
    int declarer = 0;
    PlayAnalysis play;
};

DealAnalysis analyzeDeal(OpenCardValue& values, const RecordedDeal& deal, const std::atomic<bool>* stop = nullptr);

// Every deal of a game, the deals shared out over `threads` threads.
// `progress` (if set) hears of each finished deal, from any of them.
using Progress = std::function<void(int done, int total)>;
std::vector<DealAnalysis> analyzeGame(const RecordedGame& game, int threads, const Progress& progress = {},
                                      const std::atomic<bool>* stop = nullptr);

// {"deal", "trump", "declarer", "plays": [{"seat", "card", "team0_total",
// "loss", "best"}...], "final"}
nlohmann::json toJson(const DealAnalysis& deal);
// The same as one line, its keys in that order (for people reading it).
std::string toJsonLine(const DealAnalysis& deal);

}  // namespace lerva::analysis

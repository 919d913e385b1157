// The exact analysis of recorded games: against a plain minimax near the end
// of a deal, the identities of its numbers on whole recorded games, and the
// refusal of cut and tampered records.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "analyze_command.h"
#include "deal_analysis.h"
#include "recorded_games.h"
#include "rules.h"
#include "solver.h"
#include "trick.h"

namespace lerva::analysis {
namespace {

CardSet legalCards(const PlayState& state) {
    const CardSet hand = state.hands[state.toMove()];
    Hand cards{};
    int i = 0;
    for (CardCode card : hand) cards[i++] = card;
    const int led = state.trickSize == 0 ? 0 : ledSuitOf(state.trick[0], state.trump);
    CardSet legal;
    for (CardCode card : hand)
        if (cardAllowed(cards, card, led, state.trump)) legal.add(card);
    return legal;
}

// Card points team 0 ends the deal with, by trying every line of play.
int bruteForceTeam0(const PlayState& state) {
    if (state.cardsToPlay() == 0) return state.taken[0];
    const bool team0Moves = teamOf(state.toMove()) == 0;
    int best = team0Moves ? -1 : 1000;
    for (CardCode card : legalCards(state)) {
        PlayState child = state;
        child.play(card);
        const int value = bruteForceTeam0(child);
        best = team0Moves ? std::max(best, value) : std::min(best, value);
    }
    return best;
}

CardCode randomCard(CardSet cards, Rng& rng) {
    int skip = static_cast<int>(rng.below(static_cast<std::uint32_t>(cards.size())));
    for (CardCode card : cards)
        if (skip-- == 0) return card;
    return kNoCard;
}

TEST(Analysis, EveryCardNearTheEndAgreesWithAPlainMinimax) {
    OpenCardValue values;
    for (const int cardsLeft : {1, 3, 4, 7, 8, 10, 13, 16}) {
        for (std::uint64_t seed = 1; seed <= 12; ++seed) {
            Rng rng(seed * 100 + cardsLeft);
            const Hands hands = dealHands(rng);
            PlayState state;
            for (int seat = 0; seat < kSeats; ++seat) state.hands[seat] = CardSet::of(hands[seat]);
            state.trump = 1 + static_cast<int>(rng.below(4));
            state.leader = static_cast<int>(rng.below(4));
            while (state.cardsToPlay() > cardsLeft) state.play(randomCard(legalCards(state), rng));
            const PlayState start = state;
            std::vector<CardCode> rest;
            while (state.cardsToPlay() > 0) state.play(rest.emplace_back(randomCard(legalCards(state), rng)));

            const PlayAnalysis analysis = analyzePlay(values, start, rest);
            state = start;
            for (const CardAnalysis& card : analysis.cards) {
                SCOPED_TRACE("cards to play " + std::to_string(state.cardsToPlay()) + ", seed " + std::to_string(seed));
                const int value = bruteForceTeam0(state);
                EXPECT_EQ(card.team0Total, value);
                EXPECT_EQ(card.seat, state.toMove());
                CardSet best;
                for (CardCode option : legalCards(state)) {
                    PlayState child = state;
                    child.play(option);
                    if (bruteForceTeam0(child) == value) best.add(option);
                }
                EXPECT_EQ(card.best, best);
                state.play(card.card);
                const int after = bruteForceTeam0(state);
                EXPECT_EQ(card.loss, teamOf(card.seat) == 0 ? value - after : after - value);
            }
            EXPECT_EQ(analysis.finalTeam0, state.taken[0]);
        }
    }
}

TEST(Analysis, RecordedGamesKeepTheIdentitiesOfTheirNumbers) {
    for (const std::uint64_t seed : {3u}) {
        const RecordedGame game = readRecord(testing::recordedGame(seed));
        const auto deals = analyzeGame(game, 2);
        ASSERT_EQ(deals.size(), game.deals.size());
        ASSERT_GE(deals.size(), 2u);
        for (std::size_t d = 0; d < deals.size(); ++d) {
            const RecordedDeal& recorded = game.deals[d];
            const nlohmann::json json = toJson(deals[d]);
            EXPECT_EQ(json["deal"], recorded.number);
            EXPECT_EQ(json["trump"], recorded.trump);
            EXPECT_EQ(json["declarer"], recorded.declarer);
            const auto& plays = json["plays"];
            ASSERT_EQ(plays.size(), 36u);

            // The first value is the deal's open-card value, asked of the solver afresh.
            solver::Solver solver;
            solver::Position open;
            for (int seat = 0; seat < kSeats; ++seat) open.hands[seat] = CardSet::of(recorded.hands[seat]);
            open.trump = recorded.trump;
            open.leader = recorded.tricks[0].leader;
            solver.setPosition(open);
            EXPECT_EQ(plays[0]["team0_total"], solver.teamPoints(0));

            for (std::size_t i = 0; i < plays.size(); ++i) {
                const auto& play = plays[i];
                const RecordedTrick& trick = recorded.tricks[i / 4];
                EXPECT_EQ(play["card"], trick.cards[i % 4]);
                EXPECT_EQ(play["seat"], (trick.leader + static_cast<int>(i % 4)) % kSeats);
                const int next = i + 1 < plays.size() ? plays[i + 1]["team0_total"].get<int>() : json["final"].get<int>();
                const int loss = play["loss"];
                EXPECT_GE(loss, 0);
                EXPECT_EQ(next, play["team0_total"].get<int>() + (teamOf(play["seat"]) == 0 ? -loss : loss));
                const auto& best = play["best"];
                EXPECT_EQ(loss == 0, std::find(best.begin(), best.end(), play["card"]) != best.end());
            }
            EXPECT_EQ(json["final"], recorded.cardPoints[0]);
        }
    }
}

// Replaces line `index` (0-based) of a record by what `change` makes of it.
std::string withLine(const std::string& text, int index, const std::function<void(nlohmann::json&)>& change) {
    std::istringstream in(text);
    std::string out;
    int i = 0;
    for (std::string line; std::getline(in, line); ++i) {
        if (i == index) {
            nlohmann::json json = nlohmann::json::parse(line);
            change(json);
            line = json.is_null() ? std::string() : json.dump();
            if (line.empty()) continue;
        }
        out += line + '\n';
    }
    return out;
}

TEST(Analysis, AGameAskedToStopEndsBeforeItsNextCard) {
    const RecordedGame game = readRecord(testing::recordedGame(3));
    std::atomic<bool> stop{false};
    int dealsDone = 0;
    const auto stopAfterOne = [&](int done, int) { dealsDone = done, stop = true; };
    EXPECT_THROW(analyzeGame(game, 1, stopAfterOne, &stop), AnalysisStopped);
    EXPECT_EQ(dealsDone, 1);
}

TEST(Analysis, CutAndTamperedRecordsAreRefusedWithTheirLine) {
    const std::string good = testing::recordedGame(5);
    const int lines = static_cast<int>(std::count(good.begin(), good.end(), '\n'));
    ASSERT_GE(lines, 4);
    const int end = lines - 1;
    using J = nlohmann::json;
    const struct {
        const char* what;
        std::string text;
        int line;
        const char* message;
    } cases[] = {
        {"cut inside a line", good.substr(0, good.size() - 20), lines, "not a whole JSON line"},
        {"cut after a line", withLine(good, end, [](J& j) { j = nullptr; }), lines - 1, "without its end line"},
        {"unknown line type", withLine(good, 1, [](J& j) { j["type"] = "hand"; }), 2, "unknown line type"},
        {"trump out of range", withLine(good, 1, [](J& j) { j["trump"] = 5; }), 2, "\"trump\" is 5"},
        {"card code of no card", withLine(good, 2, [](J& j) { j["tricks"][0]["cards"][1] = 70; }), 3, "no card"},
        {"a number as text", withLine(good, 1, [](J& j) { j["dealer"] = "1"; }), 2, "not a whole number"},
        {"a card twice", withLine(good, 1, [](J& j) { j["hands"][0][0] = j["hands"][1][0]; }), 2, "36 cards"},
        {"cards of a trick swapped",
         withLine(good, 1, [](J& j) { std::swap(j["tricks"][8]["cards"][0], j["tricks"][7]["cards"][0]); }), 2, "trick 8"},
        {"another trump", withLine(good, 1, [](J& j) { j["trump"] = j["trump"].get<int>() % 4 + 1; }), 2, ""},
        {"a bid taken out", withLine(good, 1, [](J& j) { j["bids"].erase(j["bids"].size() - 1); }), 2, "bid"},
        {"trick points raised", withLine(good, 2, [](J& j) { j["tricks"][0]["points"] = j["tricks"][0]["points"].get<int>() + 1; }), 3, "points"},
        {"card points moved", withLine(good, 2, [](J& j) { j["card_points"] = {j["card_points"][1], j["card_points"][0]}; }), 3, "card points"},
        {"a deal's number", withLine(good, 2, [](J& j) { j["deal"] = 3; }), 3, "where deal 2 belongs"},
        {"end totals", withLine(good, end, [](J& j) { j["totals"][0] = j["totals"][0].get<int>() + 1; }), end + 1, "end totals"},
        {"the winner", withLine(good, end, [](J& j) { j["winner_team"] = 1 - j["winner_team"].get<int>(); }), end + 1, "winner"},
        {"a line after the end", good + good.substr(0, good.find('\n') + 1), lines + 1, "after the end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            readRecord(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const RecordError& error) {
            EXPECT_EQ(error.line(), c.line) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST(Analysis, TheCommandPrintsNothingButTheErrorForABadRecord) {
    const std::string path = ::testing::TempDir() + "analysis-cut.jsonl";
    const std::string good = testing::abandonedAfterFirstDeal(testing::recordedGame(5));
    for (const bool cut : {false, true}) {
        std::ofstream(path, std::ios::binary) << (cut ? good.substr(0, good.size() - 20) : good);
        std::ostringstream out, err;
        const int status = runAnalyze(path, 2, out, err);
        EXPECT_EQ(status, cut ? 1 : 0);
        const std::string printed = out.str();
        const auto lines = std::count(printed.begin(), printed.end(), '\n');
        EXPECT_EQ(lines, cut ? 0 : readRecord(good).deals.size());
        if (!cut) EXPECT_EQ(nlohmann::json::parse(printed), toJson(analyzeGame(readRecord(good), 1).front()));
        EXPECT_EQ(err.str().empty(), !cut) << err.str();
        if (cut) EXPECT_NE(err.str().find(path + " line "), std::string::npos) << err.str();
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace lerva::analysis

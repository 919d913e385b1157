#include "game_record.h"

#include "ansi_text.h"

namespace lerva {

namespace {

nlohmann::json namesJson(const SeatNames& names) {
    auto json = nlohmann::json::array();
    for (const std::string& name : names) json.push_back(ansiToUtf8(name));
    return json;
}

nlohmann::json cardsJson(const Hand& hand) {
    auto cards = nlohmann::json::array();
    for (CardCode card : hand) cards.push_back(card);
    return cards;
}

}  // namespace

GameRecord::GameRecord(std::uint64_t tableNumber, std::uint64_t seed)
    : tableNumber_(tableNumber), seed_(seed) {}

void GameRecord::pushLine(const nlohmann::json& line) {
    lines_.push_back(line.dump());
}

void GameRecord::onEvent(const Event& event, const Game& game, const SeatNames& names,
                         const ComputerSeats& computer) {
    using Kind = Event::Kind;
    switch (event.kind) {
    case Kind::DealStarted: {
        if (!started_) {
            started_ = true;
            pushLine({{"type", "game"}, {"table", tableNumber_}, {"seed", seed_}, {"names", namesJson(names)},
                      {"computer", computer}});
        }
        auto hands = nlohmann::json::array();
        for (const Hand& hand : game.dealtHands()) hands.push_back(cardsJson(hand));
        deal_ = {{"type", "deal"}, {"deal", game.dealsStarted()}, {"dealer", event.seat},
                 {"names", namesJson(names)}, {"computer", computer}, {"hands", hands}, {"bids", nlohmann::json::array()},
                 {"tricks", nlohmann::json::array()}};
        break;
    }
    case Kind::BidMade:
        deal_["bids"].push_back({{"seat", event.seat}, {"bid", event.value}});
        break;
    case Kind::TrumpSet:
        deal_["declarer"] = event.seat;
        deal_["contract"] = game.auction().contract();
        deal_["all_passed"] = game.auction().allPassed();
        deal_["trump"] = event.value;
        break;
    case Kind::TrickTaken: {
        const TrickRecord& trick = game.tricks()[game.tricksDone() - 1];
        deal_["tricks"].push_back({{"leader", trick.leader},
                                   {"cards", trick.cards},
                                   {"winner", trick.winner},
                                   {"points", event.value}});
        break;
    }
    case Kind::DealScored:
        deal_["card_points"] = event.cardPoints;
        deal_["game_points"] = event.dealPoints;
        deal_["totals"] = event.totals;
        pushLine(deal_);
        break;
    case Kind::GameOver:
        pushLine({{"type", "end"}, {"winner_team", event.seat}, {"totals", game.totals()},
                  {"deals", game.dealsStarted()}});
        break;
    case Kind::AskBid:
    case Kind::AskTrump:
    case Kind::AskCard:
    case Kind::CardPlayed:
        break;
    }
}

void GameRecord::onComputerTakesOver(int seat) {
    if (deal_.contains("computer")) deal_["computer"][seat] = true;
}

void GameRecord::onAbandoned(const Game& game) {
    if (!started_) return;
    pushLine({{"type", "end"}, {"abandoned", true}, {"totals", game.totals()},
              {"deals", game.dealsStarted()}});
}

std::vector<std::string> GameRecord::takeLines() { return std::exchange(lines_, {}); }

}  // namespace lerva

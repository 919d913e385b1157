#include "load_player.h"

#include <algorithm>

namespace lerva::load {

void LoadPlayer::problem(const std::string& what) {
    if (problems_++ == 0) firstProblem_ = what;
}

std::optional<Block> LoadPlayer::onBlock(const Block& block) {
    if (gameOver_) {
        problem("a block after the game was over");
        return std::nullopt;
    }
    switch (classify(phase_, block)) {
    case ServerMessage::Name:
        if (++names_ > 3) problem("more than three names before a deal");
        break;
    case ServerMessage::Deal: {
        const Hand hand = parseDeal(block);
        hand_.assign(hand.begin(), hand.end());
        std::vector<CardCode> sorted = hand_;
        std::sort(sorted.begin(), sorted.end());
        if (sorted.front() == kNoCard || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            problem("a deal with a missing or repeated card: " + std::string(blockText(block)));
        if (names_ != 3) problem("a deal after " + std::to_string(names_) + " names");
        names_ = 0;
        dealt_ = true;
        phase_ = 1;
        break;
    }
    case ServerMessage::Ok:
        return answerBid();
    case ServerMessage::BidReport:
        if (const auto report = parseBidReport(block)) bids_[report->slot] = static_cast<std::int16_t>(report->bid);
        else problem("a bad bid report: " + std::string(blockText(block)));
        break;
    case ServerMessage::Trump:
        return answerTrump();
    case ServerMessage::Next:
        if (const auto suit = parseNext(block)) trump_ = *suit;
        else problem("a bad trump: " + std::string(blockText(block)));
        bids_ = {};
        phase_ = 2;
        break;
    case ServerMessage::Okc:
        if (phase_ != 2) problem("okc while bidding");
        else return answerCard();
        break;
    case ServerMessage::CardReport:
        if (const auto report = parseCardReport(block)) onCardReport(*report);
        else problem("a bad card report");
        break;
    case ServerMessage::Point:
        onPoints(parsePoints(block));
        break;
    }
    return std::nullopt;
}

void LoadPlayer::onCardReport(const CardReport& report) {
    if (report.seat == 0 && played_ != report.card) {
        // The turn ran out and a bot played for us: our card stays in the
        // hand, the bot's leaves it; it must have been ours to play.
        const auto held = std::find(hand_.begin(), hand_.end(), report.card);
        if (held == hand_.end()) problem("our seat played a card we never held");
        else hand_.erase(held);
        if (played_) hand_.push_back(*played_);
    }
    if (report.seat == 0) played_.reset();
    if (trick_[report.seat] != kNoCard) problem("two cards from one seat in a trick");
    trick_[report.seat] = report.card;
    if (++cardsOnTable_ == kSeats) {
        trick_ = {};
        cardsOnTable_ = 0;
    }
}

void LoadPlayer::onPoints(const Points& points) {
    if (!hand_.empty() || cardsOnTable_ != 0) problem("points before the deal was played out");
    if (points.ownCardPoints < 0 || points.ownCardPoints > 120) problem("card points out of range");
    if (points.ownGamePoints < ownTotal_ || points.otherGamePoints < otherTotal_)
        problem("game points went down");
    ownTotal_ = points.ownGamePoints;
    otherTotal_ = points.otherGamePoints;
    phase_ = 0;
    bids_ = {};
    trump_ = 0;
    gameOver_ = ownTotal_ >= 12 || otherTotal_ >= 12;
}

int LoadPlayer::trumpsFor(int suit) const {
    return static_cast<int>(std::count_if(hand_.begin(), hand_.end(), [&](CardCode c) { return isTrump(c, suit); }));
}

Block LoadPlayer::answerBid() {
    // Bid up to the trumps of the best suit when there are five or more.
    int best = 0;
    for (int suit = kDiamonds; suit <= kClubs; ++suit) best = std::max(best, trumpsFor(suit));
    for (int bid = 1; best >= 5 && bid <= best; ++bid)
        if (bidAllowed(bid, bids_)) return bidBlock(bid);
    return bidBlock(0);
}

Block LoadPlayer::answerTrump() {
    Hand hand{};
    std::copy_n(hand_.begin(), std::min<std::size_t>(hand_.size(), kHandSize), hand.begin());
    int suit = kDiamonds;
    for (int s = kHearts; s <= kClubs; ++s)
        if (trumpChoiceAllowed(hand, s, bids_[1]) && trumpsFor(s) > trumpsFor(suit)) suit = s;
    return trumpChoiceBlock(suit);
}

Block LoadPlayer::answerCard() {
    Hand hand{};
    std::copy_n(hand_.begin(), std::min<std::size_t>(hand_.size(), kHandSize), hand.begin());
    const int led = ledSuit(trick_, trump_);
    for (auto it = hand_.begin(); it != hand_.end(); ++it) {
        if (!cardAllowed(hand, *it, led, trump_)) continue;
        played_ = *it;
        hand_.erase(it);
        return cardPlayBlock(*played_);
    }
    problem("asked for a card with no card to play");
    return cardPlayBlock(kNoCard);
}

}  // namespace lerva::load

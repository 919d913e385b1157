#include "game.h"

#include "rules.h"
#include "trick.h"

namespace lerva {

Game::Game(const GameOptions& options)
    : options_(options), rng_(options.seed),
      // The dealer moves on before each deal, so start one seat to the right.
      dealer_((options.firstDealer + kSeats - 1) % kSeats) {}

int Game::toAct() const {
    switch (phase_) {
    case Phase::Bidding: return auction_.toBid();
    case Phase::ChoosingTrump: return auction_.declarer();
    case Phase::Playing: return turn_;
    default: return -1;
    }
}

void Game::startDeal(Events& out) { startDeal(dealHands(rng_), out); }

void Game::startDeal(const Hands& hands, Events& out) {
    if (phase_ != Phase::BetweenDeals) return;
    dealer_ = (dealer_ + 1) % kSeats;
    ++dealsStarted_;
    dealt_ = hands;
    for (int seat = 0; seat < kSeats; ++seat) hands_[seat] = CardSet::of(hands[seat]);
    auction_ = Auction(forehand());
    trump_ = 0;
    turn_ = leader_ = -1;
    trickSize_ = tricksDone_ = 0;
    trick_ = {};
    tricks_ = {};
    played_ = {};
    cardPoints_ = tricksWon_ = {};
    phase_ = Phase::Bidding;
    out.push_back({Event::Kind::DealStarted, dealer_});
    out.push_back({Event::Kind::AskBid, forehand()});
}

bool Game::bidAllowed(int seat, int bid) const {
    return phase_ == Phase::Bidding && auction_.allowed(seat, bid);
}

bool Game::bid(int seat, int bid, Events& out) {
    if (!bidAllowed(seat, bid)) return false;
    auction_.bid(seat, bid);
    out.push_back({Event::Kind::BidMade, seat, bid});
    if (!auction_.finished()) {
        out.push_back({Event::Kind::AskBid, auction_.toBid()});
    } else if (auction_.bidTen() || auction_.allPassed()) {
        // Diamonds without a choice: the bid 10 names them, and a deal that
        // everybody passed is played in them by forehand.
        beginPlay(kDiamonds, out);
    } else {
        phase_ = Phase::ChoosingTrump;
        out.push_back({Event::Kind::AskTrump, auction_.declarer()});
    }
    return true;
}

bool Game::trumpAllowed(int seat, int suit) const {
    return phase_ == Phase::ChoosingTrump && seat == auction_.declarer() && isValidSuit(suit) &&
           trumpChoiceAllowed(dealt_[seat], suit, auction_.contract());
}

bool Game::chooseTrump(int seat, int suit, Events& out) {
    if (!trumpAllowed(seat, suit)) return false;
    beginPlay(suit, out);
    return true;
}

void Game::beginPlay(int trump, Events& out) {
    trump_ = trump;
    phase_ = Phase::Playing;
    leader_ = turn_ = forehand();
    out.push_back({Event::Kind::TrumpSet, auction_.declarer(), trump});
    out.push_back({Event::Kind::AskCard, turn_});
}

int Game::ledSuitNow() const { return trickSize_ == 0 ? 0 : ledSuitOf(trick_[0], trump_); }

bool Game::cardAllowed(int seat, CardCode card) const {
    if (phase_ != Phase::Playing || seat != turn_ || !hands_[seat].contains(card)) return false;
    return lerva::cardAllowed(handOf(hands_[seat]), card, ledSuitNow(), trump_);
}

bool Game::playCard(int seat, CardCode card, Events& out) {
    if (!cardAllowed(seat, card)) return false;
    hands_[seat].remove(card);
    played_.add(card);
    trick_[trickSize_++] = card;
    out.push_back({Event::Kind::CardPlayed, seat, card});
    if (trickSize_ < kSeats) {
        turn_ = (turn_ + 1) % kSeats;
        out.push_back({Event::Kind::AskCard, turn_});
    } else {
        finishTrick(out);
    }
    return true;
}

void Game::finishTrick(Events& out) {
    const int winner = (leader_ + trickWinner(trick_, trump_)) % kSeats;
    const int points = trickPoints(trick_);
    cardPoints_[teamOf(winner)] += points;
    ++tricksWon_[teamOf(winner)];
    tricks_[tricksDone_++] = {leader_, trick_, winner};
    out.push_back({Event::Kind::TrickTaken, winner, points});
    trick_ = {};
    trickSize_ = 0;
    if (tricksDone_ < kTricksPerDeal) {
        leader_ = turn_ = winner;
        out.push_back({Event::Kind::AskCard, turn_});
    } else {
        scoreDeal(out);
    }
}

void Game::scoreDeal(Events& out) {
    const int declarerTeam = teamOf(auction_.declarer());
    const DealOutcome outcome = lerva::scoreDeal(declarerTeam, cardPoints_[declarerTeam],
                                                 tricksWon_[declarerTeam], auction_.bidTen());
    for (int team = 0; team < kTeams; ++team) totals_[team] += outcome.gamePoints[team];
    turn_ = -1;
    Event scored{Event::Kind::DealScored, auction_.declarer()};
    scored.cardPoints = cardPoints_;
    scored.dealPoints = outcome.gamePoints;
    scored.totals = totals_;
    out.push_back(scored);
    if (options_.endAtTarget && gameOver(totals_)) {
        phase_ = Phase::GameOver;
        out.push_back({Event::Kind::GameOver, totals_[0] >= totals_[1] ? 0 : 1});
    } else {
        phase_ = Phase::BetweenDeals;
    }
}

PlayerView Game::viewFor(int seat) const {
    PlayerView view;
    view.seat = seat;
    view.dealer = dealer_;
    view.forehand = forehand();
    view.hand = hands_[seat];
    for (int s = 0; s < kSeats; ++s) view.standingBids[s] = auction_.standing(s);
    if (auction_.finished()) {
        view.declarer = auction_.declarer();
        view.contract = auction_.contract();
        view.bidTen = auction_.bidTen();
    }
    view.trump = trump_;
    view.leader = leader_;
    view.trickSize = trickSize_;
    view.trick = trick_;
    view.tricksDone = tricksDone_;
    view.tricks = tricks_;
    view.played = played_;
    view.cardPoints = cardPoints_;
    view.tricksWon = tricksWon_;
    view.totals = totals_;
    if (toAct() == seat) {
        for (int b = kPass; b <= kBidTen; ++b)
            if (bidAllowed(seat, b)) view.legalBids |= 1u << b;
        for (int s = kDiamonds; s <= kClubs; ++s)
            if (trumpAllowed(seat, s)) view.legalTrumps |= 1u << s;
        for (CardCode card : hands_[seat])
            if (cardAllowed(seat, card)) view.legalCards.add(card);
    }
    return view;
}

}  // namespace lerva

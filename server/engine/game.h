// The rules engine for one table: a whole game of deals, in absolute seats
// 0..3 clockwise, with no networking and no clock. Every call that a player
// makes is checked; a refused move changes nothing and reports no event.
#pragma once

#include <array>
#include <cstdint>

#include "auction.h"
#include "card_set.h"
#include "deal.h"
#include "events.h"
#include "player_view.h"
#include "rng.h"

namespace lerva {

enum class Phase { BetweenDeals, Bidding, ChoosingTrump, Playing, GameOver };

struct GameOptions {
    std::uint64_t seed = 0;
    int firstDealer = 0;
    bool endAtTarget = true;   // the simulator plays on past 12 points
};

class Game {
public:
    explicit Game(const GameOptions& options = {});

    Phase phase() const { return phase_; }
    // Seat that must act now (bid, name the trump or play); -1 if none.
    int toAct() const;

    // Starts the next deal with the dealer one seat further left (the first
    // deal uses the first dealer), with shuffled or with given hands.
    void startDeal(Events& out);
    void startDeal(const Hands& hands, Events& out);

    bool bid(int seat, int bid, Events& out);
    bool chooseTrump(int seat, int suit, Events& out);
    bool playCard(int seat, CardCode card, Events& out);

    bool bidAllowed(int seat, int bid) const;
    bool trumpAllowed(int seat, int suit) const;
    bool cardAllowed(int seat, CardCode card) const;

    PlayerView viewFor(int seat) const;

    int dealer() const { return dealer_; }
    int forehand() const { return (dealer_ + 1) % kSeats; }
    int dealsStarted() const { return dealsStarted_; }
    const Hands& dealtHands() const { return dealt_; }
    CardSet hand(int seat) const { return hands_[seat]; }
    const Auction& auction() const { return auction_; }
    int trump() const { return trump_; }
    int declarer() const { return auction_.declarer(); }
    const std::array<TrickRecord, kTricksPerDeal>& tricks() const { return tricks_; }
    int tricksDone() const { return tricksDone_; }
    const std::array<int, kTeams>& cardPoints() const { return cardPoints_; }
    const std::array<int, kTeams>& totals() const { return totals_; }

private:
    void beginPlay(int trump, Events& out);
    void finishTrick(Events& out);
    void scoreDeal(Events& out);
    int ledSuitNow() const;

    GameOptions options_;
    Rng rng_;
    Phase phase_ = Phase::BetweenDeals;
    int dealer_;
    int dealsStarted_ = 0;
    Hands dealt_{};
    std::array<CardSet, kSeats> hands_{};
    Auction auction_{0};
    int trump_ = 0;

    int turn_ = -1;
    int leader_ = -1;
    int trickSize_ = 0;
    std::array<CardCode, kSeats> trick_{};
    int tricksDone_ = 0;
    std::array<TrickRecord, kTricksPerDeal> tricks_{};
    CardSet played_;
    std::array<int, kTeams> cardPoints_{};
    std::array<int, kTeams> tricksWon_{};
    std::array<int, kTeams> totals_{};
};

}  // namespace lerva

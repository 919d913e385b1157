// One player of the load client, without the socket: it keeps the table as
// the real client keeps it, from the server's blocks alone, checks every
// block against what came before, and answers "ok", "trump" and "okc" at
// once with a move the client's own rules allow.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "protocol.h"
#include "rules.h"

namespace lerva::load {

class LoadPlayer {
public:
    // Handles one block from the server. Returns the answer to send, if the
    // block asked for one.
    std::optional<Block> onBlock(const Block& block);

    // The last "point" put a team at 12 or more: the client closes now.
    bool gameOver() const { return gameOver_; }
    // Cards were dealt: a close by the server from now on is mid-game.
    bool inGame() const { return dealt_ && !gameOver_; }
    // Game points as last sent: own team, other team.
    int ownTotal() const { return ownTotal_; }
    int otherTotal() const { return otherTotal_; }
    // What was wrong with the server's blocks; the first few are kept.
    int problems() const { return problems_; }
    const std::string& firstProblem() const { return firstProblem_; }

private:
    Block answerBid();
    Block answerTrump();
    Block answerCard();
    int trumpsFor(int suit) const;
    void problem(const std::string& what);
    void onCardReport(const CardReport& report);
    void onPoints(const Points& points);

    int phase_ = 0;               // 0 waiting for a deal, 1 bidding, 2 play
    int names_ = 0;
    std::vector<CardCode> hand_;
    Bids bids_{};
    int trump_ = 0;
    Trick trick_{};
    int cardsOnTable_ = 0;
    std::optional<CardCode> played_;   // sent, not yet reported back
    int ownTotal_ = 0, otherTotal_ = 0;
    bool dealt_ = false;
    bool gameOver_ = false;
    int problems_ = 0;
    std::string firstProblem_;
};

}  // namespace lerva::load

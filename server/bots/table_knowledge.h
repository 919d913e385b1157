// What a player can work out from the cards seen so far: which cards are
// still hidden, which players showed they are out of a suit or of trumps,
// and whether a card on the table can still be beaten by those yet to play.
#pragma once

#include <array>

#include "card_set.h"
#include "player_view.h"

namespace lerva {

class TableKnowledge {
public:
    explicit TableKnowledge(const PlayerView& view);

    // Cards in the other three hands.
    CardSet unseen() const { return unseen_; }
    // Has `seat` shown it holds no trump / no plain card of `suit`?
    bool outOfTrumps(int seat) const { return noTrumps_[seat]; }
    bool outOfSuit(int seat, int suit) const { return void_[seat][suit]; }

    // The trick so far, from the view's player's chair.
    int led() const { return led_; }                    // 0 when leading
    int winningSeat() const { return winningSeat_; }    // -1 when leading
    CardCode winningCard() const { return winningCard_; }
    bool partnerWinning() const;
    bool lastToPlay() const { return view_.trickSize == kSeats - 1; }

    // Could an opponent who plays after us in this trick beat `card` (once
    // `card` leads the trick, or when we play it now)?
    bool opponentsAfterCanBeat(CardCode card) const;
    // Is `card` the highest of its kind (the trumps, or its plain suit) that
    // anybody else may still hold?
    bool isBoss(CardCode card) const;

private:
    bool mayHold(int seat, CardCode card) const;

    const PlayerView& view_;
    CardSet unseen_;
    std::array<bool, kSeats> noTrumps_{};
    std::array<std::array<bool, 5>, kSeats> void_{};   // [seat][suit]
    int led_ = 0;
    int winningSeat_ = -1;
    CardCode winningCard_ = kNoCard;
};

}  // namespace lerva

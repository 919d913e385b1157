// Writes the seed inputs of server_blocks_fuzz into a directory: whole
// scripted deals in the step format of steps.h, as a server and a player
// following the rules would produce them.
//
//   fuzz_seeds tests/fuzz/corpus
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "geometry.h"
#include "protocol.h"
#include "rules.h"
#include "steps.h"
#include "table.h"

namespace {

using namespace lerva;
using namespace lerva::fuzz;

// Builds one input while keeping the local player's view of the table, so
// that every click lands on a card the rules allow.
class Script {
public:
    void block(const Block& b) {
        int length = static_cast<int>(kBlockSize);
        while (length > 0 && b[length - 1] == '\0') --length;
        bytes_.push_back(static_cast<char>(length));
        bytes_.append(b.data(), length);
        if (classify(phase_, b) == ServerMessage::Deal) {
            takeDeal(b, hand_, counts_);
            phase_ = 1;
        }
    }
    void text(const std::string& t) { block(textBlock(t)); }

    void bid(int value) {
        bytes_ += static_cast<char>(kBidTag);
        bytes_ += static_cast<char>(value);
    }
    void chooseTrump(int suit) {
        bytes_ += static_cast<char>(kTrumpTag);
        bytes_ += static_cast<char>(suit - 1);
        trump_ = suit;
    }
    void next(int suit) {
        text("next " + std::to_string(suit));
        phase_ = 2;
        trump_ = suit;
    }

    // "okc", a click on the first card the rules allow, and the server's
    // report of that card.
    void playOwnCard() {
        text("okc");
        const int led = ledSuit(trick_, trump_);
        int slot = 0;
        while (!cardAllowed(hand_, hand_[slot], led, trump_)) ++slot;
        bytes_ += static_cast<char>(kClickTag);
        bytes_ += static_cast<char>(clickByteFor(slot));
        bytes_ += static_cast<char>(40);
        const CardCode card = hand_[slot];
        takeFromHand(hand_, counts_, slot);
        report(0, card);
    }
    void report(int seat, CardCode card) {
        block(cardReportBlock(seat, card));
        if (placeCard({seat, card}, trick_, counts_)) trick_.fill(kNoCard);
    }

    // The game is over and the next connection starts from an empty table.
    void newConnection() {
        phase_ = 0;
        trump_ = 0;
        hand_ = {};
        counts_ = {};
        trick_ = {};
    }

    const Hand& hand() const { return hand_; }
    // Led suit of the trick that `leader` opened, 0 before their card.
    int ledBy(int leader) const {
        return trick_[leader] == kNoCard ? 0 : ledSuitOf(trick_[leader], trump_);
    }
    int trump() const { return trump_; }

    bool write(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
        return static_cast<bool>(out);
    }

private:
    int clickByteFor(int slot) const {
        for (int b = 0; b < 256; ++b)
            if (handSlotAt(clickX(static_cast<std::uint8_t>(b)), clickY(40), counts_[0]) == slot) return b;
        std::fprintf(stderr, "no click reaches slot %d of %d\n", slot, counts_[0]);
        std::exit(1);
    }

    std::string bytes_;
    int phase_ = 0;
    int trump_ = 0;
    Hand hand_{};
    CardCounts counts_{};
    Trick trick_{};
};

// The 36 cards dealt out by seat, nine each, in a fixed mixed order.
std::array<Hand, kSeats> dealtHands() {
    const auto deck = fullDeck();
    std::array<Hand, kSeats> hands{};
    for (int i = 0; i < kDeckSize; ++i) hands[i / kHandSize][i % kHandSize] = deck[(7 * i + 3) % kDeckSize];
    return hands;
}

// The first card of `hand` that the rules allow, taken out of it.
CardCode playFrom(Hand& hand, int led, int trump) {
    for (CardCode& c : hand)
        if (c != kNoCard && cardAllowed(hand, c, led, trump)) {
            const CardCode card = c;
            c = kNoCard;
            return card;
        }
    return kNoCard;
}

void names(Script& s) {
    for (const char* name : {"Mari", "Jaan", "Liis"}) s.block(nameBlock(name));
}

// Names, a deal, an auction the local player wins with 6, a trump choice,
// nine tricks with the lead going round, and the result.
Script wholeDeal() {
    Script s;
    auto hands = dealtHands();
    names(s);
    s.block(dealBlock(hands[0]));
    s.block(bidReportBlock(0, 5));
    s.text("ok");
    s.bid(6);
    for (auto [slot, bid] : {std::pair{1, 6}, {2, 0}, {3, 0}, {0, 0}}) s.block(bidReportBlock(slot, bid));
    s.text("trump");
    int suit = kClubs;
    while (suit != kDiamonds && !trumpChoiceAllowed(s.hand(), suit, 6)) --suit;
    s.chooseTrump(suit);
    s.next(suit);
    for (int t = 0; t < kHandSize; ++t) {
        const int leader = (t * 3 + 1) % kSeats;
        for (int k = 0; k < kSeats; ++k) {
            const int seat = (leader + k) % kSeats;
            if (seat == 0) s.playOwnCard();
            else s.report(seat, playFrom(hands[seat], s.ledBy(leader), s.trump()));
        }
    }
    s.block(pointBlock(64, 3, 5));
    return s;
}

// A short deal that ends the game (12 game points), then the next game's
// names and deal on a fresh table.
Script gameOverThenNewDeal() {
    Script s;
    auto hands = dealtHands();
    names(s);
    s.block(dealBlock(hands[0]));
    s.text("ok");
    s.bid(0);
    s.block(bidReportBlock(1, 0));
    s.block(bidReportBlock(2, 10));
    s.next(kDiamonds);
    s.playOwnCard();
    for (int seat = 1; seat < kSeats; ++seat) s.report(seat, playFrom(hands[seat], s.ledBy(0), s.trump()));
    s.block(pointBlock(0, 4, 12));
    s.newConnection();
    names(s);
    s.block(dealBlock(hands[2]));
    s.text("ok");
    return s;
}

// A name message that fills its block with no NUL: the name is cut to the
// longest one a name message can carry.
Script nameFillsBlock() {
    Script s;
    Block block{};
    std::fill(block.begin(), block.end(), 'x');
    std::copy_n("name ", 5, block.begin());
    s.block(block);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::pair<const char*, Script> seeds[] = {
        {"whole_deal", wholeDeal()},
        {"game_over_then_new_deal", gameOverThenNewDeal()},
        {"name_fills_block", nameFillsBlock()},
    };
    for (const auto& [name, script] : seeds)
        if (!script.write(dir + "/" + name)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name);
            return 1;
        }
    return 0;
}

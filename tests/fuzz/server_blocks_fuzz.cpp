// Feeds arbitrary runs of server blocks, mixed with the local player's
// clicks and buttons, through the client's receive path: classify by phase,
// parse, change the table state. After every step the table must still be
// one that the window can paint and the rules can judge; anything else
// aborts with the broken condition. See steps.h for the input format.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "geometry.h"
#include "protocol.h"
#include "rules.h"
#include "steps.h"
#include "table.h"

#define FUZZ_BROKEN "table state broken"

namespace {

using namespace lerva;
using namespace lerva::fuzz;


// What the table window keeps of a game, without the window.
struct Table {
    int phase = 0;  // 0 waiting for a deal, 1 bidding, 2 play
    Hand hand{};
    CardCounts counts{};
    Trick trick{};
    Bids bids{};
    int trump = 0;
    bool bidTurn = false;
    bool trumpButtons = false;
    bool playTurn = false;
    std::array<std::optional<std::string>, 3> names;
};

// One block from the server, as the receive loop hands it to the table.
void receive(Table& t, const Block& block) {
    switch (classify(t.phase, block)) {
    case ServerMessage::Name: {
        // The first three names are kept, in arrival order.
        const auto free = std::find(t.names.begin(), t.names.end(), std::nullopt);
        if (free != t.names.end()) *free = parseName(block);
        break;
    }
    case ServerMessage::Deal:
        takeDeal(block, t.hand, t.counts);
        t.phase = 1;
        break;
    case ServerMessage::Okc:
        t.playTurn = true;
        break;
    case ServerMessage::Next:
        if (const auto suit = parseNext(block)) {
            t.phase = 2;
            t.trump = *suit;
            t.trumpButtons = false;
            t.bids.fill(0);
            t.bidTurn = false;
        }
        break;
    case ServerMessage::Trump:
        t.bidTurn = false;
        t.trumpButtons = true;
        break;
    case ServerMessage::Ok:
        t.bidTurn = true;
        break;
    case ServerMessage::BidReport:
        if (const auto report = parseBidReport(block)) t.bids[report->slot] = static_cast<std::int16_t>(report->bid);
        break;
    case ServerMessage::Point: {
        // The result is shown and the table emptied; when the game is over
        // the connection ends, and the next one starts from an empty table.
        const Points points = parsePoints(block);
        (void)points;
        t = Table{};
        break;
    }
    case ServerMessage::CardReport:
        if (const auto report = parseCardReport(block))
            if (placeCard(*report, t.trick, t.counts)) t.trick.fill(kNoCard);
        break;
    }
}

// One click or button press of the local player.
void move(Table& t, std::uint8_t tag, Input& in) {
    switch (moveOf(tag)) {
    case Move::Click: {
        const int x = clickX(in.next());
        const int y = clickY(in.next());
        if (!t.playTurn) return;
        const int slot = handSlotAt(x, y, t.counts[0]);
        if (slot < 0) return;
        REQUIRE(slot < t.counts[0]);
        const CardCode card = t.hand[slot];
        if (!cardAllowed(t.hand, card, ledSuit(t.trick, t.trump), t.trump)) return;
        // The card the client sends is one the server reads back.
        REQUIRE(parseCardPlay(cardPlayBlock(card)) == card);
        const int before = t.counts[0];
        takeFromHand(t.hand, t.counts, slot);
        REQUIRE(t.counts[0] == before - 1);
        t.playTurn = false;
        break;
    }
    case Move::Bid: {
        const int bid = bidButton(in.next());
        if (!t.bidTurn || !bidAllowed(bid, t.bids)) return;
        REQUIRE(parseBid(bidBlock(bid)) == bid);
        t.bidTurn = false;
        break;
    }
    case Move::Trump: {
        const int suit = trumpButton(in.next());
        if (!t.trumpButtons) return;
        if (suit != kDiamonds && !trumpChoiceAllowed(t.hand, suit, t.bids[1])) return;
        REQUIRE(parseTrumpChoice(trumpChoiceBlock(suit)) == suit);
        t.trumpButtons = false;
        break;
    }
    }
}

void checkTable(const Table& t) {
    REQUIRE(t.phase >= 0 && t.phase <= 2);
    for (int count : t.counts) REQUIRE(count <= kHandSize);  // a wrapped count is 65535

    // The cards fill the first counts[0] slots, in display order.
    const int own = t.counts[0];
    for (int slot = 0; slot < kHandSize; ++slot)
        REQUIRE(slot < own ? isValidCard(t.hand[slot]) : t.hand[slot] == kNoCard);
    Hand resorted = t.hand;
    sortHand(resorted);
    REQUIRE(resorted == t.hand);

    // A player whose turn it is always has a card to play.
    if (t.playTurn && own > 0) {
        const int led = ledSuit(t.trick, t.trump);
        REQUIRE(std::any_of(t.hand.begin(), t.hand.begin() + own,
                            [&](CardCode c) { return cardAllowed(t.hand, c, led, t.trump); }));
    }

    // A full trick is cleared as soon as its fourth card is shown.
    for (CardCode card : t.trick) REQUIRE(card == kNoCard || isValidCard(card));
    REQUIRE(std::count(t.trick.begin(), t.trick.end(), kNoCard) > 0);

    for (int bid : t.bids) REQUIRE(bid >= -1 && bid <= 10);
    REQUIRE(t.trump >= 0 && t.trump <= 4);
    for (const auto& name : t.names) REQUIRE(!name || name->size() <= kMaxRelayedName);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    Table table;
    while (!in.done()) {
        const std::uint8_t tag = in.next();
        if (tag <= kLongestBlockTag) {
            Block block{};
            for (int i = 0; i < tag; ++i) block[i] = static_cast<char>(in.next());
            receive(table, block);
        } else {
            move(table, tag, in);
        }
        checkTable(table);
    }
    return 0;
}

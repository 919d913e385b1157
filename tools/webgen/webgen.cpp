// lerva-webgen: writes what the web table needs to know of the game from
// core/, so that the page and the Windows client follow one definition:
//
//   lerva-webgen ROOT     web/js/generated.js    the texts, the hand order and
//                                                the rules' facts as tables
//                         tests/web/rule_cases.json  situations with core's
//                                                answers, which the page's
//                                                rules are tested against
//
// Both files are committed; a test checks that they are up to date.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cards.h"
#include "rules.h"
#include "texts.h"

namespace {

using namespace lerva;

std::string quoted(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p; ++p) {
        if (*p == '"' || *p == '\\') out += '\\';
        if (*p == '\n') out += "\\n";
        else out += *p;
    }
    return out + "\"";
}

template <typename Items, typename Show>
std::string list(const Items& items, Show show) {
    std::string out = "[";
    for (const auto& item : items) out += (out.size() > 1 ? ", " : "") + show(item);
    return out + "]";
}
std::string numbers(const std::vector<int>& items) {
    return list(items, [](int n) { return std::to_string(n); });
}

// The display order of all 36 cards, from sortHand itself: of two cards,
// the one sortHand puts first comes first.
std::vector<int> handOrder() {
    auto deck = fullDeck();
    std::vector<int> order(deck.begin(), deck.end());
    std::stable_sort(order.begin(), order.end(), [](int a, int b) {
        Hand pair{};
        pair[0] = CardCode(b);
        pair[1] = CardCode(a);
        sortHand(pair);
        return pair[0] == a && a != b;
    });
    return order;
}

std::string textsObject() {
    std::ostringstream out;
    out << "export const TEXTS = Object.freeze({\n";
    const std::pair<const char*, const char*> all[] = {
        {"connected", texts::kConnected}, {"waitingForOthers", texts::kWaitingForOthers},
        {"gameStarted", texts::kGameStarted}, {"biddingStarted", texts::kBiddingStarted},
        {"chooseTrump", texts::kChooseTrump}, {"youPassed", texts::kYouPassed}, {"youBid", texts::kYouBid},
        {"youBidDiamonds", texts::kYouBidDiamonds}, {"bidHigher", texts::kBidHigher},
        {"cardRefused", texts::kCardRefused}, {"connectionLost", texts::kConnectionLost},
        {"gameBroken", texts::kGameBroken}, {"yourBid", texts::kYourBid}, {"yourPlay", texts::kYourPlay},
        {"trumpLabel", texts::kTrumpLabel}, {"passedLabel", texts::kPassedLabel}, {"bidLabel", texts::kBidLabel},
        {"diamondsBidLabel", texts::kDiamondsBidLabel}, {"connect", texts::kConnect},
        {"disconnect", texts::kDisconnect}, {"resultsCaption", texts::kResultsCaption},
        {"dealWon", texts::kDealWon}, {"dealLost", texts::kDealLost}, {"gameScore", texts::kGameScore},
        {"gameWon", texts::kGameWon}, {"gameLost", texts::kGameLost}, {"passButton", texts::kPassButton},
        {"topBidButton", texts::kTopBidButton},
    };
    for (const auto& [key, text] : all) out << "    " << key << ": " << quoted(text) << ",\n";
    out << "    trumpRefused: [null, null, " << quoted(texts::kTrumpRefused[2]) << ", "
        << quoted(texts::kTrumpRefused[3]) << ", " << quoted(texts::kTrumpRefused[4]) << "],\n";
    out << "    suitNames: [null, " << quoted(texts::kSuitNames[1]) << ", " << quoted(texts::kSuitNames[2]) << ", "
        << quoted(texts::kSuitNames[3]) << ", " << quoted(texts::kSuitNames[4]) << "],\n";
    out << "});\n";
    return out.str();
}

// By trump suit 1..4 (index 0 unused): the cards that are trumps, and for
// each led suit the cards that follow it.
std::string suitTables() {
    const auto deck = fullDeck();
    auto cardsWhere = [&](auto pred) {
        std::vector<int> cards;
        for (CardCode c : deck)
            if (pred(c)) cards.push_back(c);
        return cards;
    };
    std::string trumps = "export const TRUMPS = [[]", followers = "export const FOLLOWERS = [[]";
    for (int trump = 1; trump <= 4; ++trump) {
        trumps += ", " + numbers(cardsWhere([&](CardCode c) { return isTrump(c, trump); }));
        followers += ", [[]";
        for (int led = 1; led <= 4; ++led)
            followers += ", " + numbers(cardsWhere([&](CardCode c) { return followsLed(c, led, trump); }));
        followers += "]";
    }
    return trumps + "];\n" + followers + "];\n";
}

// The lowest numeric bid allowed for every standing bid of the left (slot
// 0), right (slot 2) and opposite (slot 3) players, each -1..10: at
// (b0 + 1) * 144 + (b2 + 1) * 12 + (b3 + 1); 10 when no numeric bid is.
std::string minimumBids() {
    std::vector<int> lowest;
    for (int b0 = -1; b0 <= 10; ++b0)
        for (int b2 = -1; b2 <= 10; ++b2)
            for (int b3 = -1; b3 <= 10; ++b3) {
                const Bids bids{std::int16_t(b0), 0, std::int16_t(b2), std::int16_t(b3)};
                int bid = 1;
                while (bid <= 9 && !bidAllowed(bid, bids)) ++bid;
                lowest.push_back(bid);
            }
    return "export const MIN_BID = " + numbers(lowest) + ";\n";
}

std::string generatedModule() {
    return "// Generated by tools/webgen from core/ (texts.h, rules.h); do not edit.\n"
           "// The hand order, the texts and the rules' facts of the Windows client.\n\n" +
           textsObject() + "\n// All 36 cards in the order a hand shows them.\nexport const HAND_ORDER = " +
           numbers(handOrder()) + ";\n\n" + suitTables() + "\n" + minimumBids();
}

// Situations for the page's rules, with core's answers.
class Cases {
public:
    std::string json() {
        std::string sorts, cards, trumps, bids;
        for (int i = 0; i < 200; ++i) {
            Hand hand = randomHand(1 + int(next() % 9));
            Hand sorted = hand;
            sortHand(sorted);
            sorts += (i ? ",\n    " : "") + std::string("{\"hand\": ") + cardList(hand) + ", \"shown\": " + cardList(sorted) + "}";
        }
        for (int i = 0; i < 400; ++i) {
            const int trump = 1 + int(next() % 4);
            Hand hand = randomHand(1 + int(next() % 9));
            Trick trick{};
            const int before = int(next() % 4);   // cards before the player's turn, on seats 3, 2, 1
            for (int k = 0; k < before; ++k) trick[3 - k] = randomCard();
            const CardCode card = hand[next() % 9 % std::max<std::size_t>(1, count(hand))];
            const bool allowed = cardAllowed(hand, card, ledSuit(trick, trump), trump);
            cards += (i ? ",\n    " : "") + std::string("{\"hand\": ") + cardList(hand) + ", \"trick\": " +
                     numbers({trick[0], trick[1], trick[2], trick[3]}) + ", \"trump\": " + std::to_string(trump) +
                     ", \"card\": " + std::to_string(card) + ", \"allowed\": " + (allowed ? "true" : "false") + "}";
        }
        for (int i = 0; i < 200; ++i) {
            Hand hand = randomHand(9);
            const int suit = 1 + int(next() % 4), bid = 1 + int(next() % 10);
            trumps += (i ? ",\n    " : "") + std::string("{\"hand\": ") + cardList(hand) + ", \"suit\": " +
                      std::to_string(suit) + ", \"bid\": " + std::to_string(bid) + ", \"allowed\": " +
                      (trumpChoiceAllowed(hand, suit, bid) ? "true" : "false") + "}";
        }
        for (int i = 0; i < 300; ++i) {
            Bids standing{};
            for (auto& b : standing) b = std::int16_t(int(next() % 12) - 1);
            const int bid = int(next() % 11);
            bids += (i ? ",\n    " : "") + std::string("{\"bids\": ") +
                    numbers({standing[0], standing[1], standing[2], standing[3]}) + ", \"bid\": " +
                    std::to_string(bid) + ", \"allowed\": " + (bidAllowed(bid, standing) ? "true" : "false") + "}";
        }
        return "{\n  \"sortHand\": [\n    " + sorts + "],\n  \"cardAllowed\": [\n    " + cards +
               "],\n  \"trumpChoiceAllowed\": [\n    " + trumps + "],\n  \"bidAllowed\": [\n    " + bids + "]\n}\n";
    }

private:
    std::uint64_t state_ = 20;
    std::uint64_t next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return state_ >> 33;
    }
    CardCode randomCard() { return fullDeck()[next() % kDeckSize]; }
    Hand randomHand(int size) {
        auto deck = fullDeck();
        for (int i = kDeckSize - 1; i > 0; --i) std::swap(deck[i], deck[next() % (i + 1)]);
        Hand hand{};
        std::copy_n(deck.begin(), size, hand.begin());
        return hand;
    }
    static std::size_t count(const Hand& hand) {
        return std::size_t(std::count_if(hand.begin(), hand.end(), [](CardCode c) { return c != kNoCard; }));
    }
    static std::string cardList(const Hand& hand) {
        std::vector<int> cards;
        for (CardCode c : hand)
            if (c != kNoCard) cards.push_back(c);
        return numbers(cards);
    }
};

void write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lerva-webgen ROOT\n");
        return 2;
    }
    try {
        const std::string root = argv[1];
        write(root + "/web/js/generated.js", generatedModule());
        write(root + "/tests/web/rule_cases.json", Cases().json());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lerva-webgen: %s\n", error.what());
        return 1;
    }
    return 0;
}

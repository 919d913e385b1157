#include "messages.h"

#include <algorithm>
#include <cctype>

namespace lerva {

namespace {
constexpr const char* kNameless = "Nimetu";   // what a player who sent no name is called
}  // namespace

std::string cleanName(std::string_view raw) {
    std::string name;
    for (char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) continue;
        if (name.size() == kMaxRelayedName) break;
        name += c;
    }
    return name.empty() ? std::string(kNameless) : name;
}

std::string computerPlayerName(int seat) { return "Arvuti " + std::to_string(seat + 1); }

bool readsAsComputerPlayer(std::string_view name) {
    // Case, spaces and punctuation aside, "Arvuti" and digits: "arvuti2" or
    // "ARVUTI  2" would read the same on the table.
    std::string letters;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte == 0xa0 || byte == '_' || byte == '-' || byte == '.') continue;
        letters += static_cast<char>(std::tolower(byte));
    }
    constexpr std::string_view prefix = "arvuti";
    if (!letters.starts_with(prefix)) return false;
    return std::all_of(letters.begin() + prefix.size(), letters.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

ClaimedName claimName(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    const auto hash = raw.find('#');
    ClaimedName claimed;
    claimed.shown = cleanName(raw.substr(0, hash));
    if (hash != raw.npos) claimed.secret = std::string(raw.substr(hash + 1));
    claimed.nameless = claimed.shown == kNameless;
    if (readsAsComputerPlayer(claimed.shown)) {
        constexpr std::string_view person = " (inimene)";
        claimed.shown.resize(std::min(claimed.shown.size(), kMaxRelayedName - person.size()));
        claimed.shown += person;
    }
    return claimed;
}

void appendDealStart(int receiver, const SeatNames& names, const Hand& hand,
                     std::vector<Block>& out) {
    for (int offset = 1; offset < kSeats; ++offset)   // left, opposite, right
        out.push_back(nameBlock(names[(receiver + offset) % kSeats]));
    out.push_back(dealBlock(hand));
}

void appendBlocksFor(int receiver, const Event& event, std::vector<Block>& out) {
    const bool toMe = event.seat == receiver;
    switch (event.kind) {
    case Event::Kind::AskBid:
        if (toMe) out.push_back(okBlock());
        break;
    case Event::Kind::BidMade:
        out.push_back(bidReportBlock(bidSlotOfSeat(relativeSeat(receiver, event.seat)), event.value));
        break;
    case Event::Kind::AskTrump:
        if (toMe) out.push_back(trumpBlock());
        break;
    case Event::Kind::TrumpSet:
        out.push_back(nextBlock(event.value));
        break;
    case Event::Kind::AskCard:
        if (toMe) out.push_back(okcBlock());
        break;
    case Event::Kind::CardPlayed:
        out.push_back(cardReportBlock(relativeSeat(receiver, event.seat),
                                      static_cast<CardCode>(event.value)));
        break;
    case Event::Kind::DealScored: {
        const int team = teamOf(receiver);
        out.push_back(pointBlock(event.cardPoints[team], event.totals[team], event.totals[1 - team]));
        break;
    }
    case Event::Kind::DealStarted:
    case Event::Kind::TrickTaken:
    case Event::Kind::GameOver:
        break;
    }
}

}  // namespace lerva

#include "messages.h"

namespace lerva {

std::string cleanName(std::string_view raw) {
    std::string name;
    for (char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) continue;
        if (name.size() == kMaxRelayedName) break;
        name += c;
    }
    return name.empty() ? std::string("Nimetu") : name;
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

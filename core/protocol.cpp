#include "protocol.h"

#include <algorithm>
#include <cstring>

namespace lerva {

std::string_view blockText(const Block& block) {
    const auto* end = std::find(block.begin(), block.end(), '\0');
    return {block.data(), static_cast<std::size_t>(end - block.begin())};
}

Block textBlock(std::string_view text) {
    Block block{};
    const std::size_t n = std::min(text.size(), kMaxBlockText);
    std::memcpy(block.data(), text.data(), n);
    return block;
}

// ---- Client to server -----------------------------------------------------

Block userNameBlock(std::string_view name) { return textBlock(name); }

Block joinBlock() { return textBlock("join"); }

Block bidBlock(int bid) { return textBlock("bid  " + std::to_string(bid)); }

Block trumpChoiceBlock(int suit) { return textBlock("next " + std::to_string(suit)); }

Block cardPlayBlock(CardCode card) {
    Block block = textBlock("scard");
    block[5] = static_cast<char>(card);
    return block;
}

std::string parseUserName(const Block& block) { return std::string(blockText(block)); }

bool isJoin(const Block& block) { return blockText(block) == "join"; }

std::optional<int> parseBid(const Block& block) {
    const std::string_view text = blockText(block);
    if (text == "bid  10") return 10;
    if (text.size() == 6 && text.substr(0, 5) == "bid  " && text[5] >= '0' && text[5] <= '9')
        return text[5] - '0';
    return std::nullopt;
}

std::optional<int> parseTrumpChoice(const Block& block) {
    const std::string_view text = blockText(block);
    if (text.size() == 6 && text.substr(0, 5) == "next " && isValidSuit(text[5] - '0'))
        return text[5] - '0';
    return std::nullopt;
}

std::optional<CardCode> parseCardPlay(const Block& block) {
    if (std::memcmp(block.data(), "scard", 5) != 0) return std::nullopt;
    const int card = static_cast<unsigned char>(block[5]);
    if (!isValidCard(card)) return std::nullopt;
    return static_cast<CardCode>(card);
}

// ---- Server to client -----------------------------------------------------

Block nameBlock(std::string_view name) {
    return textBlock(std::string("name ").append(name.substr(0, kMaxRelayedName)));
}

Block dealBlock(const Hand& hand) {
    std::string digits;
    for (CardCode card : hand) {
        digits += static_cast<char>('0' + card / 10 % 10);
        digits += static_cast<char>('0' + card % 10);
    }
    return textBlock(digits);
}

Block okBlock() { return textBlock("ok"); }

Block bidReportBlock(int bidSlot, int bid) {
    Block block{};
    block[0] = static_cast<char>('0' + bidSlot);
    block[1] = ' ';
    block[2] = static_cast<char>('0' + bid);
    return block;
}

Block trumpBlock() { return textBlock("trump"); }

Block nextBlock(int suit) { return trumpChoiceBlock(suit); }

Block okcBlock() { return textBlock("okc"); }

Block cardReportBlock(int seat, CardCode card) {
    Block block{};
    block[0] = static_cast<char>('0' + seat);
    block[1] = ' ';
    block[2] = static_cast<char>(card);
    return block;
}

Block pointBlock(int ownCardPoints, int ownGamePoints, int otherGamePoints) {
    Block block = textBlock("point");
    block[5] = static_cast<char>(static_cast<signed char>(ownCardPoints));
    block[6] = static_cast<char>(static_cast<signed char>(ownGamePoints));
    block[7] = static_cast<char>(static_cast<signed char>(otherGamePoints));
    return block;
}

// ---- Recognising the server's messages ------------------------------------

ServerMessage classify(int phase, const Block& block) {
    const std::string_view text = blockText(block);
    auto has = [&](std::string_view keyword) { return text.find(keyword) != text.npos; };
    switch (phase) {
    case 0:
        return has("name") ? ServerMessage::Name : ServerMessage::Deal;
    case 1:
        if (has("okc")) return ServerMessage::Okc;
        if (has("next")) return ServerMessage::Next;
        if (has("trump")) return ServerMessage::Trump;
        if (has("ok")) return ServerMessage::Ok;
        return ServerMessage::BidReport;
    default:
        if (has("okc")) return ServerMessage::Okc;
        if (has("point")) return ServerMessage::Point;
        return ServerMessage::CardReport;
    }
}

std::optional<std::string> parseName(const Block& block) {
    const std::string_view text = blockText(block);
    if (text.size() < 5) return std::nullopt;
    // A block with no NUL holds one byte more than the longest name a name
    // message carries; that byte is not part of the name.
    return std::string(text.substr(5, kMaxRelayedName));
}

Hand parseDeal(const Block& block) {
    Hand hand{};
    for (int i = 0; i < kHandSize; ++i) {
        const int tens = block[2 * i] - '0';
        const int units = block[2 * i + 1] - '0';
        const bool digits = tens >= 0 && tens <= 9 && units >= 0 && units <= 9;
        const int code = 10 * tens + units;
        hand[i] = digits && isValidCard(code) ? static_cast<CardCode>(code) : kNoCard;
    }
    return hand;
}

std::optional<BidReport> parseBidReport(const Block& block) {
    const int slot = block[0] - '0';
    const int value = block[2] - '0';
    if (slot < 0 || slot >= kSeats || value < 0 || value > 10) return std::nullopt;
    return BidReport{slot, value == 0 ? -1 : value};
}

std::optional<int> parseNext(const Block& block) {
    const int suit = block[5] - '0';
    if (!isValidSuit(suit)) return std::nullopt;
    return suit;
}

std::optional<CardReport> parseCardReport(const Block& block) {
    const int seat = block[0] - '0';
    const int card = static_cast<signed char>(block[2]);
    if (seat < 0 || seat >= kSeats || !isValidCard(card)) return std::nullopt;
    return CardReport{seat, static_cast<CardCode>(card)};
}

Points parsePoints(const Block& block) {
    auto byteAt = [&](int i) { return static_cast<int>(static_cast<signed char>(block[i])); };
    return Points{byteAt(5), byteAt(6), byteAt(7)};
}

}  // namespace lerva

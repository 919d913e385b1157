#include "scripted_client.h"

#include <algorithm>

namespace lerva::test {

ScriptedClient::ScriptedClient(unsigned short port, std::string name, const std::string& from)
    : socket_(io_), name_(std::move(name)) {
    socket_.open(asio::ip::tcp::v4());
    socket_.bind({asio::ip::make_address(from), 0});
    socket_.connect({asio::ip::make_address("127.0.0.1"), port});
    socket_.set_option(asio::ip::tcp::no_delay(true));
}

void ScriptedClient::join() {
    send(userNameBlock(name_));
    send(joinBlock());
}

void ScriptedClient::send(const Block& block) {
    error_code ignored;
    asio::write(socket_, asio::buffer(block), ignored);
}

std::optional<Block> ScriptedClient::receive(Millis timeout) {
    if (closed_) return std::nullopt;
    Block block{};
    error_code result = asio::error::would_block;
    asio::async_read(socket_, asio::buffer(block), [&](error_code error, std::size_t) { result = error; });
    io_.restart();
    io_.run_for(timeout);
    if (!io_.stopped()) {   // timed out: cancel the read and let it finish
        socket_.cancel();
        io_.restart();
        io_.run();
        return std::nullopt;
    }
    if (result) {
        closed_ = true;
        return std::nullopt;
    }
    return block;
}

bool ScriptedClient::waitForClose(Millis timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!closed_) {
        const auto left = std::chrono::duration_cast<Millis>(until - std::chrono::steady_clock::now());
        if (left <= Millis(0)) return false;
        receive(left);
    }
    return true;
}

void ScriptedClient::disconnect() {
    error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    closed_ = true;
}

bool ScriptedClient::playUntil(const std::function<bool()>& done, Millis quiet) {
    while (!done()) {
        const auto block = receive(quiet);
        if (!block) return done();
        handle(*block);
        if (afterEach_ && !closed_) afterEach_(*this);
    }
    return true;
}

bool ScriptedClient::playGame(Millis quiet) {
    return playUntil([this] { return gameOver_; }, quiet);
}

void ScriptedClient::handle(const Block& block) {
    if (table_.phase == 0 && (deals_.empty() || deals_.back().points)) deals_.emplace_back();
    DealLog& deal = deals_.back();
    deal.received.push_back(block);
    switch (classify(table_.phase, block)) {
    case ServerMessage::Name:
        if (const auto name = parseName(block)) {
            if (table_.names.size() < 3) table_.names.push_back(*name);
            deal.names.push_back(*name);
        }
        break;
    case ServerMessage::Deal:
        deal.dealt = parseDeal(block);
        table_.hand.assign(deal.dealt.begin(), deal.dealt.end());
        if (std::count(table_.hand.begin(), table_.hand.end(), kNoCard) != 0) problem("deal with a bad card");
        if (deal.names.size() != 3) problem("deal after " + std::to_string(deal.names.size()) + " names");
        table_.phase = 1;
        break;
    case ServerMessage::Ok:
        ++deal.okCount;
        answer(ServerMessage::Ok);
        break;
    case ServerMessage::BidReport:
        if (const auto report = parseBidReport(block)) {
            table_.bids[report->slot] = static_cast<std::int16_t>(report->bid);
            deal.bids.push_back(*report);
        } else {
            problem("bad bid report");
        }
        break;
    case ServerMessage::Trump:
        ++deal.trumpCount;
        answer(ServerMessage::Trump);
        break;
    case ServerMessage::Next:
        table_.trump = parseNext(block).value_or(0);
        deal.trump = table_.trump;
        table_.bids = {};
        table_.phase = 2;
        break;
    case ServerMessage::Okc:
        ++deal.okcCount;
        answer(ServerMessage::Okc);
        break;
    case ServerMessage::CardReport: {
        const auto report = parseCardReport(block);
        if (!report) { problem("bad card report"); break; }
        deal.cards.push_back(*report);
        if (report->seat == 0) {
            // Our own card comes back; one a bot played for us leaves the hand now.
            if (lastPlayed_ == report->card) lastPlayed_.reset();
            else if (auto it = std::find(table_.hand.begin(), table_.hand.end(), report->card); it != table_.hand.end())
                table_.hand.erase(it);
            else problem("seat 0 played a card this client never held");
        }
        if (table_.trick[report->seat] != kNoCard) problem("two cards from one seat in a trick");
        table_.trick[report->seat] = report->card;
        if (++table_.cardsOnTable == kSeats) {
            table_.trick = {};
            table_.cardsOnTable = 0;
        }
        break;
    }
    case ServerMessage::Point: {
        const Points points = parsePoints(block);
        deal.points = points;
        if (!table_.hand.empty() || table_.cardsOnTable != 0) problem("point before the deal was played out");
        if (points.ownCardPoints < 0 || points.ownCardPoints > 120) problem("card points out of range");
        table_ = ClientTable{};
        if (points.ownGamePoints >= 12 || points.otherGamePoints >= 12) {
            gameOver_ = true;
            disconnect();
        }
        break;
    }
    }
}

void ScriptedClient::answer(ServerMessage ask) {
    const Reply reply = answer_ ? answer_(ask, table_) : Reply::usual();
    if (reply.kind == Reply::Kind::Send) send(reply.block);
    else if (reply.kind == Reply::Kind::Usual) send(usualAnswer(ask));
}

Block ScriptedClient::usualAnswer(ServerMessage ask) {
    Hand hand{};
    std::copy_n(table_.hand.begin(), std::min<std::size_t>(table_.hand.size(), kHandSize), hand.begin());
    auto trumpsFor = [&](int suit) {
        return std::count_if(table_.hand.begin(), table_.hand.end(), [&](CardCode c) { return isTrump(c, suit); });
    };
    int best = kDiamonds;
    for (int suit = kHearts; suit <= kClubs; ++suit)
        if (trumpsFor(suit) > trumpsFor(best)) best = suit;

    switch (ask) {
    case ServerMessage::Ok: {
        // Bid up to the trumps of the best suit when there are five or more.
        const int limit = trumpsFor(best) >= 5 ? static_cast<int>(trumpsFor(best)) : 0;
        for (int bid = 1; bid <= limit; ++bid)
            if (bidAllowed(bid, table_.bids)) return bidBlock(bid);
        return bidBlock(0);
    }
    case ServerMessage::Trump: {
        int suit = kDiamonds;
        for (int s = kHearts; s <= kClubs; ++s)
            if (trumpChoiceAllowed(hand, s, table_.bids[1]) && trumpsFor(s) > trumpsFor(suit)) suit = s;
        return trumpChoiceBlock(suit);
    }
    default: {
        const int led = ledSuit(table_.trick, table_.trump);
        for (auto it = table_.hand.begin(); it != table_.hand.end(); ++it) {
            if (!cardAllowed(hand, *it, led, table_.trump)) continue;
            const CardCode card = *it;
            table_.hand.erase(it);
            lastPlayed_ = card;
            return cardPlayBlock(card);
        }
        problem("no card to play");
        return cardPlayBlock(kNoCard);
    }
    }
}

}  // namespace lerva::test

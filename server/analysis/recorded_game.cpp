#include "recorded_game.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "record_replay.h"

namespace lerva::analysis {

namespace {

using nlohmann::json;

// Reads the fields of one line, each one checked for its kind and range.
class LineReader {
public:
    LineReader(const json& object, int line) : object_(object), line_(line) {}

    [[noreturn]] void fail(const std::string& what) const { throw RecordError(line_, what); }

    const json& field(const char* key) const {
        const auto found = object_.find(key);
        if (found == object_.end()) fail(std::string("no \"") + key + "\"");
        return *found;
    }
    bool has(const char* key) const { return object_.contains(key); }

    long long integer(const json& value, const char* what, long long low, long long high) const {
        if (!value.is_number_integer()) fail(std::string("\"") + what + "\" is not a whole number");
        const long long number = value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX
                                     ? high + 1
                                     : value.get<long long>();
        if (number < low || number > high)
            fail(std::string("\"") + what + "\" is " + value.dump() + ", not " + std::to_string(low) +
                 ".." + std::to_string(high));
        return number;
    }
    int integer(const char* key, int low, int high) const {
        return static_cast<int>(integer(field(key), key, low, high));
    }
    std::uint64_t unsignedInteger(const char* key) const {
        const json& value = field(key);
        if (!value.is_number_unsigned() && !(value.is_number_integer() && value.get<long long>() >= 0))
            fail(std::string("\"") + key + "\" is not a whole number of 0 or more");
        return value.get<std::uint64_t>();
    }
    bool boolean(const char* key) const {
        const json& value = field(key);
        if (!value.is_boolean()) fail(std::string("\"") + key + "\" is not true or false");
        return value.get<bool>();
    }
    const json& array(const json& value, const char* what, std::size_t minSize, std::size_t maxSize) const {
        if (!value.is_array() || value.size() < minSize || value.size() > maxSize)
            fail(std::string("\"") + what + "\" is not a list of " +
                 (minSize == maxSize ? std::to_string(minSize) : std::to_string(minSize) + ".." + std::to_string(maxSize)));
        return value;
    }
    const json& array(const char* key, std::size_t minSize, std::size_t maxSize) const {
        return array(field(key), key, minSize, maxSize);
    }
    CardCode card(const json& value, const char* what) const {
        const int code = static_cast<int>(integer(value, what, 0, 99));
        if (!isValidCard(code)) fail(std::string("\"") + what + "\" holds " + std::to_string(code) + ", which is no card");
        return static_cast<CardCode>(code);
    }
    SeatNames names() const {
        SeatNames names;
        const json& list = array("names", kSeats, kSeats);
        for (int seat = 0; seat < kSeats; ++seat) {
            if (!list[seat].is_string()) fail("a name is not a string");
            names[seat] = list[seat].get<std::string>();
        }
        return names;
    }
    std::array<int, kTeams> pair(const char* key, int high) const {
        const json& list = array(key, kTeams, kTeams);
        return {static_cast<int>(integer(list[0], key, 0, high)), static_cast<int>(integer(list[1], key, 0, high))};
    }
    int line() const { return line_; }

private:
    const json& object_;
    int line_;
};

// Far above any real game; the replay checks the exact sums.
constexpr int kMaxGamePoints = 1000000;

RecordedTrick readTrick(const LineReader& in, const json& trick) {
    if (!trick.is_object()) in.fail("a trick is not an object");
    const LineReader t(trick, in.line());
    RecordedTrick out;
    out.leader = t.integer("leader", 0, kSeats - 1);
    const json& cards = t.array("cards", kSeats, kSeats);
    for (int i = 0; i < kSeats; ++i) out.cards[i] = t.card(cards[i], "cards");
    out.winner = t.integer("winner", 0, kSeats - 1);
    out.points = t.integer("points", 0, kDealCardPoints);
    return out;
}

RecordedDeal readDeal(const LineReader& in) {
    RecordedDeal deal;
    deal.line = in.line();
    deal.number = in.integer("deal", 1, 1000000);
    deal.dealer = in.integer("dealer", 0, kSeats - 1);
    deal.names = in.names();
    const json& hands = in.array("hands", kSeats, kSeats);
    for (int seat = 0; seat < kSeats; ++seat) {
        const json& hand = in.array(hands[seat], "hands", kHandSize, kHandSize);
        for (int i = 0; i < kHandSize; ++i) deal.hands[seat][i] = in.card(hand[i], "hands");
    }
    for (const json& bid : in.array("bids", 1, 200)) {
        if (!bid.is_object()) in.fail("a bid is not an object");
        const LineReader b(bid, in.line());
        deal.bids.push_back({b.integer("seat", 0, kSeats - 1), b.integer("bid", 0, 10)});
    }
    deal.declarer = in.integer("declarer", 0, kSeats - 1);
    deal.contract = in.integer("contract", 0, 10);
    deal.allPassed = in.boolean("all_passed");
    deal.trump = in.integer("trump", kDiamonds, kClubs);
    for (const json& trick : in.array("tricks", kTricksPerDeal, kTricksPerDeal))
        deal.tricks.push_back(readTrick(in, trick));
    deal.cardPoints = in.pair("card_points", kDealCardPoints);
    deal.gamePoints = in.pair("game_points", 12);
    deal.totals = in.pair("totals", kMaxGamePoints);
    return deal;
}

std::string typeOf(const LineReader& in) {
    const json& type = in.field("type");
    if (!type.is_string()) in.fail("\"type\" is not a string");
    return type.get<std::string>();
}

}  // namespace

RecordedGame readRecord(std::string_view text) {
    RecordedGame game;
    bool ended = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        const json object = json::parse(line, nullptr, false);
        if (object.is_discarded()) throw RecordError(lineNumber, "not a whole JSON line (cut short?)");
        if (!object.is_object()) throw RecordError(lineNumber, "not a JSON object");
        const LineReader in(object, lineNumber);
        const std::string type = typeOf(in);
        if (ended) in.fail("a line after the end line");
        if (lineNumber == 1 && type != "game") in.fail("the record does not begin with its \"game\" line");
        if (type == "game") {
            if (lineNumber != 1) in.fail("a second \"game\" line");
            game.table = in.unsignedInteger("table");
            game.seed = in.unsignedInteger("seed");
            game.names = in.names();
        } else if (type == "deal") {
            game.deals.push_back(readDeal(in));
        } else if (type == "end") {
            ended = true;
            game.abandoned = in.has("abandoned") && in.boolean("abandoned");
            if (in.has("abandoned") && !game.abandoned) in.fail("\"abandoned\" is false");
            game.winnerTeam = game.abandoned ? -1 : in.integer("winner_team", 0, 1);
            game.totals = in.pair("totals", kMaxGamePoints);
            const int deals = in.integer("deals", 0, 1000000);
            const int recorded = static_cast<int>(game.deals.size());
            // An abandoned game may have left a deal unfinished, without its line.
            if (deals != recorded && !(game.abandoned && deals == recorded + 1))
                in.fail("the end line counts " + std::to_string(deals) + " deals, the record holds " +
                        std::to_string(recorded));
        } else {
            in.fail("unknown line type \"" + type + "\"");
        }
    }
    if (lineNumber == 0) throw RecordError(0, "the record is empty");
    if (!ended) throw RecordError(lineNumber, "the record stops without its end line (cut, or the game is still on)");
    replayAndCheck(game);
    return game;
}

std::string describe(const RecordError& error, const std::string& source) {
    return source + (error.line() > 0 ? " line " + std::to_string(error.line()) : std::string()) + ": " + error.what();
}

RecordedGame readRecordFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RecordError(0, "cannot read the file");
    std::ostringstream text;
    text << in.rdbuf();
    return readRecord(text.str());
}

}  // namespace lerva::analysis

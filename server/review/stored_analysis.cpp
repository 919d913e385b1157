#include "stored_analysis.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace lerva::review {

namespace {

constexpr int kFormat = 1;

bool isInt(const nlohmann::json& value) { return value.is_number_integer(); }

bool playAgrees(const nlohmann::json& play, int seat, CardCode card, int next) {
    if (!play.is_object() || !isInt(play.value("seat", nlohmann::json())) ||
        !isInt(play.value("card", nlohmann::json())) || !isInt(play.value("team0_total", nlohmann::json())) ||
        !isInt(play.value("loss", nlohmann::json())) || !play.contains("best") || !play["best"].is_array())
        return false;
    const int loss = play["loss"];
    const int total = play["team0_total"];
    if (play["seat"] != seat || play["card"] != card || loss < 0 ||
        next != total + (teamOf(seat) == 0 ? -loss : loss))
        return false;
    bool cardIsBest = false;
    for (const auto& best : play["best"]) {
        if (!isInt(best) || !isValidCard(best.get<int>())) return false;
        cardIsBest = cardIsBest || best == card;
    }
    return cardIsBest == (loss == 0);
}

}  // namespace

std::filesystem::path storedAnalysisPath(const std::filesystem::path& recordPath) {
    std::filesystem::path path = recordPath;
    return path.replace_extension(".analysis.json");
}

std::string recordFingerprint(const std::string& recordText) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char byte : recordText) hash = (hash ^ byte) * 1099511628211ULL;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

bool agreesWith(const nlohmann::json& deal, const analysis::RecordedDeal& recorded) try {
    if (!deal.is_object() || deal.value("deal", -1) != recorded.number || deal.value("trump", -1) != recorded.trump ||
        deal.value("declarer", -1) != recorded.declarer || deal.value("final", -1) != recorded.cardPoints[0])
        return false;
    const auto plays = deal.find("plays");
    if (plays == deal.end() || !plays->is_array() || plays->size() != kDeckSize) return false;
    for (int i = 0; i < kDeckSize; ++i) {
        const analysis::RecordedTrick& trick = recorded.tricks[i / kSeats];
        const int next = i + 1 < kDeckSize ? (*plays)[i + 1].value("team0_total", -1000) : recorded.cardPoints[0];
        if (!playAgrees((*plays)[i], (trick.leader + i % kSeats) % kSeats, trick.cards[i % kSeats], next))
            return false;
    }
    return true;
} catch (const nlohmann::json::exception&) {
    return false;   // a field of the wrong kind
}

std::optional<nlohmann::json> loadStoredAnalysis(const std::filesystem::path& recordPath,
                                                 const std::string& recordText,
                                                 const analysis::RecordedGame& game) {
    std::ifstream in(storedAnalysisPath(recordPath), std::ios::binary);
    if (!in) return std::nullopt;
    try {
        const nlohmann::json stored = nlohmann::json::parse(in, nullptr, false);
        if (!stored.is_object() || stored.value("format", 0) != kFormat ||
            stored.value("record", std::string()) != recordFingerprint(recordText))
            return std::nullopt;
        const auto deals = stored.find("deals");
        if (deals == stored.end() || !deals->is_array() || deals->size() != game.deals.size()) return std::nullopt;
        for (std::size_t i = 0; i < game.deals.size(); ++i)
            if (!agreesWith((*deals)[i], game.deals[i])) return std::nullopt;
        return *deals;
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;   // a field of the wrong kind
    }
}

bool storeAnalysis(const std::filesystem::path& recordPath, const std::string& recordText,
                   const std::vector<analysis::DealAnalysis>& deals) {
    nlohmann::json stored = {{"format", kFormat}, {"record", recordFingerprint(recordText)},
                             {"deals", nlohmann::json::array()}};
    for (const analysis::DealAnalysis& deal : deals) stored["deals"].push_back(analysis::toJson(deal));
    const std::filesystem::path target = storedAnalysisPath(recordPath);
    std::filesystem::path temporary = target;
    temporary += ".tmp-" + std::to_string(std::random_device{}());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << stored.dump() << '\n';
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace lerva::review

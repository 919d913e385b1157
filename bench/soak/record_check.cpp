#include "record_check.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <vector>

#include "scoring.h"

namespace lerva::soak {

namespace {

void problem(RecordCounts& counts, const std::string& what) {
    ++counts.disagreements;
    if (counts.firstProblem.empty()) counts.firstProblem = what;
}

// The deal's game points by team, from its tricks and contract alone.
std::array<int, kTeams> rederive(const nlohmann::json& deal) {
    std::array<int, kTeams> points{}, tricks{};
    for (const auto& trick : deal.at("tricks")) {
        const int team = teamOf(trick.at("winner").get<int>());
        points[team] += trick.at("points").get<int>();
        ++tricks[team];
    }
    const int declarers = teamOf(deal.at("declarer").get<int>());
    const bool bidTen = deal.at("contract").get<int>() == 10;
    return scoreDeal(declarers, points[declarers], tricks[declarers], bidTen).gamePoints;
}

void checkGame(const std::vector<nlohmann::json>& lines, const std::string& file,
               std::map<std::string, Totals>& sent, RecordCounts& counts) {
    std::array<int, kTeams> sum{};
    for (const auto& line : lines) {
        if (line.at("type") != "deal") continue;
        const auto derived = rederive(line);
        if (derived != line.at("game_points").get<std::array<int, kTeams>>())
            problem(counts, file + ": a deal's game points differ from its tricks");
        for (int team = 0; team < kTeams; ++team) sum[team] += derived[team];
    }
    const auto& end = lines.back();
    if (sum != end.at("totals").get<std::array<int, kTeams>>())
        problem(counts, file + ": the totals differ from the deals");
    const auto player = sent.find(lines.front().at("names").at(0).get<std::string>());
    if (player == sent.end()) return;
    // Our player sits in seat 0, team 0.
    if (player->second != Totals{sum[0], sum[1]}) problem(counts, file + ": the player was sent other totals");
    ++counts.scored;
    sent.erase(player);
}

}  // namespace

void checkRecords(const std::filesystem::path& dir, std::map<std::string, Totals>& sent, RecordCounts& counts) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) files.push_back(entry.path());
    for (const auto& path : files) {
        std::ifstream in(path);
        std::vector<nlohmann::json> lines;
        bool whole = true;
        for (std::string line; std::getline(in, line);) {
            auto parsed = nlohmann::json::parse(line, nullptr, false);
            if (parsed.is_discarded()) whole = false;
            else lines.push_back(std::move(parsed));
        }
        // Not finished yet: the table is still writing it.
        if (lines.empty() || lines.back().value("type", "") != "end") continue;
        ++counts.checked;
        if (!whole) {
            ++counts.cutLines;
            if (counts.firstProblem.empty()) counts.firstProblem = path.string() + ": a line cut short";
        } else if (!lines.back().value("abandoned", false)) {
            try {
                checkGame(lines, path.filename().string(), sent, counts);
            } catch (const nlohmann::json::exception& bad) {
                problem(counts, path.filename().string() + ": " + bad.what());
            }
        }
        std::filesystem::remove(path, error);
    }
}

}  // namespace lerva::soak

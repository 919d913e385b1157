#include "review_service.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace lerva::review {

namespace {

constexpr std::string_view kJson = "application/json; charset=utf-8";

Response json(int status, const nlohmann::json& body) { return {status, std::string(kJson), body.dump()}; }

Response notFound() { return json(404, {{"error", "not found"}}); }

// For a person who followed an old link: words, not JSON.
Response noSuchGamePage() {
    return {404, "text/plain; charset=utf-8", "No finished game of that name is recorded here; /review lists those that are.\n"};
}

std::string contentTypeOf(const std::string& name) {
    const std::string extension = name.substr(name.rfind('.') + 1);
    if (extension == "html") return "text/html; charset=utf-8";
    if (extension == "js") return "text/javascript; charset=utf-8";
    return "text/css; charset=utf-8";
}

// The lines of a finished, valid record, as one object.
nlohmann::json recordObject(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    nlohmann::json record = {{"deals", nlohmann::json::array()}};
    for (std::string line; std::getline(in, line);) {
        nlohmann::json object = nlohmann::json::parse(line);
        const std::string type = object["type"];
        if (type == "deal") record["deals"].push_back(std::move(object));
        else record[type] = std::move(object);
    }
    return record;
}

nlohmann::json summaryJson(const GameSummary& game) {
    return {{"id", game.id}, {"date", game.date}, {"names", game.names}, {"totals", game.totals},
            {"deals", game.deals}, {"abandoned", game.abandoned}};
}

}  // namespace

ReviewService::ReviewService(ReviewOptions options)
    : options_(std::move(options)), catalog_(options_.recordDir), jobs_(options_.threads) {}

Response ReviewService::handle(std::string_view target) {
    const std::string path(target.substr(0, target.find('?')));
    static const std::regex page("/review/?"), game("/review/([^/]+)"), file("/review/files/([a-z0-9_-]+\\.(html|js|css))"),
        games("/review/api/games/?"), api("/review/api/games/([^/]+)(/analysis)?");
    std::smatch match;
    if (std::regex_match(path, page)) return pageFile("index.html");
    if (std::regex_match(path, match, file)) return pageFile(match[1]);
    if (std::regex_match(path, games)) return gamesJson();
    if (std::regex_match(path, match, api)) {
        const auto found = catalog_.find(match[1]);
        if (!found) return notFound();
        return match[2].matched ? analysisJson(*found) : recordJson(*found);
    }
    if (std::regex_match(path, match, game)) {
        if (!catalog_.find(match[1])) return noSuchGamePage();
        return pageFile("game.html");
    }
    return notFound();
}

Response ReviewService::gamesJson() {
    auto list = nlohmann::json::array();
    for (const GameSummary& game : catalog_.list()) list.push_back(summaryJson(game));
    return json(200, {{"games", list}});
}

Response ReviewService::recordJson(const GameSummary& game) {
    try {
        nlohmann::json body = recordObject(game.path);
        body["summary"] = summaryJson(game);
        return json(200, body);
    } catch (const nlohmann::json::exception&) {
        return notFound();   // changed since it was listed
    }
}

Response ReviewService::analysisJson(const GameSummary& game) {
    const AnalysisStatus status = jobs_.request(game);
    switch (status.state) {
    case AnalysisStatus::State::Done: return json(200, {{"state", "done"}, {"deals", status.deals}});
    case AnalysisStatus::State::Failed: return json(500, {{"state", "failed"}, {"error", status.error}});
    case AnalysisStatus::State::Running: break;
    }
    return json(202, {{"state", "running"}, {"done", status.dealsDone}, {"total", status.dealsTotal}});
}

PageFiles pageFilesIn(std::filesystem::path dir) {
    return [dir = std::move(dir)](const std::string& name) -> std::optional<std::string> {
        std::ifstream in(dir / name, std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream body;
        body << in.rdbuf();
        return body.str();
    };
}

Response ReviewService::pageFile(const std::string& name) {
    auto body = options_.pageFiles ? options_.pageFiles(name) : std::nullopt;
    if (!body) return notFound();
    return {200, contentTypeOf(name), std::move(*body)};
}

}  // namespace lerva::review

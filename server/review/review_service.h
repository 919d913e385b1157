// The review of recorded games, free of any transport: a web server hands
// it the path of a GET request and sends back what it answers.
//
//   /review                          the page listing the games
//   /review/<game>                   the page replaying one game
//   /review/files/<name>             the pages' scripts and style sheet
//   /review/api/games                the games, newest first (JSON)
//   /review/api/games/<game>         the game's record (JSON)
//   /review/api/games/<game>/analysis
//       200 {"state": "done", "deals": [...]}: every card's analysis
//       202 {"state": "running", "done": d, "total": n}: ask again later
//       500 {"state": "failed", "error": "..."}
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "analysis_jobs.h"
#include "game_catalog.h"

namespace lerva::review {

struct Response {
    int status = 200;
    std::string contentType;
    std::string body;
};

// The content of one of the pages' files (index.html, game.html, *.js,
// review.css) by name, or nothing.
using PageFiles = std::function<std::optional<std::string>(const std::string& name)>;

// The files of a folder (web/review in the source tree).
PageFiles pageFilesIn(std::filesystem::path dir);

struct ReviewOptions {
    std::filesystem::path recordDir;   // the server's --log-dir
    PageFiles pageFiles;               // e.g. pageFilesIn(".../web/review"), or files built into the server
    int threads = 1;                   // deals of one game analysed at once
};

class ReviewService {
public:
    explicit ReviewService(ReviewOptions options);

    // `target` is the request's path, with or without a query.
    Response handle(std::string_view target);

private:
    Response gamesJson();
    Response recordJson(const GameSummary& game);
    Response analysisJson(const GameSummary& game);
    Response pageFile(const std::string& name);

    ReviewOptions options_;
    GameCatalog catalog_;
    AnalysisJobs jobs_;
};

}  // namespace lerva::review

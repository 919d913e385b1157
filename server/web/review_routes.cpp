#include "review_routes.h"

#include <algorithm>
#include <memory>

#include "embedded_files.h"
#include "log.h"
#include "review_service.h"

namespace lerva {

namespace {

// A review page's file by its name, as web/review was built into the server.
std::optional<std::string> builtInReviewFile(const std::string& name) {
    const std::string path = "/review/" + name;
    for (const EmbeddedFile& file : embeddedFiles())
        if (file.path == path) return std::string(file.body);
    return std::nullopt;
}

Routes::Handler noRecords() {
    return [](std::string_view) -> std::optional<Reply> {
        return textReply(404, "This server keeps no game records, so there is no game to review. "
                              "Start it with --log-dir DIR to record games and review them here.");
    };
}

Routes::Handler reviewOf(const ServerConfig& config) {
    // The analysis runs on its own threads, as many as the bots think on:
    // the network loop only reads the folder, a record and a stored analysis.
    auto review = std::make_shared<review::ReviewService>(
        review::ReviewOptions{config.logDir, builtInReviewFile, std::max(1, config.botThreads)});
    return [review](std::string_view path) -> std::optional<Reply> {
        review::Response response = review->handle(path);
        return Reply{response.status, std::move(response.contentType), std::move(response.body)};
    };
}

}  // namespace

void addReviewRoutes(Routes& routes, const ServerConfig& config) {
    const Routes::Handler handler = config.logDir.empty() ? noRecords() : reviewOf(config);
    if (!config.logDir.empty()) logInfo("the games recorded in ", config.logDir, " are reviewed at /review");
    routes.add("/review", handler);
    routes.add("/review/", handler);
}

}  // namespace lerva

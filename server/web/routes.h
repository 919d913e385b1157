// What the web port answers to a GET: a small table of paths and the
// handlers behind them, so that later pages (a game review under /review)
// add their own routes beside the table's.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lerva {

struct Reply {
    int status = 200;
    std::string contentType;
    std::string body;
};

class Routes {
public:
    // Answers for `path` exactly, or nothing to let a later route try.
    using Handler = std::function<std::optional<Reply>(std::string_view path)>;

    // `pattern` is a path ("/config.json"), or a prefix ending in '/'
    // ("/review/") that matches every path below it.
    void add(std::string pattern, Handler handler);
    // The first route that answers; 404 when none does, 400 for a path
    // that is not plain (no "..", no control bytes).
    Reply answer(std::string_view target) const;

private:
    struct Route {
        std::string pattern;
        Handler handler;
    };
    std::vector<Route> routes_;
};

// Routes for the files built into the server; "/" is "/index.html".
void addEmbeddedFiles(Routes& routes);

Reply textReply(int status, std::string text);

}  // namespace lerva

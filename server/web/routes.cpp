#include "routes.h"

#include <algorithm>

#include "embedded_files.h"

namespace lerva {

namespace {

bool plainPath(std::string_view path) {
    if (path.empty() || path.front() != '/') return false;
    if (path.find("..") != path.npos || path.find("//") != path.npos) return false;
    return std::none_of(path.begin(), path.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '\\';
    });
}

bool matches(const std::string& pattern, std::string_view path) {
    if (pattern.back() == '/') return path.substr(0, pattern.size()) == pattern;
    return path == pattern;
}

}  // namespace

Reply textReply(int status, std::string text) { return {status, "text/plain; charset=utf-8", std::move(text) + "\n"}; }

void Routes::add(std::string pattern, Handler handler) { routes_.push_back({std::move(pattern), std::move(handler)}); }

Reply Routes::answer(std::string_view target) const {
    // The query is for the page's script, not for the server.
    const std::string_view path = target.substr(0, target.find('?'));
    if (!plainPath(path)) return textReply(400, "bad path");
    for (const Route& route : routes_) {
        if (!matches(route.pattern, path)) continue;
        if (auto reply = route.handler(path)) return std::move(*reply);
    }
    return textReply(404, "not found");
}

void addEmbeddedFiles(Routes& routes) {
    routes.add("/", [](std::string_view path) -> std::optional<Reply> {
        if (path == "/") path = "/index.html";
        for (const EmbeddedFile& file : embeddedFiles())
            if (file.path == path) return Reply{200, std::string(file.contentType), std::string(file.body)};
        return std::nullopt;
    });
}

}  // namespace lerva

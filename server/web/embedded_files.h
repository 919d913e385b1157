// The web table's files, built into the server from web/ (see
// cmake/embed-files.cmake).
#pragma once

#include <span>
#include <string_view>

namespace lerva {

struct EmbeddedFile {
    std::string_view path;          // "/index.html", "/cards/11.png", ...
    std::string_view contentType;
    std::string_view body;
};

std::span<const EmbeddedFile> embeddedFiles();

}  // namespace lerva

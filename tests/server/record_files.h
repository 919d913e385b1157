// The game records a test server wrote, read back.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace lerva::test {

// Lines of every game record written into `dir`, file by file.
inline std::vector<std::vector<nlohmann::json>> readRecords(const std::filesystem::path& dir) {
    std::vector<std::vector<nlohmann::json>> files;
    for (const auto& file : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(file.path());
        files.emplace_back();
        for (std::string line; std::getline(in, line);) files.back().push_back(nlohmann::json::parse(line));
    }
    return files;
}

inline std::filesystem::path freshDirectory(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    return dir;
}

}  // namespace lerva::test

// A game record on disk. Each one is a new file in the records folder,
// under a name no other game, no restarted server and no second server
// sharing the folder takes; it is created exclusively and never through a
// link, so nothing outside the folder can be written through it, nor
// another game's record cut short.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lerva {

class RecordFile {
public:
    // A new file in `folder` named "<stem>-<random>.jsonl"; nothing, with
    // `problem` set, when it cannot be created.
    static std::optional<RecordFile> create(const std::filesystem::path& folder, const std::string& stem,
                                            std::string& problem);
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();

    // Appends the lines, each with its newline, in one write.
    bool append(const std::vector<std::string>& lines);
    const std::filesystem::path& path() const { return path_; }

private:
    RecordFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    int fd_ = -1;
    std::filesystem::path path_;
};

// What keeps records from being written into `folder` (made if missing),
// in words an operator can act on; nothing when they can be.
std::optional<std::string> recordFolderProblem(const std::filesystem::path& folder);

}  // namespace lerva

#include "record_file.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace lerva {

namespace {

#ifdef _WIN32
int openNew(const std::filesystem::path& path) {
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_APPEND | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}
long writeSome(int fd, const char* data, std::size_t size) {
    return ::_write(fd, data, static_cast<unsigned>(size));
}
void closeFile(int fd) { ::_close(fd); }
#else
int openNew(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0644);
}
long writeSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
void closeFile(int fd) { ::close(fd); }
#endif

std::string randomPart() {
    std::random_device random;
    const std::uint64_t bits = (std::uint64_t{random()} << 32) ^ random();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

}  // namespace

std::optional<RecordFile> RecordFile::create(const std::filesystem::path& folder, const std::string& stem,
                                             std::string& problem) {
    // A name taken already (by chance, or planted) is never opened: another.
    for (int attempt = 0; attempt < 8; ++attempt) {
        auto path = folder / (stem + "-" + randomPart() + ".jsonl");
        const int fd = openNew(path);
        if (fd >= 0) return RecordFile(fd, std::move(path));
        if (errno != EEXIST) {
            problem = "cannot create " + path.string() + ": " + std::strerror(errno);
            return std::nullopt;
        }
    }
    problem = "cannot create a record in " + folder.string() + ": every name tried was taken";
    return std::nullopt;
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) closeFile(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

RecordFile::~RecordFile() {
    if (fd_ >= 0) closeFile(fd_);
}

bool RecordFile::append(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text.append(line).push_back('\n');
    std::size_t written = 0;
    while (written < text.size()) {
        const long now = writeSome(fd_, text.data() + written, text.size() - written);
        if (now < 0 && errno == EINTR) continue;
        if (now <= 0) return false;
        written += static_cast<std::size_t>(now);
    }
    return true;
}

std::optional<std::string> recordFolderProblem(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder))
        return "the records folder " + folder.string() + " is not a folder and cannot be made one" +
               (error ? " (" + error.message() + ")" : std::string()) + " (--log-dir)";
    std::string problem;
    auto probe = RecordFile::create(folder, ".write-test", problem);
    if (!probe) return "cannot write game records into " + folder.string() + ": " + problem + " (--log-dir)";
    const auto path = probe->path();
    probe.reset();
    std::filesystem::remove(path, error);
    return std::nullopt;
}

}  // namespace lerva

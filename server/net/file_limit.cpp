#include "file_limit.h"

#include <algorithm>

#ifndef _WIN32
#include <sys/resource.h>

#include <fstream>
#endif

namespace lerva {

namespace {
// The listener, the loop's own descriptors, the log, bot threads, slack.
constexpr long kFilesForTheServer = 64;
// More than any machine holds; a bound this high is no bound in practice.
constexpr long kMostConnections = 1'000'000;
}  // namespace

int connectionBoundFor(long openFiles, bool recording) {
    const long usable = std::max(openFiles - kFilesForTheServer, 1L);
    return static_cast<int>(std::clamp(recording ? usable / 2 : usable, 1L, kMostConnections));
}

#ifndef _WIN32
std::optional<FileLimit> raiseFileLimit() {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0) return std::nullopt;
    FileLimit limit{static_cast<long>(files.rlim_cur), static_cast<long>(files.rlim_cur)};
    rlim_t wanted = files.rlim_max;
    if (wanted == RLIM_INFINITY) {
        // The kernel's own ceiling on a process's files.
        long ceiling = 1 << 20;
        std::ifstream("/proc/sys/fs/nr_open") >> ceiling;
        wanted = static_cast<rlim_t>(ceiling);
    }
    if (files.rlim_cur == RLIM_INFINITY || files.rlim_cur >= wanted) {
        if (files.rlim_cur == RLIM_INFINITY) limit.before = limit.now = static_cast<long>(wanted);
        return limit;
    }
    files.rlim_cur = wanted;
    if (setrlimit(RLIMIT_NOFILE, &files) == 0) limit.now = static_cast<long>(wanted);
    return limit;
}
#else
std::optional<FileLimit> raiseFileLimit() { return std::nullopt; }
#endif

}  // namespace lerva

// Lets one decision use the cores that are idle. The caller splits its work
// into a fixed number of jobs and runs them itself, while helper threads
// (one fewer than the machine has cores) take any job not yet started. So a
// decision is never slower for a busy helper, and since the split does not
// depend on who runs what, neither does its result.
#pragma once

#include <cstddef>
#include <functional>

namespace lerva {

// Runs job(0) .. job(count - 1), each once, and returns when all are done.
// Jobs run at the same time on different threads: each must keep to its own
// data. The first exception a job throws is thrown again here, after the
// others have finished.
void runSharing(std::size_t count, const std::function<void(std::size_t)>& job);

}  // namespace lerva

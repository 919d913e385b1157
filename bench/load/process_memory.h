// The resident memory of a process, read from /proc, for the load and soak
// reports.
#pragma once

#include <fstream>
#include <string>

namespace lerva::load {

// KiB resident, or -1 if the process is unknown or gone.
inline long residentKiB(int pid) {
    if (pid <= 0) return -1;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = -1;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

}  // namespace lerva::load

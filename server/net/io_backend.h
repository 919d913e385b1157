// The kernel interface the network loop is built on, and whether this
// machine lets the server use it.
#pragma once

#include <optional>
#include <string>

namespace lerva {

// What stops the network loop from starting here, in words a person can
// act on; nothing when it can start.
std::optional<std::string> ioBackendProblem();

}  // namespace lerva

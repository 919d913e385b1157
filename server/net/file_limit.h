// How many connections the server can hold: every connection is an open
// file, and so is the game record of every table that is playing. At start
// the server takes all the open files the system lets it have and sizes its
// default connection bound from that.
#pragma once

#include <optional>

namespace lerva {

struct FileLimit {
    long before;   // the soft limit the server was started with
    long now;      // after raising it to the hard limit
};

// Raises the soft open-file limit to the hard limit. Nothing on systems
// without such a limit (Windows).
std::optional<FileLimit> raiseFileLimit();

// Slots (connections, and tables waiting for a player to return) that fit in
// `openFiles`, with a few files left over for the server itself. With
// records, every slot may come with a record file of its own: each player
// alone at a table of computer players, or each waiting table.
int connectionBoundFor(long openFiles, bool recording);

// The bound when the system sets no open-file limit.
constexpr int kConnectionBoundWithoutFileLimit = 10'000;

}  // namespace lerva

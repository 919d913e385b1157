// What every connection, TCP or WebSocket, goes through before it has a
// table: its first block is the user name, its second "join". Blocks other
// than "join" in between are ignored; the connection's name time limit ends
// one that never joins.
#pragma once

#include <string>

#include "protocol.h"

namespace lerva {

class Arrival {
public:
    // Takes one block of a connection not yet seated; true when it was the
    // "join" that seats the player. `peer` names the connection in the log.
    bool take(const Block& block, const std::string& peer);
    // The name as relayed to the others (cleaned); empty before the first block.
    const std::string& name() const { return name_; }

private:
    bool named_ = false;
    bool warnedBeforeJoin_ = false;
    std::string name_;
};

}  // namespace lerva

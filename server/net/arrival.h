// What every connection, TCP or WebSocket, goes through before it has a
// table: its first block is the user name, its second "join". Blocks other
// than "join" in between are ignored; the connection's name time limit ends
// one that never joins.
#pragma once

#include <string>

#include "identity.h"
#include "protocol.h"

namespace lerva {

class Arrival {
public:
    // Takes one block of a connection not yet seated; true when it was the
    // "join" that seats the player. `peer` names the connection in the log;
    // `address` is the peer's addressKey(), part of who the player is.
    bool take(const Block& block, const std::string& peer, const std::string& address);
    // The name as relayed to the others (cleaned, without a secret); empty
    // before the first block.
    const std::string& name() const { return identity_.name; }
    const PlayerIdentity& identity() const { return identity_; }

private:
    bool named_ = false;
    bool warnedBeforeJoin_ = false;
    PlayerIdentity identity_;
};

}  // namespace lerva

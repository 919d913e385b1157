// A person at a table as the table sees them: a name, a way to send them a
// block and a way to let them go. The session behind it is the network's
// business; tests may stand in for it.
#pragma once

#include <string>

#include "identity.h"
#include "protocol.h"

namespace lerva {

class Participant {
public:
    virtual ~Participant() = default;
    // Queues a block; it leaves with the next flush().
    virtual void deliver(const Block& block) = 0;
    // Sends what was delivered since the last flush, in one go.
    virtual void flush() {}
    // The table is done with this player: send what is queued, then close.
    virtual void close() = 0;
    // The name as relayed to the others (cleaned).
    virtual const std::string& name() const = 0;
    // Who they are when they want a seat back (identity.h). The default
    // proves nothing, so such a participant never takes a seat back.
    virtual PlayerIdentity identity() const { return {}; }
};

}  // namespace lerva

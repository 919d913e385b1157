#include "arrival.h"

#include "log.h"
#include "messages.h"

namespace lerva {

bool Arrival::take(const Block& block, const std::string& peer, const std::string& address) {
    if (!named_) {
        identity_ = identify(parseUserName(block), address);
        named_ = true;
        return false;
    }
    if (isJoin(block)) return true;
    // Once is enough to see what is going on.
    if (!warnedBeforeJoin_) logWarn(peer, " (", identity_.name, ") sent blocks other than join; ignored");
    warnedBeforeJoin_ = true;
    return false;
}

}  // namespace lerva

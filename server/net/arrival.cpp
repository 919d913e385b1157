#include "arrival.h"

#include "log.h"
#include "messages.h"

namespace lerva {

bool Arrival::take(const Block& block, const std::string& peer) {
    if (!named_) {
        name_ = cleanName(parseUserName(block));
        named_ = true;
        return false;
    }
    if (isJoin(block)) return true;
    // Once is enough to see what is going on.
    if (!warnedBeforeJoin_) logWarn(peer, " (", name_, ") sent blocks other than join; ignored");
    warnedBeforeJoin_ = true;
    return false;
}

}  // namespace lerva

#include "identity.h"

#include "messages.h"

namespace lerva {

PlayerIdentity identify(std::string_view rawName, std::string address) {
    ClaimedName claimed = claimName(rawName);
    return PlayerIdentity{std::move(address), std::move(claimed.shown), std::move(claimed.secret),
                          claimed.nameless};
}

bool mayTakeBack(const PlayerIdentity& leaver, const PlayerIdentity& comer) {
    if (leaver.nameless || comer.nameless || leaver.name != comer.name) return false;
    const bool sameAddress = !leaver.address.empty() && leaver.address == comer.address;
    const bool sameSecret = !leaver.secret.empty() && leaver.secret == comer.secret;
    return sameAddress || sameSecret;
}

std::string addressKey(const asio::ip::address& address) {
    if (address.is_v4()) return address.to_string();
    const auto v6 = address.to_v6();
    if (v6.is_v4_mapped()) return asio::ip::make_address_v4(asio::ip::v4_mapped, v6).to_string();
    auto bytes = v6.to_bytes();
    std::fill(bytes.begin() + 8, bytes.end(), 0);
    return asio::ip::address_v6(bytes).to_string() + "/64";
}

}  // namespace lerva

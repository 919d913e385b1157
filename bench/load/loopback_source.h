// Clients from many machines, on one: Linux delivers all of 127.0.0.0/8 to
// this machine, so a socket bound to 127.1.x.y before it connects to the
// server on 127.0.0.1 arrives from an address of its own. The server caps
// the connections of one address; the load and the soak spread theirs over
// as many addresses as a crowd of people would come from.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>

namespace lerva::load {

// Binds `fd` to the `index`-th loopback address of `network` (127.network.*.*),
// leaving the port to connect().
inline bool bindLoopbackSource(int fd, unsigned network, std::uint64_t index) {
    const int one = 1;
    setsockopt(fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &one, sizeof one);
    const auto host = static_cast<std::uint32_t>(index % (250 * 250));
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = htonl((127u << 24) | ((network & 0xff) << 16) | ((host / 250) << 8) | (host % 250 + 1));
    return bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0;
}

// Players to an address: well under the server's default cap.
constexpr std::uint64_t kPlayersPerAddress = 8;

}  // namespace lerva::load

#include "io_backend.h"

#ifdef LERVA_IO_URING
#include <liburing.h>

#include <cstring>
#endif

namespace lerva {

#ifdef LERVA_IO_URING
// A kernel can refuse io_uring although it has it: switched off by
// sysctl, or blocked by a container's seccomp profile (Docker's default
// blocks it). Asio would only say "io_uring_queue_init: Operation not
// permitted" from deep inside the first socket.
std::optional<std::string> ioBackendProblem() {
    io_uring ring{};
    const int result = io_uring_queue_init(2, &ring, 0);
    if (result >= 0) {
        io_uring_queue_exit(&ring);
        return std::nullopt;
    }
    return std::string("the kernel refuses io_uring (") + std::strerror(-result) +
           "), which this server's network loop runs on; it may be switched off "
           "(sysctl kernel.io_uring_disabled) or blocked by a container's seccomp profile. "
           "Allow it, or build the server with -DLERVA_IO_URING=OFF to run on epoll";
}
#else
std::optional<std::string> ioBackendProblem() { return std::nullopt; }
#endif

}  // namespace lerva

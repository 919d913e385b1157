#include "Link.h"

#include <process.h>

#include "Lerva.h"

namespace {

// Only the main thread reads or writes it.
std::shared_ptr<Link> activeLink;

}  // namespace

Link::Link(SOCKET socket_)
    : socket(socket_), cancelled(CreateEventA(nullptr, TRUE, FALSE, nullptr)), network(WSACreateEvent()) {
    // Also makes the socket non-blocking: receive waits on the events itself.
    WSAEventSelect(socket, network, FD_READ | FD_CLOSE);
}

Link::~Link() {
    CloseHandle(cancelled);
    WSACloseEvent(network);
}

Link::Received Link::receive(lerva::Block& block) {
    std::size_t got = 0;
    while (got < block.size()) {
        const int n = recv(socket, block.data() + got, static_cast<int>(block.size() - got), 0);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) return Received::Closed;
        if (WSAGetLastError() != WSAEWOULDBLOCK) return Received::Failed;
        HANDLE events[2] = {cancelled, network};
        const DWORD woke = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0) return Received::Cancelled;
        WSANETWORKEVENTS happened;
        WSAEnumNetworkEvents(socket, network, &happened);
    }
    return Received::Block;
}

bool Link::pause(DWORD ms) { return WaitForSingleObject(cancelled, ms) == WAIT_TIMEOUT; }

void Link::cancel() { SetEvent(cancelled); }

void startReceiving(SOCKET socket) {
    activeLink = std::make_shared<Link>(socket);
    // Set here as well as by the thread, so that the connect button
    // disconnects from the moment the connection exists.
    game = true;
    // The thread holds its own reference: the link outlives the connection
    // as long as the thread needs it.
    _beginthread(processMsg, 0, new std::shared_ptr<Link>(activeLink));
}

void disconnect() {
    shutdown(*conn.getSocket(), SD_BOTH);
    game = false;
    if (activeLink) activeLink->cancel();
}

bool isActiveLink(const Link* link) { return activeLink.get() == link; }

void clearActiveLink() { activeLink.reset(); }

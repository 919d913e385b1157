#include "fake_server.h"

#include <windows.h>

FakeServer::FakeServer(u_short port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    BOOL reuse = TRUE;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 4) != 0) {
        closesocket(listener);
        listener = INVALID_SOCKET;
    }
}

FakeServer::~FakeServer() {
    close();
    if (listener != INVALID_SOCKET) closesocket(listener);
    WSACleanup();
}

namespace {

// Whether `socket` has something to read (or a connection to accept),
// waiting up to `timeoutMs` while this thread's windows keep working: the
// client under test may be waiting for them.
bool readableSocket(SOCKET socket, DWORD timeoutMs) {
    auto ready = [socket] {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval now{0, 0};
        return select(0, &set, nullptr, nullptr, &now) == 1;
    };
    return pumpUntil(ready, timeoutMs);
}

}  // namespace

bool FakeServer::accept(DWORD timeoutMs) {
    if (!readableSocket(listener, timeoutMs)) return false;
    client = ::accept(listener, nullptr, nullptr);
    return client != INVALID_SOCKET;
}

bool FakeServer::readable(DWORD timeoutMs) const { return readableSocket(client, timeoutMs); }

std::optional<lerva::Block> FakeServer::receive(DWORD timeoutMs) {
    lerva::Block block{};
    std::size_t got = 0;
    const DWORD start = GetTickCount();
    while (got < block.size()) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs || !readable(timeoutMs - spent)) return std::nullopt;
        const int n = recv(client, block.data() + got, static_cast<int>(block.size() - got), 0);
        if (n <= 0) return std::nullopt;
        got += static_cast<std::size_t>(n);
    }
    return block;
}

bool FakeServer::clientClosed(DWORD timeoutMs) {
    char byte;
    return readable(timeoutMs) && recv(client, &byte, 1, 0) <= 0;
}

void FakeServer::send(const lerva::Block& block) {
    ::send(client, block.data(), static_cast<int>(block.size()), 0);
}

void FakeServer::sendSplit(const lerva::Block& block, std::size_t firstPart, DWORD pauseMs) {
    ::send(client, block.data(), static_cast<int>(firstPart), 0);
    Sleep(pauseMs);
    ::send(client, block.data() + firstPart, static_cast<int>(block.size() - firstPart), 0);
}

void FakeServer::close() {
    if (client != INVALID_SOCKET) closesocket(client);
    client = INVALID_SOCKET;
}

#include "Connect.h"

int ConnSock::MakeConn(const char* address, u_short port) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
        const int error = WSAGetLastError();
        WSACleanup();
        return 100000 + error;
    }
    socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) {
        const int error = WSAGetLastError();
        WSACleanup();
        return 200000 + error;
    }
    serverAddress = sockaddr_in{};
    serverAddress.sin_family = AF_INET;
    serverAddress.sin_port = htons(port);
    serverAddress.sin_addr.s_addr = inet_addr(address);
    if (connect(socket, reinterpret_cast<sockaddr*>(&serverAddress), sizeof serverAddress) != 0) {
        const int error = WSAGetLastError();
        // A socket that never connected is of no use to anyone: close it
        // rather than leave it to the clean-up below.
        closesocket(socket);
        socket = INVALID_SOCKET;
        WSACleanup();
        return 300000 + error;
    }
    return 0;
}

void ConnSock::CloseConn() {
    closesocket(socket);
    WSACleanup();
}

bool sendBlock(SOCKET socket, const lerva::Block& block) {
    std::size_t sent = 0;
    while (sent < block.size()) {
        const int n = send(socket, block.data() + sent, static_cast<int>(block.size() - sent), 0);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
            // The receive thread keeps the socket non-blocking; wait until it
            // can take more.
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(socket, &writable);
            timeval timeout{10, 0};
            if (select(0, nullptr, &writable, nullptr, &timeout) == 1) continue;
        }
        return false;
    }
    return true;
}

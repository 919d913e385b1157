// The client's TCP connection to the game server.
#pragma once

#include <winsock2.h>

#include "protocol.h"

class ConnSock {
public:
    // Starts Windows Sockets and connects to a dotted IPv4 address. 0 when
    // connected; otherwise stage * 100000 + the Windows Sockets error, the
    // stage being 1 (start-up), 2 (socket creation) or 3 (connect).
    int MakeConn(const char* address, u_short port);
    // The socket field; holders read the current socket through it.
    SOCKET* getSocket() { return &socket; }
    void CloseConn();

private:
    SOCKET socket;
    sockaddr_in serverAddress;
};

// Sends the whole block, however many calls it takes; false when the
// connection failed first.
bool sendBlock(SOCKET socket, const lerva::Block& block);

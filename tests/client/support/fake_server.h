// The server's side of one connection, played by a test on 127.0.0.1:113.
#pragma once

#include <winsock2.h>

#include <optional>
#include <string>

#include "protocol.h"

class FakeServer {
public:
    // Listens on 127.0.0.1 at `port`.
    explicit FakeServer(u_short port = 113);
    ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    bool listening() const { return listener != INVALID_SOCKET; }
    // Waits for the client to connect; false on time-out.
    bool accept(DWORD timeoutMs = 15000);
    // One whole block from the client, or nothing when the connection ended
    // or nothing came in time.
    std::optional<lerva::Block> receive(DWORD timeoutMs = 15000);
    // True when the client has closed or shut down its side.
    bool clientClosed(DWORD timeoutMs = 15000);
    void send(const lerva::Block& block);
    // Sends a block in two TCP pieces with a pause between them.
    void sendSplit(const lerva::Block& block, std::size_t firstPart, DWORD pauseMs);
    void close();

private:
    bool readable(DWORD timeoutMs) const;
    SOCKET listener = INVALID_SOCKET;
    SOCKET client = INVALID_SOCKET;
};

// Calls `done` until it is true, handling this thread's window messages in
// between; false when `timeoutMs` passed first.
template <class Condition>
bool pumpUntil(Condition done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

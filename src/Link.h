// One connection's receiving side: its socket, and the signal with which the
// disconnect command wakes the receive thread wherever it waits.
//
// How the two threads share the table: the main thread owns every window
// and all of the table state. The receive thread only reads blocks, decides
// what they are, and hands each to the main thread with a synchronous
// SendMessage (runOnTableThread), holding no lock while it does. Its pauses
// (after the trump, after a full trick) are waits on the link's cancel
// event, so they hold back only the reading of the next block, and the
// disconnect command ends them at once. The main thread never waits for the
// receive thread. Each connection has its own link; a thread whose link is
// no longer the active one leaves the table alone.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <memory>

#include "protocol.h"

class Link {
public:
    explicit Link(SOCKET socket);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    enum class Received { Block, Closed, Failed, Cancelled };
    // Reads exactly one 128-byte block, however TCP splits or joins them.
    Received receive(lerva::Block& block);
    // Waits `ms` milliseconds; false when the link was cancelled meanwhile.
    bool pause(DWORD ms);
    void cancel();
    bool isCancelled() const { return WaitForSingleObject(cancelled, 0) == WAIT_OBJECT_0; }

    const SOCKET socket;

private:
    HANDLE cancelled;  // manual-reset: stays set once cancelled
    WSAEVENT network;  // the socket's read and close events
};

// Main thread: makes the link of a freshly connected socket the active one
// and starts its receive thread.
void startReceiving(SOCKET socket);
// Main thread: the disconnect command.
void disconnect();
// Main thread: is this the link of the running connection?
bool isActiveLink(const Link* link);
// Main thread: the running connection has ended.
void clearActiveLink();

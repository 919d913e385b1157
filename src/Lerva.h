// The program-wide globals and the procedures that concern more than one
// window: the application commands, the receive thread and the info box.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>

#include "Connect.h"

class MainWin;
class ConnWin;
class OptWin;

extern MainWin* Window;     // the table window and the table state
extern ConnWin* Win;        // the connection dialog
extern OptWin* Opts;        // the colours window
extern ConnSock conn;       // the connection to the game server
extern std::atomic<bool> game;  // a game connection is running

// Appends a text to the table's info box. Safe from either thread: each
// append is whole.
void printInfoText(const char* text);

// Connect, disconnect and settings commands (ids 201, 202, 204); always 0.
LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Body of the receive thread of one connection.
void processMsg(void* link);

// Runs `action` on the thread that owns the table window and returns when it
// is done. The table's private message that carries it:
constexpr UINT WM_LERVA_RUN = WM_APP + 1;
void runOnTableThread(const std::function<void()>& action);

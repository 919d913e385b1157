// The entry point, the globals and the application commands.
#include "Lerva.h"

#include <process.h>

#include <cstdio>
#include <memory>
#include <string>

#include "ConnWin.h"
#include "Link.h"
#include "MainWin.h"
#include "Options.h"

MainWin* Window = nullptr;
ConnWin* Win = nullptr;
OptWin* Opts = nullptr;
ConnSock conn{};
std::atomic<bool> game{false};

namespace {

constexpr u_short kServerPort = 113;

// Opens a dialog window, or brings the open one to the front.
template <class Dialog>
void open(Dialog& dialog) {
    if (dialog.isOpen) {
        SetForegroundWindow(dialog.GetWnd());
        return;
    }
    dialog.create(IDI_LERVA);
    dialog.build();
    dialog.show();
    dialog.isOpen = true;
}

// A progress line formatted into the 128-byte text buffer: a longer one is cut.
template <class Arg>
void printFormatted(const char* format, Arg arg) {
    char line[128];
    std::snprintf(line, sizeof line, format, arg);
    printInfoText(line);
}

void connectToServer() {
    const auto address = Win->GetEditText(IDC_SERVER);
    printFormatted("\r\nÜhendan serveriga %s", address.get());
    const int result = conn.MakeConn(address.get(), kServerPort);
    if (result != 0) {
        printFormatted("\r\nÜhenduse loomine ebaõnnestus. Error %d", result);
        return;
    }
    printInfoText("\r\nÜhendus serveriga loodud");
    const auto name = Win->GetEditText(IDC_NAME);
    sendBlock(*conn.getSocket(), lerva::userNameBlock(name.get()));
    startReceiving(*conn.getSocket());
}

// ---- The receive thread ----------------------------------------------------

// Runs a table operation on the main thread, unless a newer connection has
// taken the table over.
void onTable(const Link& link, const std::function<void()>& action) {
    runOnTableThread([&] {
        if (isActiveLink(&link)) action();
    });
}

// The end of a connection, whatever ended it: the reason in the info box,
// the socket closed, the table emptied, the connect button back.
void endConnection(const Link& link, const char* reason) {
    runOnTableThread([&] {
        if (!isActiveLink(&link)) return;
        printInfoText(reason);
        game = false;
        Window->resetGame();
        Window->endBid();
        Window->endTrump();
        SetDlgItemTextA(Window->GetWnd(), IDC_CONNECT_TABLE, "Ühenda");
        clearActiveLink();
    });
    closesocket(link.socket);
}

// Hands one block to the table by phase and keyword. False when the
// connection is to end: the game is over or the user disconnected during a
// pause.
bool dispatch(Link& link, int& phase, const lerva::Block& block) {
    using lerva::ServerMessage;
    switch (lerva::classify(phase, block)) {
    case ServerMessage::Name:
        onTable(link, [&] { Window->getName(block); });
        return true;
    case ServerMessage::Deal:
        onTable(link, [&] {
            Window->getCards(block);
            printInfoText("\r\nMäng algas");
            Window->bid();
            printInfoText("\r\nPakkumine algas");
        });
        phase = 1;
        return true;
    case ServerMessage::Okc:
        onTable(link, [&] { Window->playCard(); });
        return true;
    case ServerMessage::Next: {
        const auto suit = lerva::parseNext(block);
        if (!suit) return true;
        phase = 2;
        onTable(link, [&] {
            Window->makeTrump(*suit);
            Window->endTrump();
            Window->endBid();
        });
        return link.pause(1500);
    }
    case ServerMessage::Trump:
        onTable(link, [&] {
            printInfoText("\r\nTee trump");
            Window->showTrump();
        });
        return true;
    case ServerMessage::Ok:
        onTable(link, [&] { Window->makeBid(); });
        return true;
    case ServerMessage::BidReport:
        onTable(link, [&] { Window->addBid(block); });
        return true;
    case ServerMessage::Point: {
        phase = 0;
        bool gameOver = false;
        onTable(link, [&] {
            Window->resetGame();
            gameOver = Window->getPoints(block);
        });
        return !gameOver;
    }
    case ServerMessage::CardReport: {
        bool trickFull = false;
        onTable(link, [&] { trickFull = Window->addCard(block); });
        if (!trickFull) return true;
        // The full trick stays in view before the table is cleared.
        if (!link.pause(3000)) return false;
        onTable(link, [&] { Window->clearTrick(); });
        return true;
    }
    }
    return true;
}

}  // namespace

void processMsg(void* param) {
    auto* handed = static_cast<std::shared_ptr<Link>*>(param);
    const std::shared_ptr<Link> link = std::move(*handed);
    delete handed;

    int phase = 0;
    game = true;
    onTable(*link, [] { SetDlgItemTextA(Window->GetWnd(), IDC_CONNECT_TABLE, "Katkesta"); });
    sendBlock(link->socket, lerva::joinBlock());
    printInfoText("\r\nOotan teisi mängijaid...");
    onTable(*link, [] { Window->serverSocket = conn.getSocket(); });

    for (;;) {
        lerva::Block block;
        const auto received = link->isCancelled() ? Link::Received::Cancelled : link->receive(block);
        if (received == Link::Received::Failed) {
            endConnection(*link, "\r\nÜhendus serveriga katkes");
            return;
        }
        if (received != Link::Received::Block || !dispatch(*link, phase, block)) {
            endConnection(*link, "\r\nMäng katkestatud");
            return;
        }
    }
}

LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    if (msg != WM_COMMAND) return 0;
    switch (LOWORD(wParam)) {
    case IDC_CONNECT_TABLE:
        if (game) disconnect();
        else open(*Win);
        break;
    case IDC_SETTINGS:
        open(*Opts);
        break;
    case IDC_CONNECT:
        connectToServer();
        Win->isOpen = false;
        DestroyWindow(hwnd);
        break;
    }
    return 0;
}

// An edit box takes only so much text and then drops what is added, so a
// long session would lose its newest lines. The oldest lines go instead,
// down to half of what the box keeps.
static void forgetOldestInfo(HWND box) {
    constexpr int kKeep = 20000;
    const int length = GetWindowTextLengthA(box);
    if (length < kKeep) return;
    std::string text(length + 1, '\0');
    GetWindowTextA(box, text.data(), length + 1);
    const auto cut = text.find("\r\n", length - kKeep / 2);
    SendMessageA(box, EM_SETSEL, 0, cut == std::string::npos ? length : cut);
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
}

void runOnTableThread(const std::function<void()>& action) {
    SendMessageA(Window->GetWnd(), WM_LERVA_RUN, 0, reinterpret_cast<LPARAM>(&action));
}

void printInfoText(const char* text) {
    HWND table = Window->GetWnd();
    // The caret is placed and the text replaced in two steps, so appends run
    // only on the thread that owns the box, one after another.
    if (GetWindowThreadProcessId(table, nullptr) != GetCurrentThreadId()) {
        if (table) runOnTableThread([text] { printInfoText(text); });
        return;
    }
    HWND box = GetDlgItem(table, IDC_INFO);
    forgetOldestInfo(box);
    const int end = GetWindowTextLengthA(Window->infoBox);
    SendMessageA(box, EM_SETSEL, end, end);
    SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    SendMessageA(box, EM_SCROLLCARET, 0, 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    game = false;
    Window = new MainWin("LervaGUI", "Lerva 1.1", WS_SYSMENU | WS_MINIMIZEBOX, 700, 600, nullptr,
                         instance, CreateSolidBrush(RGB(178, 34, 34)), nullptr);
    Win = new ConnWin("Connection", "Ühenda", WS_POPUP | WS_BORDER, 300, 175, nullptr, instance,
                      CreateSolidBrush(RGB(100, 149, 237)), nullptr);
    Opts = new OptWin("Options", "Seaded", WS_SYSMENU | WS_MINIMIZEBOX, 700, 600, nullptr, instance,
                      CreateSolidBrush(RGB(220, 220, 220)), nullptr);
    Window->create(IDI_LERVA);
    Window->show();
    Window->build();

    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) continue;
        if (IsDialogMessageA(Window->GetWnd(), &msg)) continue;
        if (Win->isOpen && IsDialogMessageA(Win->GetWnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

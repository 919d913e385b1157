// The table's window procedure: the player's clicks and buttons.
#include <cstdio>
#include <functional>

#include "Lerva.h"
#include "MainWin.h"
#include "geometry.h"
#include "table.h"

LRESULT MainWin::WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case WM_LBUTTONUP:
        cardClick(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        return command(hwnd, msg, wParam, lParam);
    case WM_DESTROY:
        if (sideBackBitmap) DeleteObject(sideBackBitmap);
        sideBackBitmap = nullptr;
        PostQuitMessage(18);
        return 0;
    case WM_LERVA_RUN:
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void MainWin::cardClick(int x, int y) {
    if (!playTurn) return;
    const int slot = lerva::handSlotAt(x, y, cardCount[0]);
    if (slot < 0) return;
    if (!check2(hand[slot])) {
        printInfoText("\r\nSa ei saa seda kaarti käia");
        return;
    }
    const lerva::Block block = lerva::cardPlayBlock(hand[slot]);
    // The later cards move one slot to the front with their faces.
    lerva::takeFromHand(hand, cardCount, slot);
    loadHandFaces();
    playTurn = false;
    send(block);
}

LRESULT MainWin::command(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (id == IDC_CONNECT_TABLE || id == IDC_SETTINGS) return WindowProc(hwnd, msg, wParam, lParam);
    if (id == IDC_EXIT) {
        PostQuitMessage(18);
    } else if (id >= IDC_TRUMP_FIRST && id < IDC_TRUMP_FIRST + 4) {
        static const char* const kRefusals[5] = {
            nullptr, nullptr, "\r\nSa ei saa artut trumbiks teha",
            "\r\nSa ei saa potit trumbiks teha", "\r\nSa ei saa ristit trumbiks teha"};
        const int suit = id - IDC_TRUMP_FIRST + 1;
        if (suit == lerva::kDiamonds || check(suit)) {
            send(lerva::trumpChoiceBlock(suit));
            endTrump();
        } else {
            printInfoText(kRefusals[suit]);
        }
    } else if (id >= IDC_PASS && id <= IDC_DIAMONDS_BID && bidTurn) {
        const int bidValue = id - IDC_PASS;
        if (!lerva::bidAllowed(bidValue, bids)) {
            printInfoText("\r\nPead rohkem pakkuma või passima");
            return 0;
        }
        char line[32];
        if (bidValue == 0) std::snprintf(line, sizeof line, "\r\nPassisid");
        else if (bidValue == 10) std::snprintf(line, sizeof line, "\r\nTegid ruutu trumbiks");
        else std::snprintf(line, sizeof line, "\r\nPakkusid %d", bidValue);
        send(lerva::bidBlock(bidValue));
        printInfoText(line);
        bidTurn = false;
    }
    return 0;
}

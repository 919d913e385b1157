// The table window, and with it the whole client-side state of the card
// table: the local hand, the cards on the table, bids, trump, names, card
// counts and the turn flags.
//
// Every field is owned by the main thread: the receive thread never touches
// them, it hands each server message to this window (see Link.h), so a
// paint never sees a half-updated trick or hand.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "Bitmaps.h"
#include "WinClass.h"
#include "cards.h"
#include "protocol.h"
#include "rules.h"
#include "table.h"

// Control ids: the contract between the table, its procedures and the dialogs.
enum ControlId : int {
    IDC_INFO = 101,
    IDC_CONNECT_TABLE = 201,
    IDC_SETTINGS = 202,
    IDC_EXIT = 203,
    IDC_TRUMP_FIRST = 206,   // 206..209: trump buttons for suits 1..4
    IDC_PASS = 600,          // 601..609: bids 1..9
    IDC_DIAMONDS_BID = 610,  // the top bid, 10
};

// Resource ids of the pictures; card faces use their card code.
enum BitmapId : int { IDB_BACK = 1001, IDB_BACK_SIDE = 1002, IDB_TITLE = 1003 };
constexpr int IDI_LERVA = 301;

class MainWin : public WinClass {
public:
    MainWin(const char* className, const char* title, DWORD style, int width, int height,
            HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent);
    ~MainWin() override;

    LRESULT WinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Creates the nineteen child controls; creation failures of the first
    // four are written to the file "error".
    void build();

    // Empties the table after a deal or a lost connection.
    void resetGame();
    // Asks for the whole window, frame included, to be erased and painted.
    void repaint();

    // Dealing and the cards on the table.
    void getCards(const lerva::Block& msg);
    void korrastamine();
    // Lays a reported card on the table; true when the trick is now full and
    // should stay in view for a while before clearTrick.
    bool addCard(const lerva::Block& msg);
    void clearTrick();

    // Bidding and the trump choice.
    void bid();
    void makeBid();
    void addBid(const lerva::Block& msg);
    void endBid();
    void showTrump();
    void endTrump();
    void makeTrump(int suit);

    // Legality and the turn to play.
    bool check(int suit) const;
    bool check2(int card) const;
    void playCard();

    // Names and results.
    void getName(const lerva::Block& msg);
    // Shows the result boxes; true when the game is over, in which case the
    // connection has been shut down.
    bool getPoints(const lerva::Block& msg);

private:
    void paint(HWND hwnd);
    void cardClick(int x, int y);
    LRESULT command(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Keeps each hand slot's face in step with its card.
    void loadHandFaces();
    void showBidRow(int how);
    void showTrumpButtons(int how);
    void send(const lerva::Block& block);
    void resultBox(const char* text);

public:
    // The table state. The main thread owns all of it.
    HWND infoBox = nullptr;
    SOCKET* serverSocket = nullptr;
    HWND connectButton = nullptr;
    HWND settingsButton = nullptr;
    HWND exitButton = nullptr;
    HWND passButton = nullptr;
    std::array<HWND, 9> bidButtons{};
    HWND diamondsBidButton = nullptr;
    std::array<HWND, 4> trumpButtons{};
    HBITMAP sideBackBitmap = nullptr;
    HBITMAP cardBackBitmap = nullptr;
    std::array<HBITMAP, lerva::kHandSize> handBitmaps{};
    std::uint16_t trump = 0;
    lerva::Trick trick{};
    bool bidTurn = false;
    bool playTurn = false;
    bool showTitle = true;
    lerva::CardCounts cardCount{};
    lerva::Hand hand{};
    lerva::Bids bids{};
    std::array<std::optional<std::string>, 3> playerNames;

private:
    // Card faces, suit icons and the title picture, loaded once each.
    BitmapCache pictures;
};

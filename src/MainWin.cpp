// The table state and the operations that the server's messages drive.
#include "MainWin.h"

#include <algorithm>
#include <cstdio>

#include "Connect.h"
#include "Lerva.h"
#include "table.h"

MainWin::MainWin(const char* className, const char* title, DWORD style, int width, int height,
                 HMENU menu, HINSTANCE instance, HBRUSH brush, HWND parent) {
    setParameters(className, title, style, menu, instance, brush, parent);
    HMODULE module = GetModuleHandleA(nullptr);
    cardBackBitmap = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_BACK));
    sideBackBitmap = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_BACK_SIDE));
    winRect = centredRect(width, height);
}

MainWin::~MainWin() {
    if (hWnd) {
        DestroyWindow(hWnd);
        hWnd = nullptr;
    }
    if (cardBackBitmap) DeleteObject(cardBackBitmap);
    if (sideBackBitmap) DeleteObject(sideBackBitmap);
}

void MainWin::repaint() {
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void MainWin::resetGame() {
    bidTurn = false;
    playTurn = false;
    for (auto& name : playerNames) name.reset();
    trump = 0;
    bids.fill(0);
    cardCount.fill(0);
    trick.fill(lerva::kNoCard);
    hand.fill(lerva::kNoCard);
    repaint();
}

// ---- Dealing and the cards on the table -----------------------------------

void MainWin::getCards(const lerva::Block& msg) {
    // Sorted in display order with korrastamine's rule.
    lerva::takeDeal(msg, hand, cardCount);
    loadHandFaces();
    repaint();
}

void MainWin::korrastamine() { lerva::sortHand(hand); }

void MainWin::loadHandFaces() {
    for (int i = 0; i < lerva::kHandSize; ++i) handBitmaps[i] = hand[i] ? pictures.get(hand[i]) : nullptr;
}

bool MainWin::addCard(const lerva::Block& msg) {
    const auto report = lerva::parseCardReport(msg);
    if (!report) return false;
    const bool full = lerva::placeCard(*report, trick, cardCount);
    repaint();
    return full;
}

void MainWin::clearTrick() {
    trick.fill(lerva::kNoCard);
    repaint();
}

// ---- Bidding and the trump choice -----------------------------------------

void MainWin::showBidRow(int how) {
    ShowWindow(passButton, how);
    for (HWND button : bidButtons) ShowWindow(button, how);
    ShowWindow(diamondsBidButton, how);
}

void MainWin::showTrumpButtons(int how) {
    for (HWND button : trumpButtons) ShowWindow(button, how);
}

void MainWin::bid() { showBidRow(SW_SHOW); }

void MainWin::makeBid() {
    bidTurn = true;
    repaint();
}

void MainWin::addBid(const lerva::Block& msg) {
    const auto report = lerva::parseBidReport(msg);
    if (!report) return;
    bids[report->slot] = static_cast<std::int16_t>(report->bid);
    repaint();
}

void MainWin::endBid() {
    bids.fill(0);
    showBidRow(SW_HIDE);
    bidTurn = false;
    repaint();
}

void MainWin::showTrump() {
    showBidRow(SW_HIDE);
    bidTurn = false;
    showTrumpButtons(SW_SHOW);
}

void MainWin::endTrump() { showTrumpButtons(SW_HIDE); }

void MainWin::makeTrump(int suit) {
    if (!lerva::isValidSuit(suit)) return;
    trump = static_cast<std::uint16_t>(suit);
    repaint();
}

// ---- Legality and the turn to play ----------------------------------------

bool MainWin::check(int suit) const { return lerva::trumpChoiceAllowed(hand, suit, bids[1]); }

bool MainWin::check2(int card) const {
    return lerva::cardAllowed(hand, static_cast<lerva::CardCode>(card), lerva::ledSuit(trick, trump), trump);
}

void MainWin::playCard() {
    playTurn = true;
    repaint();
}

// ---- Names and results ----------------------------------------------------

void MainWin::getName(const lerva::Block& msg) {
    auto free = std::find_if(playerNames.begin(), playerNames.end(), [](auto& n) { return !n; });
    if (free == playerNames.end()) return;
    if (auto name = lerva::parseName(msg)) *free = std::move(*name);
}

void MainWin::resultBox(const char* text) { MessageBoxA(hWnd, text, "Tulemused", MB_OK); }

bool MainWin::getPoints(const lerva::Block& msg) {
    const auto [a, b, c] = lerva::parsePoints(msg);
    char text[128];
    std::snprintf(text, sizeof text,
                  a > 60 ? "Teie võitsite selle mängu tulemusega %d/%d"
                         : "Teie kaotasite selle mängu tulemusega %d/%d",
                  a, 120 - a);
    resultBox(text);
    if (b <= 11 && c <= 11) {
        std::snprintf(text, sizeof text,
                      "Praegune mängupunktide seis on %d/%d\n"
                      "(See tiim, mis vähemalt 12 punkti saab võidab)",
                      b, c);
        resultBox(text);
        return false;
    }
    std::snprintf(text, sizeof text,
                  b > 11 ? "Teie võitsite terve mängu tulemusega %d/%d"
                         : "Teie kaotasite terve mängu tulemusega %d/%d",
                  b, c);
    if (serverSocket) shutdown(*serverSocket, SD_BOTH);
    resultBox(text);
    return true;
}

void MainWin::send(const lerva::Block& block) {
    if (serverSocket) sendBlock(*serverSocket, block);
}

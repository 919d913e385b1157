#include <gtest/gtest.h>

#include <cstdio>

#include "table_fixture.h"

namespace {

// Where the system would put the next GDI object. Freed handles are reused
// first, so this stays put while painting creates no more objects than it
// deletes, and climbs with every object that is never released.
unsigned nextGdiSlot() {
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    const unsigned slot = LOWORD(reinterpret_cast<UINT_PTR>(probe));
    DeleteObject(probe);
    return slot;
}

void paintNow(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

}  // namespace

TEST_F(TableTest, AThousandPaintsOfAFullTableUseNoMoreGdiObjectsThanOne) {
    lerva::Block deal = lerva::dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31});
    table->getCards(deal);
    table->trick = {11, 12, 13, 24};
    table->bids = {-1, 5, 6, 10};
    table->trump = 3;
    table->bidTurn = table->playTurn = true;
    table->playerNames = {std::string("Vasak"), std::string("Vastas"), std::string("Parem")};
    paintNow(table->GetWnd());
    const unsigned afterOne = nextGdiSlot();
    for (int i = 0; i < 1000; ++i) paintNow(table->GetWnd());
    const unsigned afterThousand = nextGdiSlot();
    std::printf("next GDI slot after one paint: %u, after 1000 more: %u\n", afterOne, afterThousand);
    EXPECT_LE(afterThousand, afterOne + 4);

    // The measure itself: objects that are never released move the slot on.
    HBRUSH leaked[100];
    for (HBRUSH& b : leaked) b = CreateSolidBrush(RGB(9, 9, 9));
    EXPECT_GE(nextGdiSlot(), afterThousand + 100);
    for (HBRUSH b : leaked) DeleteObject(b);
}

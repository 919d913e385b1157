// Drawing the table from its state.
#include "MainWin.h"

#include "geometry.h"

namespace {

struct Point { int x, y; };

// Where each seat's card lies on the table (its centre), by seat.
constexpr Point kTrickCentre[lerva::kSeats] = {{350, 312}, {270, 247}, {350, 182}, {430, 247}};
// Top left of each bid label, by bid slot.
constexpr Point kBidLabel[lerva::kSeats] = {{160, 250}, {300, 360}, {450, 250}, {300, 125}};
// Top left of the other players' names, in arrival order: left, top, right.
constexpr Point kNamePosition[3] = {{50, 50}, {300, 5}, {555, 50}};

// Copies bitmaps at their own size from a memory device context.
class Painter {
public:
    explicit Painter(HDC target) : dc(target), memory(CreateCompatibleDC(target)) {
        original = SelectObject(memory, GetStockObject(BLACK_PEN));
        SetBkMode(dc, TRANSPARENT);
    }
    ~Painter() {
        SelectObject(memory, original);
        DeleteDC(memory);
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    static SIZE sizeOf(HBITMAP bitmap) {
        BITMAP info{};
        if (bitmap) GetObjectA(bitmap, sizeof info, &info);
        return SIZE{info.bmWidth, info.bmHeight};
    }
    void draw(HBITMAP bitmap, int x, int y) {
        if (!bitmap) return;
        const SIZE size = sizeOf(bitmap);
        SelectObject(memory, bitmap);
        BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    }
    void drawCentred(HBITMAP bitmap, Point centre) {
        const SIZE size = sizeOf(bitmap);
        draw(bitmap, centre.x - size.cx / 2, centre.y - size.cy / 2);
    }
    void text(Point at, const char* text) { TextOutA(dc, at.x, at.y, text, lstrlenA(text)); }

private:
    HDC dc;
    HDC memory;
    HGDIOBJ original;
};

// What the table shows for a standing bid; nothing for "no bid yet".
void bidLabel(int bid, char (&label)[32]) {
    label[0] = '\0';
    if (bid == -1) lstrcpyA(label, "Passis");
    else if (bid >= 1 && bid <= 9) wsprintfA(label, "pakkus %d", bid);
    else if (bid == 10) lstrcpyA(label, "pakkus Ruutu");
}

// The face-down hands of the other three players. Each row is drawn so that
// the card further from its start lies on top, except the left hand, whose
// first (topmost) card lies on top.
void paintBacks(Painter& painter, const std::array<std::uint16_t, lerva::kSeats>& cardCount,
                HBITMAP upright, HBITMAP sideways) {
    const SIZE side = Painter::sizeOf(sideways);
    const SIZE top = Painter::sizeOf(upright);
    const int leftCards = cardCount[1], rightCards = cardCount[3], topCards = cardCount[2];
    const int leftY = lerva::spreadStart(leftCards, side.cy, lerva::kSideHandCentreY);
    for (int k = leftCards - 1; k >= 0; --k)
        painter.draw(sideways, 50, lerva::spreadPosition(leftY, k, side.cy));
    const int rightY = lerva::spreadStart(rightCards, side.cy, lerva::kSideHandCentreY);
    for (int k = 0; k < rightCards; ++k)
        painter.draw(sideways, 650 - side.cx, lerva::spreadPosition(rightY, k, side.cy));
    const int topX = lerva::spreadStart(topCards, top.cx, lerva::kHandCentreX);
    for (int k = 0; k < topCards; ++k)
        painter.draw(upright, lerva::spreadPosition(topX, k, top.cx), 25);
}

// The local hand, face up, from its occupied slots.
void paintHand(Painter& painter, int cards, const lerva::Hand& hand,
               const std::array<HBITMAP, lerva::kHandSize>& faces) {
    int k = 0;
    for (int slot = 0; slot < lerva::kHandSize; ++slot) {
        if (hand[slot] == lerva::kNoCard) continue;
        const SIZE size = Painter::sizeOf(faces[slot]);
        const int x0 = lerva::spreadStart(cards, size.cx, lerva::kHandCentreX);
        painter.draw(faces[slot], lerva::spreadPosition(x0, k, size.cx), lerva::kHandBottom - size.cy);
        ++k;
    }
}

}  // namespace

void MainWin::paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    {
        Painter painter(dc);
        if (showTitle) {
            painter.drawCentred(pictures.get(IDB_TITLE), {350, 312});
            Sleep(2000);
            showTitle = false;
            repaint();
        }
        for (int slot : {0, 3, 2, 1}) {
            char label[32];
            bidLabel(bids[slot], label);
            if (label[0]) painter.text(kBidLabel[slot], label);
        }
        if (playTurn) painter.text({300, 480}, "Sinu kord käia");
        if (bidTurn) painter.text({300, 300}, "Sinu kord pakkuda");
        for (int i = 0; i < 3; ++i)
            if (playerNames[i]) painter.text(kNamePosition[i], playerNames[i]->c_str());
        if (trump != 0) {
            painter.text({50, 25}, "Trump:");
            painter.draw(pictures.get(trump), 100, 20);
        }
        for (int seat = 0; seat < lerva::kSeats; ++seat)
            if (trick[seat]) painter.drawCentred(pictures.get(trick[seat]), kTrickCentre[seat]);
        paintBacks(painter, cardCount, cardBackBitmap, sideBackBitmap);
        paintHand(painter, cardCount[0], hand, handBitmaps);
    }
    EndPaint(hwnd, &ps);
}

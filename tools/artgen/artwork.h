// Every picture the client embeds, drawn from the pieces in this directory.
#pragma once

#include <vector>

#include "canvas.h"
#include "font.h"
#include "geometry.h"

namespace artgen {

constexpr int kCardWidth = 71;
constexpr int kCardHeight = 96;
constexpr int kSuitIconSize = 23;
constexpr int kTitleWidth = 350;
constexpr int kTitleHeight = 200;
constexpr int kIconSize = 64;

// The felt the client paints the table with; card corners outside the
// rounded edge take this colour so they vanish on the table.
constexpr Color kTableColor{178, 34, 34};

struct Fonts {
    Font serif{kSerifBoldFont};
    Font sans{kSansBoldFont};
};

// Where one pip of a plain card sits, in card pixels.
struct Pip {
    Vec2 centre;
    bool upsideDown;
};

// The pips of a six to ten (rank 1..5) or the single ace pip (rank 6).
std::vector<Pip> pipLayout(int rank);

// Draw a card in card pixels (71 x 96, origin top-left) through the
// canvas transform; outside the rounded corners nothing is painted.
void drawFace(Canvas& canvas, const Fonts& fonts, int code);
void drawBack(Canvas& canvas);
// The framed, double-ended picture of a jack, queen or king (rank 7..9).
void drawCourt(Canvas& canvas, int rank, int suit);

Image renderFace(const Fonts& fonts, int code);
Image renderBack();
Image renderSuitIcon(int suit);
Image renderTitle(const Fonts& fonts);
// Alpha is 0 or 255 only, as an icon's AND mask demands.
Image renderIcon(const Fonts& fonts);

}  // namespace artgen

// The four suit marks as vector shapes, and their colours.
#pragma once

#include "canvas.h"
#include "geometry.h"

namespace artgen {

// Suit numbers as in the card codes: 1 diamonds, 2 hearts, 3 spades, 4 clubs.
constexpr int kDiamonds = 1, kHearts = 2, kSpades = 3, kClubs = 4;

constexpr Color kRed{200, 0, 0};
constexpr Color kBlack{0, 0, 0};

constexpr bool isRedSuit(int suit) { return suit == kDiamonds || suit == kHearts; }
constexpr Color suitColor(int suit) { return isRedSuit(suit) ? kRed : kBlack; }

// The suit mark one unit high, centred on the origin, point or stem down.
Path suitShape(int suit);

// The suit mark `height` pixels high centred on `centre`; upside down turns
// it a half turn about its centre, as on the lower half of a card.
Path suitShape(int suit, Vec2 centre, double height, bool upsideDown = false);

}  // namespace artgen

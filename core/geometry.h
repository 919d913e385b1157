// Where the table draws things, as plain arithmetic shared by painting, the
// click test and the tests.
#pragma once

namespace lerva {

constexpr int kCardWidth = 71;
constexpr int kCardHeight = 96;

// First card of a row of n cards of size `size`, half overlapping, centred
// on `centre`; card k lies at start + (k * size) / 2.
constexpr int spreadStart(int n, int size, double centre) {
    return static_cast<int>(centre - (n + 1) * size / 4.0);
}
constexpr int spreadPosition(int start, int k, int size) { return start + (k * size) / 2; }

// The local hand: n faces centred on x = 350, bottom edge at y = 475.
constexpr double kHandCentreX = 350;
constexpr double kSideHandCentreY = 247.5;
constexpr int kHandBottom = 475;

// Slot of the local hand under a click at (x, y) with n cards, or -1. Where
// two cards overlap, the right one lies on top and wins.
constexpr int handSlotAt(int x, int y, int n) {
    if (n <= 0 || n > 9 || y < 380 || y > 474) return -1;
    const int q = (kCardWidth * n + kCardWidth) / 4;
    if (x <= 350 - q || x >= 350 + q) return -1;
    // Left edges of the cards from the right, each half a card (35.5 pixels)
    // further left, relative to q.
    constexpr int edges[9] = {279, 244, 208, 173, 137, 102, 66, 31, -5};
    for (int k = 0; k < n; ++k)
        if (x > q + edges[k]) return n - 1 - k;
    return -1;
}

}  // namespace lerva

// The card back: a white-bordered blue panel with a lattice pattern.
#include <cmath>

#include "artwork.h"

namespace artgen {

namespace {

constexpr int kSupersample = 8;
constexpr Color kEdge{40, 40, 40};
constexpr Color kWhite{255, 255, 255};
constexpr Color kNavy{18, 40, 130};
constexpr Color kLattice{70, 112, 214};
constexpr Color kKnot{190, 210, 255};

}  // namespace

void drawBack(Canvas& canvas) {
    constexpr double w = kCardWidth, h = kCardHeight;
    constexpr double cx = w / 2, cy = h / 2;
    constexpr double inset = 4;

    canvas.fill(roundRect(0, 0, w, h, 3.5), kEdge);
    canvas.fill(roundRect(1, 1, w - 1, h - 1, 2.5), kWhite);
    const Contour panel = roundRect(inset, inset, w - inset, h - inset, 2);
    canvas.fill(Path(panel), kNavy);

    // Diagonal lattice centred on the card, so the back looks the same
    // either way up; knots where the lines cross.
    canvas.clipTo(Path(panel));
    constexpr double period = 7;
    for (int k = -14; k <= 14; ++k) {
        const double off = k * period;
        canvas.fill(stroke({{cx + off - 60, cy - 60}, {cx + off + 60, cy + 60}}, 1.1), kLattice);
        canvas.fill(stroke({{cx + off - 60, cy + 60}, {cx + off + 60, cy - 60}}, 1.1), kLattice);
    }
    for (int i = -14; i <= 14; ++i)
        for (int j = -14; j <= 14; ++j) {
            // Crossings of x - y = i*period and x + y = j*period around the centre.
            const double x = cx + (i + j) * period / 2, y = cy + (j - i) * period / 2;
            if ((i + j) % 2 == 0) canvas.fill(Path(circle({x, y}, 1.0)), kKnot);
        }

    // Medallion: a white-ringed oval with a blue centre and a white star.
    canvas.fill(Path(ellipse(cx, cy, 17, 22)), kWhite);
    canvas.fill(Path(ellipse(cx, cy, 15.6, 20.6)), kNavy);
    canvas.fill(Path(ellipse(cx, cy, 13.8, 18.8)), kLattice);
    canvas.fill(Path(ellipse(cx, cy, 12.8, 17.8)), kNavy);
    Contour star;
    for (int i = 0; i < 16; ++i) {
        const double a = kPi * i / 8;
        const double r = i % 2 == 0 ? 1.0 : 0.38;
        star.push_back({cx + 11 * r * std::sin(a), cy - 15.5 * r * std::cos(a)});
    }
    canvas.fill(Path(star), kKnot);
    canvas.fill(Path(ellipse(cx, cy, 3.2, 4.2)), kNavy);
    canvas.fill(Path(ellipse(cx, cy, 2.0, 2.7)), kWhite);
    canvas.resetClip();

    // A thin white rule just inside the panel edge.
    const Contour rule = roundRect(inset + 1.6, inset + 1.6, w - inset - 1.6, h - inset - 1.6, 1.2);
    canvas.fill(stroke(rule, 0.6, true), kWhite);
}

Image renderBack() {
    Canvas canvas(kCardWidth, kCardHeight, kSupersample);
    canvas.clear(kTableColor);
    drawBack(canvas);
    return canvas.resolve();
}

}  // namespace artgen

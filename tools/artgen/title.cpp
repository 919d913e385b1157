// The title card: the program name over a fan of cards on green felt.
#include <cmath>

#include "artwork.h"
#include "suits.h"

namespace artgen {

namespace {

constexpr int kSupersample = 6;
constexpr Color kFeltTop{22, 110, 58};
constexpr Color kFeltBottom{8, 62, 32};
constexpr Color kGold{226, 182, 72};
constexpr Color kCream{255, 248, 225};
constexpr Color kShadow{0, 0, 0};

}  // namespace

Image renderTitle(const Fonts& fonts) {
    constexpr double w = kTitleWidth, h = kTitleHeight;
    Canvas canvas(kTitleWidth, kTitleHeight, kSupersample);
    canvas.fillShaded(Path(rect(0, 0, w, h)), [](Vec2 at) {
        // Lighter in the middle, darker towards the edges, like a lamp over felt.
        const double dx = (at.x - w / 2) / w, dy = (at.y - h * 0.45) / h;
        return mix(kFeltTop, kFeltBottom, std::min(1.0, 1.6 * std::hypot(dx, dy)));
    });
    canvas.fill(stroke(roundRect(6, 6, w - 6, h - 6, 8), 1.2, true), kGold);

    // Small suit marks in the corners.
    const Vec2 corners[4] = {{20, 20}, {w - 20, 20}, {20, h - 20}, {w - 20, h - 20}};
    for (int suit = 1; suit <= 4; ++suit)
        canvas.fill(suitShape(suit, corners[suit - 1], 11), kGold);

    // The name, with a soft shadow.
    const std::string name = "Lerva 1.1";
    const double size = 58;
    const Path text = fonts.serif.text(name, size);
    const Bounds b = text.bounds();
    const Affine place = Affine::translate(w / 2 - (b.x0 + b.x1) / 2, 68);
    for (int i = 3; i >= 1; --i)
        canvas.fill(text.transformed(Affine::translate(i * 0.8, i * 0.8) * place), kShadow, 0.18,
                    FillRule::NonZero);
    canvas.fill(text.transformed(place), kCream, 1.0, FillRule::NonZero);

    // A fan of five cards below the name.
    const int fan[] = {14, 71, 82, 63, 92};
    const Vec2 pivot{w / 2, 385};
    const double radius = 250, scale = 0.8;
    for (int i = 0; i < 5; ++i) {
        const double angle = (i - 2) * 9.0 * kPi / 180;
        const Affine card = Affine::translate(pivot.x, pivot.y) * Affine::rotate(angle) *
                            Affine::translate(0, -radius) * Affine::scale(scale) *
                            Affine::translate(-kCardWidth / 2.0, -kCardHeight / 2.0);
        canvas.transform = Affine::translate(1.5, 1.5) * card;
        canvas.fill(Path(roundRect(0, 0, kCardWidth, kCardHeight, 3.5)), kShadow, 0.35);
        canvas.transform = card;
        drawFace(canvas, fonts, fan[i]);
    }
    canvas.transform = {};
    return canvas.resolve();
}

}  // namespace artgen

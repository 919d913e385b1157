// Card faces: the blank, the corner indices and the pips of six to ace.
#include <stdexcept>
#include <string>

#include "artwork.h"
#include "suits.h"

namespace artgen {

namespace {

constexpr int kSupersample = 8;
constexpr Color kWhite{255, 255, 255};
constexpr Color kEdge{40, 40, 40};

// Pip columns and the top and bottom pip rows; the card centre is (35.5, 48).
constexpr double kLeft = 21.5, kCentre = 35.5, kRight = 49.5;
constexpr double kTop = 17.5, kMiddle = 48, kBottom = 78.5;
constexpr double kPipHeight = 13;
constexpr double kAcePipHeight = 36;

// Corner index: rank sign above a small suit mark.
constexpr double kIndexX = 7.0;
constexpr double kIndexCap = 9.0;
constexpr double kIndexTop = 3.0;
constexpr double kIndexMaxHeight = 10.0;
constexpr double kIndexMaxWidth = 11.0;
constexpr double kIndexSuitY = 17.5;
constexpr double kIndexSuitHeight = 7.0;

const char* rankSign(int rank) {
    static const char* const signs[] = {"6", "7", "8", "9", "10", "A", "J", "Q", "K"};
    if (rank < 1 || rank > 9) throw std::invalid_argument("no such rank");
    return signs[rank - 1];
}

// The rank sign at the index's capital height, its top on the index top,
// centred on x = cx. A sign that reaches below the baseline (the tail of
// the Q) is made smaller to stay clear of the suit mark; one too wide
// (the 10) is squeezed sideways.
Path rankLabel(const Font& font, const std::string& text, double cx) {
    constexpr double em = 100;
    const double capHeight = -font.text("K", em).bounds().y0;
    const Path raw = font.text(text, em);
    const Bounds b = raw.bounds();
    const double k = std::min(kIndexCap / capHeight, kIndexMaxHeight / b.height());
    const double sx = std::min(k, kIndexMaxWidth / b.width());
    return raw.transformed(Affine::translate(cx, kIndexTop) * Affine::scale(sx, k) *
                           Affine::translate(-(b.x0 + b.x1) / 2, -b.y0));
}

void drawIndex(Canvas& canvas, const Fonts& fonts, int rank, int suit) {
    const Color ink = suitColor(suit);
    canvas.fill(rankLabel(fonts.serif, rankSign(rank), kIndexX), ink, 1.0,
                FillRule::NonZero);
    canvas.fill(suitShape(suit, {kIndexX, kIndexSuitY}, kIndexSuitHeight), ink);
}

}  // namespace

std::vector<Pip> pipLayout(int rank) {
    const double step = (kBottom - kTop) / 3;  // four-row columns of the 9 and 10
    std::vector<Vec2> at;
    auto column = [&at](double x, std::initializer_list<double> ys) {
        for (double y : ys) at.push_back({x, y});
    };
    switch (rank) {
    case 1:  // six
    case 2:  // seven
    case 3:  // eight
        column(kLeft, {kTop, kMiddle, kBottom});
        column(kRight, {kTop, kMiddle, kBottom});
        if (rank >= 2) at.push_back({kCentre, (kTop + kMiddle) / 2});
        if (rank == 3) at.push_back({kCentre, (kMiddle + kBottom) / 2});
        break;
    case 4:  // nine
    case 5:  // ten
        column(kLeft, {kTop, kTop + step, kBottom - step, kBottom});
        column(kRight, {kTop, kTop + step, kBottom - step, kBottom});
        if (rank == 4)
            at.push_back({kCentre, kMiddle});
        else
            column(kCentre, {kTop + step / 2, kBottom - step / 2});
        break;
    case 6:  // ace
        at.push_back({kCentre, kMiddle});
        break;
    default:
        throw std::invalid_argument("no pips on a court card");
    }
    std::vector<Pip> pips;
    for (Vec2 p : at) pips.push_back({p, p.y > kMiddle});
    return pips;
}

void drawFace(Canvas& canvas, const Fonts& fonts, int code) {
    const int rank = code / 10, suit = code % 10;
    if (rank < 1 || rank > 9 || suit < 1 || suit > 4) throw std::invalid_argument("no such card");

    canvas.fill(roundRect(0, 0, kCardWidth, kCardHeight, 3.5), kEdge);
    canvas.fill(roundRect(1, 1, kCardWidth - 1, kCardHeight - 1, 2.5), kWhite);

    const Affine base = canvas.transform;
    drawIndex(canvas, fonts, rank, suit);
    canvas.transform = base * Affine::halfTurn(kCardWidth / 2.0, kCardHeight / 2.0);
    drawIndex(canvas, fonts, rank, suit);
    canvas.transform = base;

    if (rank >= 7) {
        drawCourt(canvas, rank, suit);
        return;
    }
    const double height = rank == 6 ? kAcePipHeight : kPipHeight;
    for (const Pip& pip : pipLayout(rank))
        canvas.fill(suitShape(suit, pip.centre, height, pip.upsideDown), suitColor(suit));
}

Image renderFace(const Fonts& fonts, int code) {
    Canvas canvas(kCardWidth, kCardHeight, kSupersample);
    canvas.clear(kTableColor);
    drawFace(canvas, fonts, code);
    return canvas.resolve();
}

Image renderSuitIcon(int suit) {
    constexpr double n = kSuitIconSize;
    Canvas canvas(kSuitIconSize, kSuitIconSize, kSupersample);
    canvas.clear(kTableColor);
    canvas.fill(roundRect(0, 0, n, n, 4), Color{120, 120, 120});
    canvas.fill(roundRect(1, 1, n - 1, n - 1, 3), Color{250, 248, 240});
    canvas.fill(suitShape(suit, {n / 2, n / 2}, 15), suitColor(suit));
    return canvas.resolve();
}

}  // namespace artgen

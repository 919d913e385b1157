// Jacks, queens and kings: a framed bust, repeated upside down below a
// dividing line like a double-ended court card.
#include <cmath>
#include <stdexcept>

#include "artwork.h"
#include "suits.h"

namespace artgen {

namespace {

// The picture frame; its centre is the card centre (35.5, 48).
constexpr double kFrameX0 = 13, kFrameY0 = 8, kFrameX1 = 58, kFrameY1 = 88;
constexpr double kDivide = 48;
constexpr double kMid = 35.5;

constexpr Color kPanel{253, 249, 236};
constexpr Color kGold{236, 184, 36};
constexpr Color kGoldLine{130, 86, 8};
constexpr Color kSkin{252, 216, 176};
constexpr Color kSkinLine{150, 92, 60};
constexpr Color kInk{30, 20, 20};
constexpr Color kWhite{255, 255, 255};
constexpr Color kGrey{120, 120, 120};
constexpr Color kBlue{36, 70, 170};
constexpr Color kLips{200, 40, 40};

constexpr int kKing = 9, kQueen = 8, kJack = 7;

// The robe colour: the suit colour, with black lifted a little so the
// folds and trim stay visible.
Color robeColor(int suit) { return isRedSuit(suit) ? kRed : Color{28, 28, 34}; }
Color robeLine(int suit) { return isRedSuit(suit) ? Color{110, 0, 0} : Color{0, 0, 0}; }

class Painter {
public:
    explicit Painter(Canvas& c) : c_(c) {}

    void fill(const Path& p, Color col) { c_.fill(p, col); }
    // Fills the shape and traces each of its contours with a thin line.
    void outlined(const Path& p, Color col, Color line, double width = 0.45) {
        c_.fill(p, col);
        for (const Contour& contour : p.contours) c_.fill(stroke(contour, width, true), line);
    }
    void line(std::vector<Vec2> pts, Color col, double width) { c_.fill(stroke(pts, width), col); }
    void dot(Vec2 at, double r, Color col) { c_.fill(circle(at, r), col); }

private:
    Canvas& c_;
};

// The body under the head, cut off by the dividing line.
Path robeShape() {
    return PathBuilder()
        .moveTo({17, 52})
        .lineTo({18, 41.5})
        .cubicTo({19, 36.2}, {23.5, 34}, {29.5, 33.4})
        .lineTo({41.5, 33.4})
        .cubicTo({47.5, 34}, {52, 36.2}, {53, 41.5})
        .lineTo({54, 52})
        .build();
}

void drawRobe(Painter& p, int rank, int suit) {
    p.outlined(robeShape(), robeColor(suit), robeLine(suit), 0.5);
    // Fold lines on the sleeves.
    const Color fold = isRedSuit(suit) ? Color{150, 0, 0} : Color{70, 70, 80};
    p.line({{21, 40}, {20, 47.5}}, fold, 0.45);
    p.line({{50, 40}, {51, 47.5}}, fold, 0.45);

    switch (rank) {
    case kKing: {
        // Gold front panel with studs, under an ermine cape.
        p.outlined(Path(rect(32.6, 34, 38.4, 50)), kGold, kGoldLine);
        for (double y : {38.0, 42.0, 46.0}) p.dot({kMid, y}, 0.8, robeLine(suit));
        Path cape = PathBuilder()
                        .moveTo({20.5, 36.2})
                        .cubicTo({25, 33}, {30, 32.2}, {kMid, 32.2})
                        .cubicTo({41, 32.2}, {46, 33}, {50.5, 36.2})
                        .cubicTo({47, 38.6}, {42, 38.2}, {kMid, 37.2})
                        .cubicTo({29, 38.2}, {24, 38.6}, {20.5, 36.2})
                        .build();
        p.outlined(cape, kWhite, kGrey, 0.4);
        for (Vec2 spot : {Vec2{24.5, 35.6}, Vec2{29, 34.8}, Vec2{42, 34.8}, Vec2{46.5, 35.6}})
            p.fill(Path(ellipse(spot.x, spot.y, 0.45, 0.8)), kInk);
        break;
    }
    case kQueen: {
        // Blue bodice laced in gold inside a gold-edged neckline.
        Path bodice(polygon({{30.5, 33}, {40.5, 33}, {38.5, 50}, {32.5, 50}}));
        p.outlined(bodice, kBlue, kGoldLine, 0.4);
        p.line({{30.5, 33}, {32.5, 50}}, kGold, 0.9);
        p.line({{40.5, 33}, {38.5, 50}}, kGold, 0.9);
        for (double y = 37; y < 49; y += 3) p.line({{33.6, y}, {37.4, y + 1.5}}, kGold, 0.45);
        // Necklace with a pendant.
        Contour chain;
        for (int i = 0; i <= 12; ++i) {
            const double a = kPi * i / 12;
            chain.push_back({kMid + 4.2 * std::cos(a), 31.8 + 2.4 * std::sin(a)});
        }
        p.line(chain, kGold, 0.6);
        p.outlined(Path(circle({kMid, 34.8}, 1.1)), kLips, kGoldLine, 0.35);
        break;
    }
    case kJack: {
        // Tunic with gold stripes, a belt and a white collar.
        for (double x : {31.5, 39.5}) p.fill(Path(rect(x - 0.7, 33, x + 0.7, 50)), kGold);
        for (double y : {38.0, 42.0, 46.0}) p.outlined(Path(circle({kMid, y}, 0.8)), kGold, kGoldLine, 0.3);
        p.outlined(Path(ellipse(kMid, 33.8, 6.5, 1.9)), kWhite, kGrey, 0.4);
        break;
    }
    }
}

// The hand-held emblem on the figure's left (the viewer's right).
void drawEmblem(Painter& p, int rank) {
    constexpr double x = 49.5;
    switch (rank) {
    case kKing:  // sceptre with an orb and cross
        p.line({{x, 45}, {x, 19}}, kGoldLine, 1.6);
        p.line({{x, 45}, {x, 19}}, kGold, 0.9);
        p.outlined(Path(circle({x, 17.5}, 2)), kGold, kGoldLine, 0.4);
        p.line({{x, 15.5}, {x, 12}}, kGoldLine, 0.7);
        p.line({{x - 1.4, 13.4}, {x + 1.4, 13.4}}, kGoldLine, 0.7);
        break;
    case kQueen: {  // a rose on a stem
        const Color leaf{40, 130, 50};
        p.line({{x, 44}, {x - 0.6, 32}, {x, 22}}, leaf, 0.7);
        p.fill(Path(ellipse(x + 1.6, 30, 1.6, 0.8)), leaf);
        for (int i = 0; i < 5; ++i) {
            const double a = -kPi / 2 + 2 * kPi * i / 5;
            p.outlined(Path(circle({x + 1.9 * std::cos(a), 19.5 + 1.9 * std::sin(a)}, 1.5)), kLips,
                       Color{120, 0, 0}, 0.3);
        }
        p.dot({x, 19.5}, 1.0, kGold);
        break;
    }
    case kJack:  // halberd
        p.line({{x, 47}, {x, 13}}, Color{110, 70, 30}, 1.0);
        p.outlined(Path(polygon({{x, 9.5}, {x + 1.3, 13}, {x - 1.3, 13}})), Color{215, 220, 228}, kInk, 0.35);
        p.outlined(Path(polygon({{x + 0.5, 14}, {x + 4, 13.3}, {x + 4.4, 18}, {x + 0.5, 17}})),
                   Color{215, 220, 228}, kInk, 0.35);
        break;
    }
    // The hand holding it.
    p.outlined(Path(ellipse(x, 39, 2.0, 1.7)), kSkin, kSkinLine, 0.4);
}

void drawHair(Painter& p, int rank) {
    switch (rank) {
    case kKing: {  // white hair and a full beard
        const Color hair{244, 244, 244};
        p.outlined(Path(ellipse(kMid, 21.5, 6.4, 6.3)), hair, kGrey, 0.4);
        break;
    }
    case kQueen: {  // long golden-brown hair to the shoulders
        const Color hair{196, 128, 40};
        Path locks = PathBuilder()
                         .moveTo({kMid, 15.5})
                         .cubicTo({41, 15.5}, {42.5, 20}, {42, 26})
                         .cubicTo({41.8, 30}, {43.5, 33}, {44.5, 35})
                         .lineTo({26.5, 35})
                         .cubicTo({27.5, 33}, {29.2, 30}, {29, 26})
                         .cubicTo({28.5, 20}, {30, 15.5}, {kMid, 15.5})
                         .build();
        p.outlined(locks, hair, Color{110, 60, 10}, 0.4);
        break;
    }
    case kJack: {  // short brown hair
        const Color hair{120, 70, 30};
        p.outlined(Path(ellipse(kMid, 21.5, 5.9, 5.6)), hair, Color{70, 35, 10}, 0.4);
        Path bob(rect(29.8, 21, 41.2, 26.5));
        p.fill(bob, hair);
        break;
    }
    }
}

void drawFaceAndNeck(Painter& p, int rank) {
    p.outlined(Path(rect(33.4, 27, 37.6, 33)), kSkin, kSkinLine, 0.35);
    p.outlined(Path(ellipse(kMid, 23.6, 4.6, 5.7)), kSkin, kSkinLine, 0.4);
    // Eyes and brows.
    for (double side : {-1.0, 1.0}) {
        p.fill(Path(ellipse(kMid + side * 1.9, 22.6, 0.75, 0.55)), kWhite);
        p.dot({kMid + side * 1.9, 22.6}, 0.42, kInk);
        p.line({{kMid + side * 1.0, 21.2}, {kMid + side * 2.9, 21.1}}, Color{90, 50, 20}, 0.4);
    }
    // Nose.
    p.line({{kMid - 0.1, 23}, {kMid - 0.6, 25.2}, {kMid + 0.4, 25.4}}, kSkinLine, 0.35);
    if (rank == kKing) {
        // Moustache and beard over the chin.
        const Color beard{244, 244, 244};
        Path b = PathBuilder()
                     .moveTo({31.2, 25})
                     .cubicTo({31.5, 29.5}, {33.5, 32.5}, {kMid, 33.5})
                     .cubicTo({37.5, 32.5}, {39.5, 29.5}, {39.8, 25})
                     .cubicTo({38.5, 27.4}, {32.5, 27.4}, {31.2, 25})
                     .build();
        p.outlined(b, beard, kGrey, 0.4);
        p.line({{33, 26.6}, {kMid, 26.1}, {38, 26.6}}, Color{150, 150, 150}, 0.55);
        p.line({{34.5, 27.6}, {36.5, 27.6}}, kLips, 0.5);
    } else {
        p.line({{34.3, 27.2}, {kMid, 27.6}, {36.7, 27.2}}, kLips, 0.6);
        if (rank == kQueen)
            for (double side : {-1.0, 1.0}) p.dot({kMid + side * 2.7, 25.6}, 0.7, Color{250, 180, 170});
    }
}

void drawHeadwear(Painter& p, int rank, int suit) {
    switch (rank) {
    case kKing: {  // crown with three points
        Path crown = PathBuilder()
                         .moveTo({30.2, 18.2})
                         .lineTo({29.6, 13.4})
                         .lineTo({32.6, 15.6})
                         .lineTo({kMid, 11.8})
                         .lineTo({38.4, 15.6})
                         .lineTo({41.4, 13.4})
                         .lineTo({40.8, 18.2})
                         .build();
        p.outlined(crown, kGold, kGoldLine, 0.4);
        p.outlined(Path(rect(30.1, 16.4, 40.9, 18.6)), kGold, kGoldLine, 0.35);
        for (Vec2 tip : {Vec2{29.6, 13.2}, Vec2{kMid, 11.5}, Vec2{41.4, 13.2}})
            p.outlined(Path(circle(tip, 0.85)), kGold, kGoldLine, 0.3);
        const Color jewel = isRedSuit(suit) ? kBlue : kLips;
        for (double x : {32.4, kMid, 38.6}) p.dot({x, 17.5}, 0.6, jewel);
        break;
    }
    case kQueen: {  // a low tiara of pearls over a veil
        Path veil = PathBuilder()
                        .moveTo({28, 30})
                        .cubicTo({26.5, 21}, {29.5, 14.2}, {kMid, 14.2})
                        .cubicTo({41.5, 14.2}, {44.5, 21}, {43, 30})
                        .lineTo({41, 19})
                        .cubicTo({39, 16.8}, {32, 16.8}, {30, 19})
                        .build();
        p.outlined(veil, Color{236, 240, 252}, Color{120, 130, 160}, 0.4);
        Path tiara = PathBuilder()
                         .moveTo({31, 18.6})
                         .cubicTo({32.5, 15.8}, {34, 15}, {kMid, 13.2})
                         .cubicTo({37, 15}, {38.5, 15.8}, {40, 18.6})
                         .cubicTo({37, 17.6}, {34, 17.6}, {31, 18.6})
                         .build();
        p.outlined(tiara, kGold, kGoldLine, 0.35);
        for (double x : {32.4, 34.0, 37.0, 38.6}) p.dot({x, 17.2}, 0.5, kWhite);
        p.outlined(Path(circle({kMid, 14.6}, 0.8)), kLips, kGoldLine, 0.3);
        break;
    }
    case kJack: {  // a flat cap with a plume
        const Color plume{250, 250, 250};
        Path feather = PathBuilder()
                           .moveTo({37.5, 15.5})
                           .cubicTo({40, 12}, {43.5, 10.8}, {46, 12})
                           .cubicTo({43.5, 12.4}, {41.5, 13.8}, {39.5, 16.2})
                           .build();
        p.outlined(feather, plume, kGrey, 0.35);
        Path cap = PathBuilder()
                       .moveTo({28.6, 18.6})
                       .cubicTo({28.6, 13.6}, {32, 12.6}, {kMid, 12.6})
                       .cubicTo({39, 12.6}, {42.4, 13.6}, {42.4, 18.6})
                       .build();
        p.outlined(cap, robeColor(suit), robeLine(suit), 0.45);
        p.outlined(Path(rect(28.8, 17, 42.2, 18.9)), kGold, kGoldLine, 0.35);
        break;
    }
    }
}

void drawBust(Canvas& canvas, int rank, int suit) {
    Painter p(canvas);
    drawRobe(p, rank, suit);
    // The head is drawn a little larger than the body, as on printed court
    // cards, growing from the neck.
    const Affine base = canvas.transform;
    canvas.transform = base * Affine::translate(kMid, 30.6) * Affine::scale(1.15) *
                       Affine::translate(-kMid, -29);
    drawHair(p, rank);
    drawFaceAndNeck(p, rank);
    drawHeadwear(p, rank, suit);
    canvas.transform = base;
    drawEmblem(p, rank);
    p.fill(suitShape(suit, {18.5, 14.5}, 7), suitColor(suit));
}

}  // namespace

void drawCourt(Canvas& canvas, int rank, int suit) {
    if (rank < kJack || rank > kKing) throw std::invalid_argument("not a court card");
    const Color frame = suitColor(suit);
    canvas.fill(Path(rect(kFrameX0, kFrameY0, kFrameX1, kFrameY1)), frame);
    canvas.fill(Path(rect(kFrameX0 + 0.8, kFrameY0 + 0.8, kFrameX1 - 0.8, kFrameY1 - 0.8)), kPanel);

    const Affine base = canvas.transform;
    const double x0 = kFrameX0 + 0.8, x1 = kFrameX1 - 0.8;
    canvas.clipTo(Path(rect(x0, kFrameY0 + 0.8, x1, kDivide)));
    drawBust(canvas, rank, suit);
    canvas.resetClip();
    canvas.clipTo(Path(rect(x0, kDivide, x1, kFrameY1 - 0.8)));
    canvas.transform = base * Affine::halfTurn(kMid, kDivide);
    drawBust(canvas, rank, suit);
    canvas.resetClip();
    canvas.transform = base;
    canvas.fill(stroke({{kFrameX0 + 0.8, kDivide}, {kFrameX1 - 0.8, kDivide}}, 0.7), frame);
}

}  // namespace artgen

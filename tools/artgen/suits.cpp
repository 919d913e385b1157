#include "suits.h"

#include <cmath>
#include <stdexcept>

namespace artgen {

namespace {

// The point where a line from `from` touches the circle (c, r), on the side
// away from the vertical axis x = 0.
Vec2 outerTangent(Vec2 from, Vec2 c, double r) {
    const double d = std::hypot(c.x - from.x, c.y - from.y);
    const double toPoint = std::atan2(from.y - c.y, from.x - c.x);
    const double spread = std::acos(r / d);
    const Vec2 t1{c.x + r * std::cos(toPoint + spread), c.y + r * std::sin(toPoint + spread)};
    const Vec2 t2{c.x + r * std::cos(toPoint - spread), c.y + r * std::sin(toPoint - spread)};
    return std::abs(t1.x) > std::abs(t2.x) ? t1 : t2;
}

// Two round lobes joined to a point: a heart, or (turned over) a spade's body.
Path lobes(Vec2 tip, double lobeX, double lobeY, double r, Vec2 cleft) {
    const Vec2 left{-lobeX, lobeY}, right{lobeX, lobeY};
    Path p;
    p.add(circle(left, r));
    p.add(circle(right, r));
    p.add(Contour{tip, outerTangent(tip, right, r), right, cleft, left, outerTangent(tip, left, r)});
    return p;
}

// A stem flaring out to a flat foot at the bottom of the shape.
Contour stem(double top, double halfFoot) {
    return PathBuilder()
        .moveTo({-0.045, top})
        .lineTo({0.045, top})
        .quadTo({0.05, 0.40}, {halfFoot, 0.5})
        .lineTo({-halfFoot, 0.5})
        .quadTo({-0.05, 0.40}, {-0.045, top})
        .build()
        .contours.front();
}

Path diamond() {
    const Vec2 top{0, -0.5}, right{0.4, 0}, bottom{0, 0.5}, left{-0.4, 0};
    // Slightly hollow sides, like a printed diamond.
    auto side = [](Vec2 a, Vec2 b) { return lerp(a, b, 0.5) * 0.88; };
    return PathBuilder()
        .moveTo(top)
        .quadTo(side(top, right), right)
        .quadTo(side(right, bottom), bottom)
        .quadTo(side(bottom, left), left)
        .quadTo(side(left, top), top)
        .build();
}

Path heart() { return lobes({0, 0.5}, 0.235, -0.25, 0.25, {0, -0.15}); }

Path spade() {
    Path p = lobes({0, -0.5}, 0.205, 0.1, 0.215, {0, 0.18});
    p.add(stem(0.1, 0.16));
    return p;
}

Path club() {
    const double r = 0.205;
    Path p;
    p.add(circle({0, -0.5 + r}, r));
    p.add(circle({-0.235, 0.075}, r));
    p.add(circle({0.235, 0.075}, r));
    p.add(circle({0, 0.0}, 0.11));
    p.add(stem(-0.05, 0.16));
    return p;
}

}  // namespace

Path suitShape(int suit) {
    switch (suit) {
    case kDiamonds: return diamond();
    case kHearts: return heart();
    case kSpades: return spade();
    case kClubs: return club();
    }
    throw std::invalid_argument("no such suit");
}

Path suitShape(int suit, Vec2 centre, double height, bool upsideDown) {
    const Affine place = Affine::translate(centre.x, centre.y) *
                         Affine::scale(upsideDown ? -height : height);
    return suitShape(suit).transformed(place);
}

}  // namespace artgen

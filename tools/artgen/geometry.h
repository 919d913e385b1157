// Points, affine transforms and paths: the vector side of the artwork.
//
// Coordinates are doubles with y growing downwards, the same way as the
// bitmaps. A Path is a list of closed contours (polygons); curves are
// flattened into short segments when they are built.
#pragma once

#include <initializer_list>
#include <vector>

namespace artgen {

constexpr double kPi = 3.14159265358979323846;

struct Vec2 {
    double x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
inline Vec2 lerp(Vec2 a, Vec2 b, double t) { return a + (b - a) * t; }

// x' = a*x + c*y + e, y' = b*x + d*y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Vec2 apply(Vec2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }

    static Affine translate(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static Affine scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine scale(double s) { return scale(s, s); }
    static Affine rotate(double radians);
    // A half turn about (cx, cy): how the lower half of a card repeats the upper.
    static Affine halfTurn(double cx, double cy) { return {-1, 0, 0, -1, 2 * cx, 2 * cy}; }
};

// (outer * inner).apply(p) == outer.apply(inner.apply(p)).
Affine operator*(const Affine& outer, const Affine& inner);

struct Bounds {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    double width() const { return x1 - x0; }
    double height() const { return y1 - y0; }
};

using Contour = std::vector<Vec2>;

struct Path {
    std::vector<Contour> contours;

    Path() = default;
    Path(Contour c) { contours.push_back(std::move(c)); }

    Path& add(Contour c);
    Path& add(const Path& p);
    Path transformed(const Affine& t) const;
    Bounds bounds() const;
    bool empty() const { return contours.empty(); }
};

// Builds contours from straight and curved pieces, like a pen.
class PathBuilder {
public:
    PathBuilder& moveTo(Vec2 p);
    PathBuilder& lineTo(Vec2 p);
    PathBuilder& quadTo(Vec2 ctrl, Vec2 p);
    PathBuilder& cubicTo(Vec2 c1, Vec2 c2, Vec2 p);
    PathBuilder& close();
    Path build();

private:
    Path path_;
    Contour current_;
};

Contour polygon(std::initializer_list<Vec2> points);
Contour rect(double x0, double y0, double x1, double y1);
Contour roundRect(double x0, double y0, double x1, double y1, double radius);
Contour ellipse(double cx, double cy, double rx, double ry);
inline Contour circle(Vec2 c, double r) { return ellipse(c.x, c.y, r, r); }

// The area covered by a pen of the given width drawn along the points:
// one quadrilateral per segment plus round joins and caps. Paint it with
// FillRule::Union.
Path stroke(const std::vector<Vec2>& points, double width, bool closed = false);

// Scales `p` uniformly to the given height, squeezing it horizontally if it
// would be wider than maxWidth, and centres it on (cx, cy).
Path fitHeight(const Path& p, double cx, double cy, double height, double maxWidth);

}  // namespace artgen

#include "geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace artgen {

namespace {

constexpr int kCurveSteps = 24;
constexpr int kEllipseSteps = 96;

}  // namespace

Affine Affine::rotate(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

Affine operator*(const Affine& o, const Affine& i) {
    return {o.a * i.a + o.c * i.b,       o.b * i.a + o.d * i.b,
            o.a * i.c + o.c * i.d,       o.b * i.c + o.d * i.d,
            o.a * i.e + o.c * i.f + o.e, o.b * i.e + o.d * i.f + o.f};
}

Path& Path::add(Contour c) {
    if (c.size() >= 3) contours.push_back(std::move(c));
    return *this;
}

Path& Path::add(const Path& p) {
    for (const Contour& c : p.contours) contours.push_back(c);
    return *this;
}

Path Path::transformed(const Affine& t) const {
    Path out;
    out.contours.reserve(contours.size());
    for (const Contour& c : contours) {
        Contour tc;
        tc.reserve(c.size());
        for (Vec2 p : c) tc.push_back(t.apply(p));
        out.contours.push_back(std::move(tc));
    }
    return out;
}

Bounds Path::bounds() const {
    constexpr double inf = std::numeric_limits<double>::infinity();
    Bounds b{inf, inf, -inf, -inf};
    for (const Contour& c : contours)
        for (Vec2 p : c) {
            b.x0 = std::min(b.x0, p.x);
            b.y0 = std::min(b.y0, p.y);
            b.x1 = std::max(b.x1, p.x);
            b.y1 = std::max(b.y1, p.y);
        }
    if (b.x0 > b.x1) return {};
    return b;
}

PathBuilder& PathBuilder::moveTo(Vec2 p) {
    close();
    current_.push_back(p);
    return *this;
}

PathBuilder& PathBuilder::lineTo(Vec2 p) {
    current_.push_back(p);
    return *this;
}

PathBuilder& PathBuilder::quadTo(Vec2 ctrl, Vec2 p) {
    const Vec2 p0 = current_.empty() ? ctrl : current_.back();
    for (int i = 1; i <= kCurveSteps; ++i) {
        const double t = double(i) / kCurveSteps;
        current_.push_back(lerp(lerp(p0, ctrl, t), lerp(ctrl, p, t), t));
    }
    return *this;
}

PathBuilder& PathBuilder::cubicTo(Vec2 c1, Vec2 c2, Vec2 p) {
    const Vec2 p0 = current_.empty() ? c1 : current_.back();
    for (int i = 1; i <= kCurveSteps; ++i) {
        const double t = double(i) / kCurveSteps;
        const Vec2 a = lerp(p0, c1, t), b = lerp(c1, c2, t), c = lerp(c2, p, t);
        current_.push_back(lerp(lerp(a, b, t), lerp(b, c, t), t));
    }
    return *this;
}

PathBuilder& PathBuilder::close() {
    path_.add(std::move(current_));
    current_.clear();
    return *this;
}

Path PathBuilder::build() {
    close();
    return std::move(path_);
}

Contour polygon(std::initializer_list<Vec2> points) { return Contour(points); }

Contour rect(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

Contour roundRect(double x0, double y0, double x1, double y1, double r) {
    r = std::min({r, (x1 - x0) / 2, (y1 - y0) / 2});
    if (r <= 0) return rect(x0, y0, x1, y1);
    Contour c;
    const Vec2 centres[4] = {{x1 - r, y0 + r}, {x1 - r, y1 - r}, {x0 + r, y1 - r}, {x0 + r, y0 + r}};
    constexpr int steps = kEllipseSteps / 4;
    for (int corner = 0; corner < 4; ++corner) {
        const double start = -kPi / 2 + corner * kPi / 2;
        for (int i = 0; i <= steps; ++i) {
            const double a = start + (kPi / 2) * i / steps;
            c.push_back({centres[corner].x + r * std::cos(a), centres[corner].y + r * std::sin(a)});
        }
    }
    return c;
}

Contour ellipse(double cx, double cy, double rx, double ry) {
    Contour c;
    for (int i = 0; i < kEllipseSteps; ++i) {
        const double a = 2 * kPi * i / kEllipseSteps;
        c.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return c;
}

Path stroke(const std::vector<Vec2>& pts, double width, bool closed) {
    Path out;
    const double h = width / 2;
    const size_t n = pts.size();
    if (n == 0) return out;
    const size_t segments = closed ? n : n - 1;
    for (size_t i = 0; i < segments; ++i) {
        const Vec2 a = pts[i], b = pts[(i + 1) % n];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len == 0) continue;
        const Vec2 nrm{-(b.y - a.y) / len * h, (b.x - a.x) / len * h};
        out.add(Contour{a + nrm, b + nrm, b - nrm, a - nrm});
    }
    for (Vec2 p : pts) out.add(circle(p, h));
    return out;
}

Path fitHeight(const Path& p, double cx, double cy, double height, double maxWidth) {
    const Bounds b = p.bounds();
    if (b.height() <= 0) return p;
    const double sy = height / b.height();
    const double sx = std::min(sy, maxWidth / b.width());
    const Affine t = Affine::translate(cx, cy) * Affine::scale(sx, sy) *
                     Affine::translate(-(b.x0 + b.x1) / 2, -(b.y0 + b.y1) / 2);
    return p.transformed(t);
}

}  // namespace artgen

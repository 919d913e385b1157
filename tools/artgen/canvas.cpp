#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Color mix(Color a, Color b, double t) {
    auto m = [t](int x, int y) { return std::uint8_t(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

bool Image::opaque() const {
    for (size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 255) return false;
    return true;
}

Canvas::Canvas(int width, int height, int ss)
    : width_(width), height_(height), ss_(ss), sw_(width * ss), sh_(height * ss),
      samples_(size_t(sw_) * sh_, Sample{0, 0, 0, 0}) {}

void Canvas::clear(Color c, double alpha) {
    const float a = float(alpha);
    std::fill(samples_.begin(), samples_.end(),
              Sample{c.r / 255.f * a, c.g / 255.f * a, c.b / 255.f * a, a});
}

void Canvas::clipTo(const Path& path) {
    std::vector<std::uint8_t> inside(samples_.size(), 0);
    scan(path, FillRule::Union, [&](int x, int y) { inside[size_t(y) * sw_ + x] = 1; });
    clip_ = std::move(inside);
}

void Canvas::resetClip() { clip_.clear(); }

void Canvas::blend(Sample& s, Color c, double opacity) const {
    const float o = float(opacity), k = 1 - o;
    s.r = c.r / 255.f * o + s.r * k;
    s.g = c.g / 255.f * o + s.g * k;
    s.b = c.b / 255.f * o + s.b * k;
    s.a = o + s.a * k;
}

void Canvas::scan(const Path& userPath, FillRule rule,
                  const std::function<void(int, int)>& paint) const {
    const Path path = userPath.transformed(Affine::scale(ss_) * transform);
    const Bounds b = path.bounds();
    const int row0 = std::max(0, int(std::floor(b.y0)));
    const int row1 = std::min(sh_, int(std::ceil(b.y1)));
    if (row0 >= row1) return;

    struct Crossing {
        double x;
        int dir;
    };
    std::vector<Crossing> xs;
    std::vector<std::uint8_t> covered(size_t(sw_), 0);
    std::vector<Bounds> spans;
    for (const Contour& c : path.contours) spans.push_back(Path(c).bounds());

    // Adds the crossings of one contour (or all of them) with the row's
    // sample centre line.
    auto collect = [&xs](const Contour& c, double y) {
        const size_t n = c.size();
        for (size_t i = 0; i < n; ++i) {
            const Vec2 p = c[i], q = c[(i + 1) % n];
            if ((p.y <= y) == (q.y <= y)) continue;
            const double t = (y - p.y) / (q.y - p.y);
            xs.push_back({p.x + t * (q.x - p.x), q.y > p.y ? 1 : -1});
        }
    };
    // Marks the samples whose centres lie inside, by the given rule.
    auto mark = [&](bool evenOdd) {
        std::sort(xs.begin(), xs.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        int winding = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            winding += evenOdd ? 1 : xs[i].dir;
            const bool inside = evenOdd ? (winding & 1) : winding != 0;
            if (!inside) continue;
            // Samples x with centre x + 0.5 in [xs[i].x, xs[i+1].x).
            const int s0 = std::max(0, int(std::ceil(xs[i].x - 0.5)));
            const int s1 = std::min(sw_, int(std::ceil(xs[i + 1].x - 0.5)));
            for (int s = s0; s < s1; ++s) covered[size_t(s)] = 1;
        }
        xs.clear();
    };

    for (int row = row0; row < row1; ++row) {
        const double y = row + 0.5;
        if (rule == FillRule::Union) {
            for (size_t i = 0; i < path.contours.size(); ++i) {
                if (y < spans[i].y0 || y > spans[i].y1) continue;
                collect(path.contours[i], y);
                mark(false);
            }
        } else {
            for (size_t i = 0; i < path.contours.size(); ++i)
                if (y >= spans[i].y0 && y <= spans[i].y1) collect(path.contours[i], y);
            mark(rule == FillRule::EvenOdd);
        }
        const std::uint8_t* allowed = clip_.empty() ? nullptr : &clip_[size_t(row) * sw_];
        for (int s = 0; s < sw_; ++s)
            if (covered[size_t(s)]) {
                covered[size_t(s)] = 0;
                if (!allowed || allowed[s]) paint(s, row);
            }
    }
}

void Canvas::fill(const Path& path, Color c, double opacity, FillRule rule) {
    scan(path, rule, [&](int x, int y) { blend(samples_[size_t(y) * sw_ + x], c, opacity); });
}

void Canvas::fillShaded(const Path& path, const std::function<Color(Vec2)>& shader,
                        double opacity, FillRule rule) {
    scan(path, rule, [&](int x, int y) {
        const Vec2 at{(x + 0.5) / ss_, (y + 0.5) / ss_};
        blend(samples_[size_t(y) * sw_ + x], shader(at), opacity);
    });
}

Image Canvas::resolve() const {
    Image img(width_, height_);
    const float n = float(ss_ * ss_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < ss_; ++sy)
                for (int sx = 0; sx < ss_; ++sx) {
                    const Sample& s = samples_[size_t(y * ss_ + sy) * sw_ + x * ss_ + sx];
                    r += s.r;
                    g += s.g;
                    b += s.b;
                    a += s.a;
                }
            std::uint8_t* px = img.at(x, y);
            const float k = a > 0 ? 255.f / a : 0.f;
            px[0] = std::uint8_t(std::clamp(std::lround(r * k), 0L, 255L));
            px[1] = std::uint8_t(std::clamp(std::lround(g * k), 0L, 255L));
            px[2] = std::uint8_t(std::clamp(std::lround(b * k), 0L, 255L));
            px[3] = std::uint8_t(std::clamp(std::lround(a / n * 255.f), 0L, 255L));
        }
    return img;
}

}  // namespace artgen

// A supersampled painting surface and the finished pixel image it yields.
//
// Everything is drawn at `ss` x `ss` samples per output pixel with hard
// edges, then reduced by averaging: that gives anti-aliased pips, letters
// and figures at the small sizes the client shows.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "geometry.h"

namespace artgen {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
};

// Mixes a towards b by t in 0..1.
Color mix(Color a, Color b, double t);

// Output pixels, RGBA with straight (not premultiplied) alpha, top row first.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(size_t(w) * h * 4, 0) {}
    const std::uint8_t* at(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    std::uint8_t* at(int x, int y) { return &rgba[(size_t(y) * width + x) * 4]; }
    Color color(int x, int y) const { return {at(x, y)[0], at(x, y)[1], at(x, y)[2]}; }
    std::uint8_t alpha(int x, int y) const { return at(x, y)[3]; }
    bool opaque() const;
};

enum class FillRule {
    Union,    // a sample is painted if any single contour covers it
    NonZero,  // winding over all contours together (font outlines)
    EvenOdd,  // contours inside contours make holes
};

class Canvas {
public:
    Canvas(int width, int height, int ss);

    int width() const { return width_; }
    int height() const { return height_; }

    // Maps drawing coordinates to output pixels; starts as the identity.
    Affine transform;

    void clear(Color c, double alpha = 1.0);
    void fill(const Path& path, Color c, double opacity = 1.0, FillRule rule = FillRule::Union);
    // Colours each covered sample by its position in output pixels.
    void fillShaded(const Path& path, const std::function<Color(Vec2)>& shader,
                    double opacity = 1.0, FillRule rule = FillRule::Union);

    // Restricts painting to the inside of `path` (through the current
    // transform), within any clip already set.
    void clipTo(const Path& path);
    void resetClip();

    Image resolve() const;

private:
    struct Sample {
        float r, g, b, a;  // premultiplied
    };

    // Calls paint(sampleX, row) for every covered sample of `path`.
    void scan(const Path& path, FillRule rule, const std::function<void(int, int)>& paint) const;
    void blend(Sample& s, Color c, double opacity) const;

    int width_, height_, ss_;
    int sw_, sh_;
    std::vector<Sample> samples_;
    std::vector<std::uint8_t> clip_;  // 1 where painting is allowed; empty: everywhere
};

}  // namespace artgen

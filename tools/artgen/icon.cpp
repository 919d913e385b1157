// The program icon: a rounded square split on its diagonal, a black K on
// red above, a red club on black below.
#include "artwork.h"
#include "suits.h"

namespace artgen {

namespace {

constexpr int kSupersample = 8;
constexpr Color kIconRed{210, 16, 24};
constexpr Color kIconBlack{16, 16, 16};

}  // namespace

Image renderIcon(const Fonts& fonts) {
    constexpr double n = kIconSize;
    Canvas canvas(kIconSize, kIconSize, kSupersample);
    const Contour square = roundRect(0, 0, n, n, 9);
    canvas.clipTo(Path(square));
    canvas.fill(Path(polygon({{0, 0}, {n, 0}, {0, n}})), kIconRed);
    canvas.fill(Path(polygon({{n, 0}, {n, n}, {0, n}})), kIconBlack);

    const Path k = fonts.sans.text("K", 100);
    canvas.fill(fitHeight(k, 18.5, 19.5, 24, 26), kIconBlack, 1.0, FillRule::NonZero);
    canvas.fill(suitShape(kClubs, {44.5, 44.5}, 25), kIconRed);

    // An icon's mask is all or nothing: a pixel is shown when at least half
    // of it lies inside the rounded square.
    Image img = canvas.resolve();
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            std::uint8_t* p = img.at(x, y);
            if (p[3] >= 128) {
                p[3] = 255;
            } else {
                p[0] = p[1] = p[2] = p[3] = 0;
            }
        }
    return img;
}

}  // namespace artgen

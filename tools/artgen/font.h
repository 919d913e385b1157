// Text as vector outlines, read from a TrueType font with FreeType.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "geometry.h"

namespace artgen {

// Fonts from Debian's fonts-dejavu-core.
inline constexpr const char* kSerifBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
inline constexpr const char* kSansBoldFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

class Font {
public:
    // Throws std::runtime_error naming the file if it cannot be loaded.
    explicit Font(const std::string& file);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The outline of `text` set at `size` pixels to the em, pen starting at
    // the origin on the baseline. Paint it with FillRule::NonZero.
    Path text(std::string_view text, double size) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace artgen

// File formats: Windows bitmaps (24-bit and 8-bit), icons and PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace artgen {

using Bytes = std::vector<std::uint8_t>;

// A palette picture: one palette index per pixel, top row first.
struct IndexedImage {
    int width = 0, height = 0;
    std::vector<Color> palette;  // at most 256 entries
    std::vector<std::uint8_t> index;

    std::uint8_t at(int x, int y) const { return index[size_t(y) * width + x]; }
};

// Reduces a picture to at most 256 colours (median cut).
IndexedImage quantize(const Image& image);
// The picture turned a quarter turn clockwise: width and height swap.
IndexedImage rotateClockwise(const IndexedImage& image);
Image expand(const IndexedImage& image);

// BITMAPFILEHEADER + BITMAPINFOHEADER, BI_RGB, rows bottom-up padded to 4 bytes.
Bytes encodeBmp24(const Image& image);
// As above with a full 256-entry colour table (biClrUsed 256).
Bytes encodeBmp8(const IndexedImage& image);
// Reads an uncompressed 24-bit bitmap file (rows bottom-up or top-down);
// throws on anything else.
Image decodeBmp24(const Bytes& file);
// One 32-bit image with its AND mask; alpha must be 0 or 255.
Bytes encodeIco(const Image& image);
// 8-bit RGB, or RGBA when the image has any transparency.
Bytes encodePng(const Image& image);

Bytes readFile(const std::string& path);
// Writes the file, creating missing directories; throws on failure.
void writeFile(const std::string& path, const Bytes& bytes);

}  // namespace artgen

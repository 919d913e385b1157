// Windows bitmap and icon files.
#include <stdexcept>

#include "writers.h"

namespace artgen {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPixelsPerMetre = 2835;  // 72 dpi

void put16(Bytes& out, unsigned v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

int rowBytes(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

void putInfoHeader(Bytes& out, int width, int height, int bits, std::uint32_t imageSize,
                   std::uint32_t colours) {
    put32(out, kInfoHeaderSize);
    put32(out, std::uint32_t(width));
    put32(out, std::uint32_t(height));
    put16(out, 1);  // planes
    put16(out, unsigned(bits));
    put32(out, 0);  // BI_RGB
    put32(out, imageSize);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, colours);
    put32(out, 0);  // all colours important
}

void putFileHeader(Bytes& out, std::uint32_t fileSize, std::uint32_t pixelOffset) {
    out.push_back('B');
    out.push_back('M');
    put32(out, fileSize);
    put32(out, 0);  // reserved
    put32(out, pixelOffset);
}

void pad(Bytes& out, size_t rowStart, int stride) {
    while (out.size() - rowStart < size_t(stride)) out.push_back(0);
}

}  // namespace

Bytes encodeBmp24(const Image& image) {
    const int stride = rowBytes(image.width, 24);
    const std::uint32_t imageSize = std::uint32_t(stride) * image.height;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    Bytes out;
    putFileHeader(out, offset + imageSize, offset);
    putInfoHeader(out, image.width, image.height, 24, imageSize, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {
            const Color c = image.color(x, y);
            out.insert(out.end(), {c.b, c.g, c.r});
        }
        pad(out, start, stride);
    }
    return out;
}

Image decodeBmp24(const Bytes& file) {
    auto u16 = [&](size_t at) { return std::uint32_t(file.at(at)) | std::uint32_t(file.at(at + 1)) << 8; };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M')
        throw std::invalid_argument("not a bitmap file");
    const std::uint32_t offset = u32(10);
    const int width = int(u32(18)), rawHeight = int(u32(22));
    if (u16(28) != 24 || u32(30) != 0 || width <= 0 || rawHeight == 0)
        throw std::invalid_argument("not an uncompressed 24-bit bitmap");
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    const size_t stride = size_t(rowBytes(width, 24));
    if (file.size() < offset + stride * size_t(height)) throw std::invalid_argument("bitmap file cut short");
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const size_t row = offset + stride * size_t(rawHeight < 0 ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* bgr = &file[row + size_t(x) * 3];
            std::uint8_t* p = image.at(x, y);
            p[0] = bgr[2];
            p[1] = bgr[1];
            p[2] = bgr[0];
            p[3] = 255;
        }
    }
    return image;
}

Bytes encodeBmp8(const IndexedImage& image) {
    if (image.palette.size() > 256) throw std::invalid_argument("palette too large");
    const int stride = rowBytes(image.width, 8);
    const std::uint32_t imageSize = std::uint32_t(stride) * image.height;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + 256 * 4;
    Bytes out;
    putFileHeader(out, offset + imageSize, offset);
    putInfoHeader(out, image.width, image.height, 8, imageSize, 256);
    for (int i = 0; i < 256; ++i) {
        const Color c = i < int(image.palette.size()) ? image.palette[size_t(i)] : Color{};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const size_t start = out.size();
        for (int x = 0; x < image.width; ++x) out.push_back(image.at(x, y));
        pad(out, start, stride);
    }
    return out;
}

Bytes encodeIco(const Image& image) {
    if (image.width > 256 || image.height > 256) throw std::invalid_argument("icon too large");
    const int maskStride = rowBytes(image.width, 1);
    const std::uint32_t xorSize = std::uint32_t(image.width) * image.height * 4;
    const std::uint32_t andSize = std::uint32_t(maskStride) * image.height;
    const std::uint32_t dibSize = kInfoHeaderSize + xorSize + andSize;
    constexpr std::uint32_t kDirSize = 6 + 16;

    Bytes out;
    put16(out, 0);  // reserved
    put16(out, 1);  // icon resource
    put16(out, 1);  // one image
    out.push_back(std::uint8_t(image.width & 0xff));  // 0 would mean 256
    out.push_back(std::uint8_t(image.height & 0xff));
    out.push_back(0);  // no palette
    out.push_back(0);
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, dibSize);
    put32(out, kDirSize);

    // The DIB inside an icon counts the XOR image and the AND mask together.
    putInfoHeader(out, image.width, image.height * 2, 32, xorSize + andSize, 0);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.at(x, y);
            if (p[3] != 0 && p[3] != 255) throw std::invalid_argument("icon alpha must be 0 or 255");
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    for (int y = image.height - 1; y >= 0; --y) {
        const size_t start = out.size();
        std::uint8_t bits = 0;
        for (int x = 0; x < image.width; ++x) {
            if (image.alpha(x, y) == 0) bits |= std::uint8_t(0x80 >> (x % 8));  // 1 = transparent
            if (x % 8 == 7 || x == image.width - 1) {
                out.push_back(bits);
                bits = 0;
            }
        }
        pad(out, start, maskStride);
    }
    return out;
}

}  // namespace artgen

// PNG files for the documentation, palettes, and writing files to disk.
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include <zlib.h>

#include "writers.h"

namespace artgen {

namespace {

void putBig32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
    putBig32(out, std::uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeAt, uInt(out.size() - typeAt));
    putBig32(out, std::uint32_t(crc));
}

using Key = std::uint32_t;  // 0xRRGGBB
Key keyOf(Color c) { return Key(c.r) << 16 | Key(c.g) << 8 | c.b; }
int channel(Key k, int ch) { return int(k >> (16 - 8 * ch)) & 0xff; }

struct Box {
    std::vector<std::pair<Key, int>> colours;  // colour and pixel count
    int widestChannel() const {
        int best = 0, bestRange = -1;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 255, hi = 0;
            for (auto [k, n] : colours) {
                lo = std::min(lo, channel(k, ch));
                hi = std::max(hi, channel(k, ch));
            }
            if (hi - lo > bestRange) {
                bestRange = hi - lo;
                best = ch;
            }
        }
        return bestRange > 0 ? best : -1;
    }
    Color average() const {
        double sum[3] = {0, 0, 0}, total = 0;
        for (auto [k, n] : colours) {
            for (int ch = 0; ch < 3; ++ch) sum[ch] += double(channel(k, ch)) * n;
            total += n;
        }
        auto avg = [&](int ch) { return std::uint8_t(std::clamp(std::lround(sum[ch] / total), 0L, 255L)); };
        return {avg(0), avg(1), avg(2)};
    }
};

}  // namespace

IndexedImage quantize(const Image& image) {
    std::map<Key, int> histogram;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) ++histogram[keyOf(image.color(x, y))];

    std::vector<Color> palette;
    if (histogram.size() <= 256) {
        for (auto [k, n] : histogram)
            palette.push_back({std::uint8_t(channel(k, 0)), std::uint8_t(channel(k, 1)), std::uint8_t(channel(k, 2))});
    } else {
        // Median cut: split the most populous divisible box at its median.
        std::vector<Box> boxes(1);
        boxes[0].colours.assign(histogram.begin(), histogram.end());
        while (boxes.size() < 256) {
            int pick = -1;
            long bestPixels = 0;
            for (size_t i = 0; i < boxes.size(); ++i) {
                if (boxes[i].colours.size() < 2 || boxes[i].widestChannel() < 0) continue;
                long pixels = 0;
                for (auto [k, n] : boxes[i].colours) pixels += n;
                if (pixels > bestPixels) {
                    bestPixels = pixels;
                    pick = int(i);
                }
            }
            if (pick < 0) break;
            Box& box = boxes[size_t(pick)];
            const int ch = box.widestChannel();
            std::sort(box.colours.begin(), box.colours.end(),
                      [ch](auto l, auto r) { return channel(l.first, ch) < channel(r.first, ch); });
            long seen = 0;
            size_t cut = 1;
            for (; cut < box.colours.size() - 1; ++cut) {
                seen += box.colours[cut - 1].second;
                if (seen * 2 >= bestPixels) break;
            }
            Box upper;
            upper.colours.assign(box.colours.begin() + long(cut), box.colours.end());
            box.colours.resize(cut);
            boxes.push_back(std::move(upper));
        }
        for (const Box& b : boxes) palette.push_back(b.average());
    }

    IndexedImage out{image.width, image.height, palette, {}};
    std::map<Key, std::uint8_t> nearest;
    for (auto [k, n] : histogram) {
        long best = -1;
        std::uint8_t bestIndex = 0;
        for (size_t i = 0; i < palette.size(); ++i) {
            const long dr = channel(k, 0) - palette[i].r, dg = channel(k, 1) - palette[i].g,
                       db = channel(k, 2) - palette[i].b;
            const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (best < 0 || d < best) {
                best = d;
                bestIndex = std::uint8_t(i);
            }
        }
        nearest[k] = bestIndex;
    }
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) out.index.push_back(nearest[keyOf(image.color(x, y))]);
    return out;
}

IndexedImage rotateClockwise(const IndexedImage& in) {
    IndexedImage out{in.height, in.width, in.palette, std::vector<std::uint8_t>(in.index.size())};
    // Source column x becomes row x; source row y becomes column height-1-y.
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x)
            out.index[size_t(x) * out.width + (in.height - 1 - y)] = in.at(x, y);
    return out;
}

Image expand(const IndexedImage& in) {
    Image out(in.width, in.height);
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x) {
            const Color c = in.palette[in.at(x, y)];
            std::uint8_t* p = out.at(x, y);
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = 255;
        }
    return out;
}

Bytes encodePng(const Image& image) {
    const bool alpha = !image.opaque();
    const int channels = alpha ? 4 : 3;
    Bytes raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < image.width; ++x)
            raw.insert(raw.end(), image.at(x, y), image.at(x, y) + channels);
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK)
        throw std::runtime_error("zlib could not compress the picture");
    packed.resize(packedSize);

    Bytes header;
    putBig32(header, std::uint32_t(image.width));
    putBig32(header, std::uint32_t(image.height));
    header.insert(header.end(), {8, std::uint8_t(alpha ? 6 : 2), 0, 0, 0});

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const Bytes& bytes) {
    const std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace artgen

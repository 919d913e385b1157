// lerva-artgen: draws the client's card faces, backs, suit icons, title card
// and program icon, and writes them where the resource script expects them.
//
//   lerva-artgen ROOT            write res/..., docs/img/... and the web
//                                table's web/img/... under ROOT
//   lerva-artgen --sheet FILE.png [ZOOM [CODE...]]
//                                a proof sheet of the cards (all of them, or
//                                the codes given, 0 for the back), enlarged
//   lerva-artgen --to-png IN.bmp OUT.png
//                                a 24-bit bitmap (such as a screenshot) as PNG
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "artwork.h"
#include "writers.h"

using namespace artgen;

namespace {

// Lays images side by side on the table colour, `gap` pixels apart, each
// enlarged `zoom` times.
Image strip(const std::vector<Image>& images, int gap, int zoom, int perRow) {
    const int cellW = kCardWidth * zoom + gap, cellH = kCardHeight * zoom + gap;
    const int count = int(images.size());
    const int columns = std::min(count, perRow), rows = (count + perRow - 1) / perRow;
    Image out(columns * cellW + gap, rows * cellH + gap);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            std::uint8_t* p = out.at(x, y);
            p[0] = kTableColor.r;
            p[1] = kTableColor.g;
            p[2] = kTableColor.b;
            p[3] = 255;
        }
    for (int i = 0; i < count; ++i) {
        const Image& img = images[size_t(i)];
        const int ox = gap + (i % perRow) * cellW, oy = gap + (i / perRow) * cellH;
        for (int y = 0; y < img.height * zoom; ++y)
            for (int x = 0; x < img.width * zoom; ++x) {
                const std::uint8_t* s = img.at(x / zoom, y / zoom);
                std::copy(s, s + 4, out.at(ox + x, oy + y));
            }
    }
    return out;
}

std::string twoDigits(int n) { return std::to_string(n / 10) + std::to_string(n % 10); }

int writeAll(const std::string& root) {
    const Fonts fonts;
    const std::string bitmaps = root + "/res/bitmaps/";
    std::vector<std::string> written;
    auto write = [&](const std::string& path, const Bytes& bytes) {
        writeFile(path, bytes);
        written.push_back(path);
    };

    std::vector<Image> faces(100);
    for (int rank = 1; rank <= 9; ++rank)
        for (int suit = 1; suit <= 4; ++suit) {
            const int code = 10 * rank + suit;
            faces[size_t(code)] = renderFace(fonts, code);
            write(bitmaps + twoDigits(code) + ".bmp", encodeBmp24(faces[size_t(code)]));
        }
    for (int suit = 1; suit <= 4; ++suit)
        write(bitmaps + "suit" + std::to_string(suit) + ".bmp", encodeBmp24(renderSuitIcon(suit)));

    const IndexedImage back = quantize(renderBack());
    write(bitmaps + "back.bmp", encodeBmp8(back));
    write(bitmaps + "backside.bmp", encodeBmp8(rotateClockwise(back)));

    const Image title = renderTitle(fonts);
    write(bitmaps + "title.bmp", encodeBmp24(title));
    write(root + "/res/lerva.ico", encodeIco(renderIcon(fonts)));

    // The web table shows the same pictures as PNG.
    const std::string web = root + "/web/img/";
    for (int code = 11; code <= 94; ++code)
        if (faces[size_t(code)].width) write(web + twoDigits(code) + ".png", encodePng(faces[size_t(code)]));
    for (int suit = 1; suit <= 4; ++suit)
        write(web + "suit" + std::to_string(suit) + ".png", encodePng(renderSuitIcon(suit)));
    write(web + "back.png", encodePng(expand(back)));

    write(root + "/docs/img/title.png", encodePng(title));
    std::vector<Image> row;
    for (int code : {63, 52, 94, 81, 72, 24}) row.push_back(faces[size_t(code)]);
    row.push_back(expand(back));
    write(root + "/docs/img/cards.png", encodePng(strip(row, 6, 1, 7)));

    for (const std::string& path : written) std::printf("wrote %s\n", path.c_str());
    return 0;
}

int writeSheet(const std::string& file, int zoom, std::vector<int> codes) {
    const Fonts fonts;
    if (codes.empty()) {
        for (int suit = 1; suit <= 4; ++suit)
            for (int rank = 1; rank <= 9; ++rank) codes.push_back(10 * rank + suit);
        codes.push_back(0);
    }
    std::vector<Image> cards;
    for (int code : codes)
        cards.push_back(code == 0 ? expand(quantize(renderBack())) : renderFace(fonts, code));
    writeFile(file, encodePng(strip(cards, 8, zoom, 9)));
    std::printf("wrote %s\n", file.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 1 && args[0] != "--sheet") return writeAll(args[0]);
        if (args.size() >= 2 && args[0] == "--sheet") {
            std::vector<int> codes;
            for (size_t i = 3; i < args.size(); ++i) codes.push_back(std::stoi(args[i]));
            return writeSheet(args[1], args.size() > 2 ? std::stoi(args[2]) : 3, codes);
        }
        if (args.size() == 3 && args[0] == "--to-png") {
            writeFile(args[2], encodePng(decodeBmp24(readFile(args[1]))));
            std::printf("wrote %s\n", args[2].c_str());
            return 0;
        }
        std::fprintf(stderr,
                     "usage: lerva-artgen ROOT | lerva-artgen --sheet FILE.png [ZOOM [CODE...]]"
                     " | lerva-artgen --to-png IN.bmp OUT.png\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lerva-artgen: %s\n", e.what());
        return 1;
    }
}

// Checks the committed pictures in res/ the way the client uses them: the
// bitmap headers LoadBitmap and the card drawing code depend on, the back
// turned sideways, the icon mask, and the look of the suits and pips.
//
// The files are parsed here byte by byte, independently of the generator's
// writers, so a fault in either shows up as a mismatch.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kRoot = LERVA_SOURCE_DIR;
constexpr int kCardW = 71, kCardH = 96;

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<int, 3>;

Bytes readFile(const std::string& relative) {
    std::ifstream in(kRoot + "/" + relative, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t le16(const Bytes& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t le32(const Bytes& b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }
std::uint32_t be32(const Bytes& b, size_t at) {
    return std::uint32_t(b.at(at)) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

// A bitmap file read as the client's loader reads it.
struct Bitmap {
    Bytes file;
    int width = 0, height = 0, bits = 0;
    size_t pixels = 0, stride = 0;

    explicit Bitmap(const std::string& relative) : file(readFile(relative)) {
        if (file.size() < 54) return;
        width = int(le32(file, 18));
        height = int(le32(file, 22));
        bits = int(le16(file, 28));
        pixels = le32(file, 10);
        stride = size_t(width * bits + 31) / 32 * 4;
    }
    bool loaded() const { return file.size() >= 54 && (bits == 8 || bits == 24); }
    // (x, y) counts from the top-left corner; rows are stored bottom-up.
    size_t offset(int x, int y) const {
        return pixels + size_t(height - 1 - y) * stride + size_t(x) * size_t(bits / 8);
    }
    int index(int x, int y) const { return file.at(offset(x, y)); }
    Rgb rgb(int x, int y) const {
        size_t at = offset(x, y);
        if (bits == 8) at = 54 + size_t(index(x, y)) * 4;
        return {file.at(at + 2), file.at(at + 1), file.at(at)};
    }
};

std::string faceFile(int code) { return "res/bitmaps/" + std::to_string(code) + ".bmp"; }

std::vector<int> allCards() {
    std::vector<int> codes;
    for (int rank = 1; rank <= 9; ++rank)
        for (int suit = 1; suit <= 4; ++suit) codes.push_back(10 * rank + suit);
    return codes;
}

bool isRedSuit(int suit) { return suit <= 2; }
bool isRed(Rgb c) { return c[0] >= 150 && c[1] <= 60 && c[2] <= 60; }
bool isBlack(Rgb c) { return c[0] <= 60 && c[1] <= 60 && c[2] <= 60; }

// ---------------------------------------------------------------- headers

struct BitmapShape {
    std::string file;
    int width, height, bits;
};

std::vector<BitmapShape> everyBitmap() {
    std::vector<BitmapShape> all;
    for (int code : allCards()) all.push_back({faceFile(code), kCardW, kCardH, 24});
    for (int suit = 1; suit <= 4; ++suit)
        all.push_back({"res/bitmaps/suit" + std::to_string(suit) + ".bmp", 23, 23, 24});
    all.push_back({"res/bitmaps/back.bmp", kCardW, kCardH, 8});
    all.push_back({"res/bitmaps/backside.bmp", kCardH, kCardW, 8});
    all.push_back({"res/bitmaps/title.bmp", 350, 200, 24});
    return all;
}

TEST(ArtworkBitmaps, HeadersAreUncompressedBottomUpDibs) {
    for (const BitmapShape& want : everyBitmap()) {
        SCOPED_TRACE(want.file);
        const Bytes f = readFile(want.file);
        ASSERT_GE(f.size(), 54u) << "missing or truncated";
        EXPECT_EQ(f[0], 'B');
        EXPECT_EQ(f[1], 'M');
        EXPECT_EQ(le32(f, 2), f.size()) << "bfSize";
        EXPECT_EQ(le32(f, 14), 40u) << "biSize";
        EXPECT_EQ(le32(f, 18), std::uint32_t(want.width));
        EXPECT_EQ(le32(f, 22), std::uint32_t(want.height)) << "positive height: rows bottom-up";
        EXPECT_EQ(le16(f, 26), 1u) << "planes";
        EXPECT_EQ(le16(f, 28), std::uint32_t(want.bits));
        EXPECT_EQ(le32(f, 30), 0u) << "BI_RGB";

        const bool palette = want.bits == 8;
        EXPECT_EQ(le32(f, 46), palette ? 256u : 0u) << "biClrUsed";
        const std::uint32_t offBits = 54 + (palette ? 1024 : 0);
        EXPECT_EQ(le32(f, 10), offBits) << "bfOffBits";
        const std::uint32_t stride = (std::uint32_t(want.width * want.bits) + 31) / 32 * 4;
        EXPECT_EQ(stride % 4, 0u);
        EXPECT_EQ(f.size(), offBits + stride * std::uint32_t(want.height)) << "padded rows";
    }
}

TEST(ArtworkBitmaps, RowPaddingMatchesTheClientsExpectations) {
    // Worked out by hand: 71*3 = 213 -> 216, 23*3 = 69 -> 72, 71 -> 72, 96 -> 96,
    // 350*3 = 1050 -> 1052.
    const struct {
        const char* file;
        size_t size;
    } cases[] = {
        {"res/bitmaps/11.bmp", 54 + 216 * 96},
        {"res/bitmaps/suit1.bmp", 54 + 72 * 23},
        {"res/bitmaps/back.bmp", 54 + 1024 + 72 * 96},
        {"res/bitmaps/backside.bmp", 54 + 1024 + 96 * 71},
        {"res/bitmaps/title.bmp", 54 + 1052 * 200},
    };
    for (const auto& c : cases) EXPECT_EQ(readFile(c.file).size(), c.size) << c.file;
}

// ------------------------------------------------------------------ backs

TEST(ArtworkBack, BacksideIsTheBackTurnedAQuarterClockwise) {
    const Bitmap back("res/bitmaps/back.bmp"), side("res/bitmaps/backside.bmp");
    ASSERT_TRUE(back.loaded());
    ASSERT_TRUE(side.loaded());
    ASSERT_EQ(side.width, back.height);
    ASSERT_EQ(side.height, back.width);
    int mismatches = 0;
    for (int y = 0; y < back.height; ++y)
        for (int x = 0; x < back.width; ++x)
            if (side.rgb(back.height - 1 - y, x) != back.rgb(x, y)) ++mismatches;
    EXPECT_EQ(mismatches, 0);
}

TEST(ArtworkBack, IsABluePatternInsideAWhiteBorder) {
    const Bitmap back("res/bitmaps/back.bmp");
    ASSERT_TRUE(back.loaded());
    std::set<int> used;
    int blue = 0, panel = 0;
    for (int y = 8; y < kCardH - 8; ++y)
        for (int x = 8; x < kCardW - 8; ++x) {
            const Rgb c = back.rgb(x, y);
            used.insert(back.index(x, y));
            ++panel;
            if (c[2] > c[0] + 60 && c[2] > c[1] + 30) ++blue;
        }
    EXPECT_GT(blue, panel * 6 / 10) << "mostly blue inside";
    EXPECT_GE(used.size(), 8u) << "a pattern, not a flat fill";
    for (const auto& [x, y] : {std::pair{2, 48}, {35, 2}, {68, 48}, {35, 93}}) {
        const Rgb c = back.rgb(x, y);
        EXPECT_GE(c[0] + c[1] + c[2], 3 * 235) << "border at " << x << "," << y;
    }
}

// ------------------------------------------------------------------- icon

TEST(ArtworkIcon, MaskAgreesWithAnAllOrNothingAlpha) {
    const Bytes f = readFile("res/lerva.ico");
    ASSERT_GE(f.size(), 22u + 40u);
    EXPECT_EQ(le16(f, 0), 0u);
    EXPECT_EQ(le16(f, 2), 1u) << "icon, not cursor";
    ASSERT_EQ(le16(f, 4), 1u) << "one image";
    EXPECT_EQ(f[6], 64);
    EXPECT_EQ(f[7], 64);
    EXPECT_EQ(le16(f, 10), 1u) << "planes";
    EXPECT_EQ(le16(f, 12), 32u) << "bit count";
    const std::uint32_t bytes = le32(f, 14), at = le32(f, 18);
    EXPECT_EQ(at, 22u);
    ASSERT_EQ(size_t(at) + bytes, f.size());

    EXPECT_EQ(le32(f, at), 40u);
    EXPECT_EQ(le32(f, at + 4), 64u);
    EXPECT_EQ(le32(f, at + 8), 128u) << "XOR image and AND mask together";
    EXPECT_EQ(le16(f, at + 14), 32u);
    EXPECT_EQ(le32(f, at + 16), 0u) << "BI_RGB";
    const size_t xorAt = at + 40, andAt = xorAt + 64 * 64 * 4;
    ASSERT_EQ(andAt + 64 * 8, f.size()) << "1-bit mask rows of 8 bytes follow the pixels";

    int opaque = 0, clear = 0;
    auto alpha = [&](int x, int y) { return f[xorAt + (size_t(63 - y) * 64 + size_t(x)) * 4 + 3]; };
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int a = alpha(x, y);
            ASSERT_TRUE(a == 0 || a == 255) << "alpha " << a << " at " << x << "," << y;
            const bool masked = f[andAt + size_t(63 - y) * 8 + size_t(x / 8)] & (0x80 >> (x % 8));
            ASSERT_EQ(masked, a == 0) << "mask disagrees at " << x << "," << y;
            (a ? opaque : clear)++;
        }
    EXPECT_GT(opaque, 64 * 64 * 9 / 10) << "the square is almost all shown";
    EXPECT_EQ(alpha(32, 32), 255);
}

TEST(ArtworkIcon, RedAboveTheDiagonalBlackBelowWithARedClub) {
    const Bytes f = readFile("res/lerva.ico");
    ASSERT_EQ(f.size(), 22u + 40u + 64 * 64 * 4 + 64 * 8);
    auto rgb = [&](int x, int y) -> Rgb {
        const size_t at = 62 + (size_t(63 - y) * 64 + size_t(x)) * 4;
        return {f[at + 2], f[at + 1], f[at]};
    };
    EXPECT_TRUE(isRed(rgb(40, 6))) << "upper-left half, clear of the K";
    EXPECT_TRUE(isBlack(rgb(10, 20))) << "the stem of the K";
    EXPECT_TRUE(isBlack(rgb(58, 30))) << "lower-right half, clear of the club";
    EXPECT_TRUE(isRed(rgb(44, 44))) << "the club";
}

// ------------------------------------------------------------------ faces

TEST(ArtworkFaces, SuitColoursByTheAcePipAndTheSuitIcon) {
    for (int suit = 1; suit <= 4; ++suit) {
        SCOPED_TRACE("suit " + std::to_string(suit));
        const Bitmap ace(faceFile(60 + suit));
        const Bitmap icon("res/bitmaps/suit" + std::to_string(suit) + ".bmp");
        ASSERT_TRUE(ace.loaded());
        ASSERT_TRUE(icon.loaded());
        const bool red = isRedSuit(suit);
        EXPECT_EQ(isRed(ace.rgb(35, 48)), red);
        EXPECT_EQ(isBlack(ace.rgb(35, 48)), !red);
        EXPECT_EQ(isRed(icon.rgb(11, 11)), red);
        EXPECT_EQ(isBlack(icon.rgb(11, 11)), !red);
        // The icon sits on a light tile, whatever the suit.
        const Rgb tile = icon.rgb(4, 11);
        EXPECT_GE(tile[0] + tile[1] + tile[2], 3 * 220);
    }
}

// On a plain card, inside the border, there is only white and the suit's
// ink blended with white: pure red for hearts and diamonds, grey for spades
// and clubs.
TEST(ArtworkFaces, PlainCardsUseOnlyTheirSuitInk) {
    for (int code : allCards()) {
        if (code / 10 > 6) continue;
        SCOPED_TRACE(faceFile(code));
        const Bitmap face(faceFile(code));
        ASSERT_TRUE(face.loaded());
        int stray = 0;
        for (int y = 2; y < kCardH - 2; ++y)
            for (int x = 2; x < kCardW - 2; ++x) {
                const Rgb c = face.rgb(x, y);
                const bool ok = isRedSuit(code % 10)
                                    ? (c[0] >= 190 && std::abs(c[1] - c[2]) <= 2 && c[1] <= c[0])
                                    : (std::abs(c[0] - c[1]) <= 2 && std::abs(c[1] - c[2]) <= 2);
                if (!ok) ++stray;
            }
        EXPECT_EQ(stray, 0);
    }
}

// One connected patch of suit ink, 4-connected.
struct Blob {
    int x0, y0, x1, y1;  // inclusive bounds
    double cx, cy;       // centre of mass
};

// The separate patches of suit ink between the corner indices.
std::vector<Blob> pipBlobs(const Bitmap& face, bool red) {
    constexpr int x0 = 14, x1 = 57, y0 = 4, y1 = 92;
    std::vector<int> ink(size_t(kCardW) * kCardH, 0);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb c = face.rgb(x, y);
            ink[size_t(y) * kCardW + x] = red ? (c[0] > 150 && c[1] < 128) : (c[0] + c[1] + c[2] < 3 * 128);
        }
    std::vector<Blob> blobs;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (ink[size_t(y) * kCardW + x] != 1) continue;
            Blob b{x, y, x, y, 0, 0};
            int n = 0;
            std::vector<std::pair<int, int>> todo{{x, y}};
            ink[size_t(y) * kCardW + x] = 2;
            while (!todo.empty()) {
                const auto [px, py] = todo.back();
                todo.pop_back();
                b = {std::min(b.x0, px), std::min(b.y0, py), std::max(b.x1, px), std::max(b.y1, py),
                     b.cx + px, b.cy + py};
                ++n;
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    const int nx = px + dx, ny = py + dy;
                    if (nx < x0 || nx >= x1 || ny < y0 || ny >= y1) continue;
                    int& cell = ink[size_t(ny) * kCardW + nx];
                    if (cell == 1) {
                        cell = 2;
                        todo.push_back({nx, ny});
                    }
                }
            }
            b.cx /= n;
            b.cy /= n;
            blobs.push_back(b);
        }
    return blobs;
}

TEST(ArtworkFaces, EachPlainCardShowsAsManyPipsAsItsValue) {
    const struct {
        int rank;
        size_t pips;
    } cases[] = {{1, 6}, {2, 7}, {3, 8}, {4, 9}, {5, 10}, {6, 1}};
    for (const auto& c : cases)
        for (int suit = 1; suit <= 4; ++suit) {
            const int code = 10 * c.rank + suit;
            const Bitmap face(faceFile(code));
            ASSERT_TRUE(face.loaded()) << code;
            EXPECT_EQ(pipBlobs(face, isRedSuit(suit)).size(), c.pips) << "card " << code;
        }
}

// A heart carries its weight in the lobes at the top, a spade in the lobes
// at the bottom; pips below the middle of the card are turned over.
TEST(ArtworkFaces, PipsBelowTheMiddleAreUpsideDown) {
    for (int suit : {2, 3})
        for (int rank = 1; rank <= 6; ++rank) {
            const int code = 10 * rank + suit;
            const Bitmap face(faceFile(code));
            ASSERT_TRUE(face.loaded()) << code;
            for (const Blob& b : pipBlobs(face, isRedSuit(suit))) {
                const double middle = (b.y0 + b.y1) / 2.0;
                const bool upsideDown = middle > kCardH / 2.0;
                const bool heavyTop = b.cy < middle;
                EXPECT_EQ(heavyTop, (suit == 2) != upsideDown)
                    << "card " << code << ", pip at " << (b.x0 + b.x1) / 2 << "," << middle;
            }
        }
}

// Tens and court cards read the same either way up.
TEST(ArtworkFaces, TensAndCourtCardsAreDoubleEnded) {
    for (int code : allCards()) {
        const int rank = code / 10;
        if (rank != 5 && rank < 7) continue;
        SCOPED_TRACE(faceFile(code));
        const Bitmap face(faceFile(code));
        ASSERT_TRUE(face.loaded());
        int worst = 0;
        for (int y = 0; y < kCardH; ++y)
            for (int x = 0; x < kCardW; ++x) {
                const Rgb a = face.rgb(x, y), b = face.rgb(kCardW - 1 - x, kCardH - 1 - y);
                for (int ch = 0; ch < 3; ++ch) worst = std::max(worst, std::abs(a[ch] - b[ch]));
            }
        EXPECT_LE(worst, 8);
    }
}

TEST(ArtworkFaces, CornersOutsideTheRoundedEdgeTakeTheTableColour) {
    for (int code : allCards()) {
        const Bitmap face(faceFile(code));
        ASSERT_TRUE(face.loaded()) << code;
        for (const auto& [x, y] : {std::pair{0, 0}, {kCardW - 1, 0}, {0, kCardH - 1}, {kCardW - 1, kCardH - 1}})
            EXPECT_EQ(face.rgb(x, y), (Rgb{178, 34, 34})) << code << " at " << x << "," << y;
        const Rgb edge = face.rgb(0, 48), paper = face.rgb(5, 48);
        EXPECT_LE(edge[0] + edge[1] + edge[2], 3 * 80) << code << ": dark border";
        EXPECT_EQ(paper, (Rgb{255, 255, 255})) << code << ": white card";
    }
}

TEST(ArtworkFaces, CourtFiguresWearTheSuitColour) {
    for (int rank = 7; rank <= 9; ++rank)
        for (int suit = 1; suit <= 4; ++suit) {
            const int code = 10 * rank + suit;
            const Bitmap face(faceFile(code));
            ASSERT_TRUE(face.loaded()) << code;
            // The robe on the upper figure's right shoulder and, turned, on
            // the lower figure's.
            for (const auto& [x, y] : {std::pair{25, 42}, {kCardW - 1 - 25, kCardH - 1 - 42}}) {
                EXPECT_EQ(isRed(face.rgb(x, y)), isRedSuit(suit)) << code << " at " << x << "," << y;
                EXPECT_EQ(isBlack(face.rgb(x, y)), !isRedSuit(suit)) << code << " at " << x << "," << y;
            }
        }
}

TEST(ArtworkTitle, LightLetteringOverFeltAndAFanOfCards) {
    const Bitmap title("res/bitmaps/title.bmp");
    ASSERT_TRUE(title.loaded());
    auto count = [&](int x0, int y0, int x1, int y1, auto test) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += test(title.rgb(x, y));
        return n;
    };
    auto light = [](Rgb c) { return c[0] > 200 && c[1] > 200 && c[2] > 180; };
    auto felt = [](Rgb c) { return c[1] > c[0] + 30 && c[1] > c[2] + 10; };
    auto paper = [](Rgb c) { return c[0] > 245 && c[1] > 245 && c[2] > 245; };
    EXPECT_GT(count(30, 20, 320, 75, light), 1500) << "the name";
    EXPECT_GT(count(30, 20, 320, 75, felt), 290 * 55 / 2) << "on felt";
    EXPECT_GT(count(100, 100, 250, 185, paper), 3000) << "cards";
    EXPECT_TRUE(felt(title.rgb(30, 150))) << "felt beside the fan";
}

// --------------------------------------------------------------- pictures

TEST(ArtworkDocs, PicturesArePngsOfTheRightSize) {
    const struct {
        const char* file;
        std::uint32_t width, height;
    } cases[] = {{"docs/img/title.png", 350, 200}, {"docs/img/cards.png", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes f = readFile(c.file);
        ASSERT_GE(f.size(), 33u);
        const Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
        EXPECT_TRUE(std::equal(signature.begin(), signature.end(), f.begin()));
        EXPECT_EQ(be32(f, 12), be32(Bytes{'I', 'H', 'D', 'R'}, 0));
        if (c.width) {
            EXPECT_EQ(be32(f, 16), c.width);
            EXPECT_EQ(be32(f, 20), c.height);
        } else {
            EXPECT_GE(be32(f, 16), 7u * kCardW) << "a row of seven cards";
            EXPECT_GE(be32(f, 20), std::uint32_t(kCardH));
        }
    }
}

}  // namespace

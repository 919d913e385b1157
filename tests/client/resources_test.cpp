#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "cards.h"

namespace {

const WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033

// The raw data of a resource in language 1033, or null.
const BYTE* resource(LPCSTR type, int id, DWORD* size = nullptr) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), kLanguage);
    if (!found) return nullptr;
    if (size) *size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

const BITMAPINFOHEADER* bitmapHeader(int id) {
    return reinterpret_cast<const BITMAPINFOHEADER*>(resource(MAKEINTRESOURCEA(2) /* RT_BITMAP */, id));
}

int colours(const BITMAPINFOHEADER& h) {
    return h.biBitCount <= 8 ? (h.biClrUsed ? static_cast<int>(h.biClrUsed) : 1 << h.biBitCount) : 0;
}

// The colour-table index of pixel (x, y), counted from the top, of an 8-bit bitmap.
int pixelIndex(const BITMAPINFOHEADER& h, int x, int y) {
    const BYTE* bits = reinterpret_cast<const BYTE*>(&h) + h.biSize + 4 * colours(h);
    const int stride = (h.biWidth + 3) / 4 * 4;
    return bits[(h.biHeight - 1 - y) * stride + x];
}

}  // namespace

TEST(Resources, BitmapsHaveTheirIdsSizesAndFormats) {
    struct Case { int id; int w, h, bits; };
    std::vector<Case> cases = {{1, 23, 23, 24}, {2, 23, 23, 24}, {3, 23, 23, 24}, {4, 23, 23, 24},
                               {1001, 71, 96, 8}, {1002, 96, 71, 8}, {1003, 350, 200, 24}};
    for (lerva::CardCode card : lerva::fullDeck()) cases.push_back({card, 71, 96, 24});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const BITMAPINFOHEADER* h = bitmapHeader(c.id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->biSize, 40u);
        EXPECT_EQ(h->biWidth, c.w);
        EXPECT_EQ(h->biHeight, c.h);  // positive: rows bottom-up
        EXPECT_EQ(h->biBitCount, c.bits);
        EXPECT_EQ(h->biCompression, static_cast<DWORD>(BI_RGB));
        if (c.bits == 8) {
            EXPECT_EQ(colours(*h), 256);
        }
        // The system loads it at its own size.
        HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(loaded, nullptr);
        BITMAP info{};
        GetObjectA(loaded, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, c.w);
        EXPECT_EQ(info.bmHeight, c.h);
        DeleteObject(loaded);
    }
}

TEST(Resources, NoOtherBitmapBetweenFiveAndAThousand) {
    const auto deck = lerva::fullDeck();
    const std::set<int> cards(deck.begin(), deck.end());
    for (int id = 5; id <= 1000; ++id)
        EXPECT_EQ(bitmapHeader(id) != nullptr, cards.count(id) == 1) << id;
}

TEST(Resources, SideBackIsTheBackTurnedAQuarter) {
    const BITMAPINFOHEADER* upright = bitmapHeader(1001);
    const BITMAPINFOHEADER* side = bitmapHeader(1002);
    ASSERT_TRUE(upright && side);
    const RGBQUAD* uprightColours = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(upright) + 40);
    const RGBQUAD* sideColours = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(side) + 40);
    auto colourAt = [](const RGBQUAD* table, int index) {
        return RGB(table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue);
    };
    // Either way of turning is a quarter turn; the back must match one of them.
    int clockwise = 0, anticlockwise = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 71; ++x) {
            const COLORREF c = colourAt(uprightColours, pixelIndex(*upright, x, y));
            clockwise += c == colourAt(sideColours, pixelIndex(*side, 95 - y, x));
            anticlockwise += c == colourAt(sideColours, pixelIndex(*side, y, 70 - x));
        }
    EXPECT_TRUE(clockwise == 71 * 96 || anticlockwise == 71 * 96) << clockwise << " " << anticlockwise;
}

TEST(Resources, IconGroupHasOne64PixelEntry) {
#pragma pack(push, 2)
    struct GroupEntry { BYTE width, height, colours, reserved; WORD planes, bitCount; DWORD bytes; WORD id; };
    struct Group { WORD reserved, type, count; GroupEntry entries[1]; };
#pragma pack(pop)
    const auto* group = reinterpret_cast<const Group*>(resource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, 301));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->type, 1);
    ASSERT_EQ(group->count, 1);
    EXPECT_EQ(group->entries[0].width, 64);
    EXPECT_EQ(group->entries[0].height, 64);
    EXPECT_EQ(group->entries[0].bitCount, 32);
    const auto* image = reinterpret_cast<const BITMAPINFOHEADER*>(
        resource(MAKEINTRESOURCEA(3) /* RT_ICON */, group->entries[0].id));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->biWidth, 64);
    EXPECT_EQ(image->biHeight, 128);  // colour image and mask
    EXPECT_EQ(image->biBitCount, 32);
    // Alpha is either opaque or transparent.
    const BYTE* pixels = reinterpret_cast<const BYTE*>(image) + image->biSize;
    for (int i = 0; i < 64 * 64; ++i) {
        const BYTE alpha = pixels[4 * i + 3];
        ASSERT_TRUE(alpha == 0 || alpha == 255) << i;
    }
}

TEST(Resources, ManifestAsksForCommonControlsSix) {
#ifdef _WIN64
    const char* const processor = "processorArchitecture=\"amd64\"";
#else
    const char* const processor = "processorArchitecture=\"x86\"";
#endif
    DWORD size = 0;
    const BYTE* data = resource(MAKEINTRESOURCEA(24) /* RT_MANIFEST */, 1, &size);
    ASSERT_NE(data, nullptr);
    const std::string manifest(reinterpret_cast<const char*>(data), size);
    for (const char* part : {"manifestVersion=\"1.0\"", processor, "<description>Lerva</description>",
                             "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "publicKeyToken=\"6595b64144ccf1df\"",
                             "language=\"*\"", "Lerva\""})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

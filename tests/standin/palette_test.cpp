// Logical palettes and DIB_PAL_COLORS colour tables: 16-bit indices into the
// palette selected into the context, in CreateDIBSection, SetDIBits and
// GetDIBits.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace testing_support;

namespace {

const PALETTEENTRY kEntries[] = {
    {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}, {10, 20, 30, 0}};
constexpr int kCount = 5;

HPALETTE MakePalette() {
    struct {
        WORD version, count;
        PALETTEENTRY entries[kCount];
    } log = {0x300, kCount, {}};
    std::memcpy(log.entries, kEntries, sizeof kEntries);
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log));
}

// A 6 x 1 picture at 4 bits, pixel i holding index i, and a DIB_PAL_COLORS
// table naming palette entries 4, 3, 2, 1, 0 and one past the end.
struct PaletteIndexed {
    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 6, 1, 1, 4, BI_RGB, 0, 0, 0, 6, 0};
    WORD table[6] = {4, 3, 2, 1, 0, 9};
    std::uint8_t bits[4] = {0x01, 0x23, 0x45, 0x00};
    const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

TEST(Palette, IndexTablesTakeTheirColoursFromTheSelectedPalette) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE palette = MakePalette();
    ASSERT_NE(palette, nullptr);
    SelectPalette(dc, palette, FALSE);
    const PaletteIndexed picture;
    struct Case {
        const char* name;
        std::function<HBITMAP()> make;  // a bitmap showing the picture
    };
    const Case cases[] = {
        {"CreateDIBSection",
         [&] {
             void* bits = nullptr;
             HBITMAP b = CreateDIBSection(dc, picture.info(), DIB_PAL_COLORS, &bits, nullptr, 0);
             if (b != nullptr) std::memcpy(bits, picture.bits, sizeof picture.bits);
             return b;
         }},
        {"SetDIBits",
         [&] {
             HBITMAP b = MakeDib(6, 1, 32).bitmap;
             EXPECT_EQ(SetDIBits(dc, b, 0, 1, picture.bits, picture.info(), DIB_PAL_COLORS), 1);
             return b;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = c.make();
        ASSERT_NE(bitmap, nullptr);
        std::vector<RGBQUAD> pixels = ReadPixels(bitmap, 32);
        ASSERT_EQ(pixels.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            PALETTEENTRY want = i < 5 ? kEntries[picture.table[i]] : PALETTEENTRY{0, 0, 0, 0};
            EXPECT_EQ(pixels[i].rgbRed, want.peRed) << i;
            EXPECT_EQ(pixels[i].rgbGreen, want.peGreen) << i;
            EXPECT_EQ(pixels[i].rgbBlue, want.peBlue) << i;
        }
        // Read back as indices: the table names entries 0 to 15 in order,
        // black past the palette's end, so each pixel is its entry's index.
        BitmapInfoBuffer asked = MakeInfo(6, 1, 4);
        std::uint8_t row[4] = {};
        ASSERT_EQ(GetDIBits(dc, bitmap, 0, 1, row, asked.info(), DIB_PAL_COLORS), 1);
        WORD table[16];
        std::memcpy(table, asked.colors, sizeof table);
        for (WORD i = 0; i < 16; ++i) EXPECT_EQ(table[i], i);
        const std::uint8_t indices[4] = {0x43, 0x21, 0x05, 0x00};
        EXPECT_EQ(0, std::memcmp(row, indices, sizeof row));
        DeleteObject(bitmap);
    }
    SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    DeleteDC(dc);
    DeleteObject(palette);
}

TEST(Palette, ObjectsSelectionAndRefusals) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE palette = MakePalette();
    HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    WORD count = 0;
    EXPECT_EQ(GetObjectA(palette, sizeof count, &count), 2);
    EXPECT_EQ(count, kCount);
    PALETTEENTRY entries[20] = {};
    EXPECT_EQ(GetPaletteEntries(palette, 3, 10, entries), 2u);
    EXPECT_EQ(entries[1].peBlue, 30);
    EXPECT_EQ(GetPaletteEntries(stock, 0, 20, entries), 20u);
    EXPECT_EQ(entries[8].peGreen, 220) << "money green";

    EXPECT_EQ(SelectPalette(dc, palette, FALSE), stock);
    EXPECT_EQ(RealizePalette(dc), static_cast<UINT>(kCount));
    EXPECT_FALSE(DeleteObject(palette)) << "still selected";
    EXPECT_EQ(SelectObject(dc, palette), nullptr) << "palettes go through SelectPalette";
    EXPECT_EQ(SelectPalette(dc, stock, FALSE), palette);
    EXPECT_EQ(RealizePalette(nullptr), static_cast<UINT>(GDI_ERROR));
    const WORD bad[][4] = {{0x200, 1, 0, 0}, {0x300, 0, 0, 0}};  // version, entry count
    for (const auto& b : bad) EXPECT_EQ(CreatePalette(reinterpret_cast<const LOGPALETTE*>(b)), nullptr);
    // Palette indices need a context to hold the palette.
    PaletteIndexed picture;
    EXPECT_EQ(CreateDIBSection(nullptr, picture.info(), DIB_PAL_COLORS, nullptr, nullptr, 0), nullptr);
    Dib target = MakeDib(6, 1, 32);
    EXPECT_EQ(SetDIBits(nullptr, target.bitmap, 0, 1, picture.bits, picture.info(), DIB_PAL_COLORS), 0);
    DeleteObject(target.bitmap);
    EXPECT_TRUE(DeleteObject(palette));
    DeleteDC(dc);
}

}  // namespace

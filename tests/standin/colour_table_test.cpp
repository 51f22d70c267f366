// Colour tables and colours: the selected DIB section's table, the colour a
// context shows for a requested one, SetPixelV, the halftone palette and
// the palette-entry calls.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace testing_support;

namespace {

TEST(DibColorTable, ReadsAndWritesTheSelectedSectionsTable) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    Dib dib = MakeDib(2, 1, 4);  // a grey ramp: entry i is 17 * i
    dib.bits[0] = 0x5F;          // pixels 5 and 15
    RGBQUAD table[20] = {};
    EXPECT_EQ(GetDIBColorTable(dc, 0, 16, table), 0u) << "the stock bitmap has no table";
    HGDIOBJ old = SelectObject(dc, dib.bitmap);
    EXPECT_EQ(GetDIBColorTable(dc, 14, 5, table), 2u) << "no entries past the table";
    EXPECT_EQ(table[0].rgbGreen, 14 * 17);
    // New colours show at once; the pixels keep their indices.
    const RGBQUAD colours[2] = {{0, 0, 255, 0}, {4, 5, 6, 0}};
    EXPECT_EQ(SetDIBColorTable(dc, 5, 1, colours), 1u);
    EXPECT_EQ(SetDIBColorTable(dc, 15, 2, colours + 1), 1u);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(6, 5, 4));
    EXPECT_EQ(dib.bits[0], 0x5F);
    SelectObject(dc, old);
    Dib dib24 = MakeDib(2, 1, 24);
    SelectObject(dc, dib24.bitmap);
    EXPECT_EQ(SetDIBColorTable(dc, 0, 1, colours), 0u) << "24 bits have no table";
    SelectObject(dc, old);
    DeleteObject(dib.bitmap);
    DeleteObject(dib24.bitmap);
    DeleteDC(dc);
    EXPECT_EQ(GetDIBColorTable(dc, 0, 1, table), 0u);
}

TEST(NearestColor, IsWhatTheSelectedBitmapStores) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(nullptr);
    Dib grey = MakeDib(1, 1, 8), rgb555 = MakeDib(1, 1, 16);  // 8 bits: entry i is grey i
    const struct {
        HDC dc;
        HBITMAP selected;
        COLORREF asked, shown;
    } cases[] = {{screen, nullptr, 0x01020304, RGB(4, 3, 2)},  // any colour; the top byte ignored
                 {dc, nullptr, RGB(200, 190, 180), RGB(255, 255, 255)},  // the first bitmap is monochrome
                 {dc, nullptr, RGB(90, 20, 30), RGB(0, 0, 0)},
                 {dc, grey.bitmap, RGB(100, 110, 120), RGB(110, 110, 110)},
                 {dc, rgb555.bitmap, RGB(0x47, 0x80, 0xFF), RGB(0x42, 0x84, 0xFF)}};
    for (const auto& c : cases) {
        HGDIOBJ previous = c.selected != nullptr ? SelectObject(c.dc, c.selected) : nullptr;
        EXPECT_EQ(GetNearestColor(c.dc, c.asked), c.shown) << std::hex << c.asked;
        if (previous != nullptr) SelectObject(c.dc, previous);
    }
    EXPECT_EQ(GetNearestColor(nullptr, 0), CLR_INVALID);
    // SetPixelV: the pixel set, and whether it could be.
    SelectObject(dc, rgb555.bitmap);
    EXPECT_TRUE(SetPixelV(dc, 0, 0, RGB(255, 255, 255))) << "white is not the failure value";
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_FALSE(SetPixelV(dc, 1, 0, 0));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DeleteObject(grey.bitmap);
    DeleteObject(rgb555.bitmap);
}

TEST(HalftonePalette, HoldsTheColourCubeThatDibPalColorsTablesTake) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(dc);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 256, entries), 256u);
    for (int level = 0; level < 216; ++level) {
        const COLORREF colour = RGB(level / 36 * 51, level / 6 % 6 * 51, level % 6 * 51);
        const PALETTEENTRY& e = entries[GetNearestPaletteIndex(palette, colour)];
        ASSERT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), colour);
    }
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    BitmapInfoBuffer info = MakeInfo(1, 1, 8);
    for (WORD i = 0; i < 256; ++i) std::memcpy(reinterpret_cast<BYTE*>(info.colors) + 2 * i, &i, 2);
    HBITMAP section = CreateDIBSection(dc, info.info(), DIB_PAL_COLORS, nullptr, nullptr, 0);
    ASSERT_EQ(GetDIBits(dc, section, 0, 1, nullptr, info.info(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(info.colors[200].rgbRed, entries[200].peRed);
    EXPECT_EQ(info.colors[200].rgbBlue, entries[200].peBlue);
    SelectPalette(dc, old, FALSE);
    EXPECT_EQ(CreateHalftonePalette(nullptr), nullptr);
    DeleteObject(section);
    DeleteObject(palette);
    DeleteDC(dc);
}

TEST(PaletteEntries, SetAnimateAndNearest) {
    ResourceGuard guard;
    const PALETTEENTRY start[4] = {{10, 10, 10, 0}, {200, 0, 0, PC_RESERVED}, {0, 200, 0, 0}, {0, 0, 200, PC_RESERVED}};
    std::vector<BYTE> block(2 * sizeof(WORD) + sizeof start);
    const WORD head[2] = {0x300, 4};
    std::memcpy(block.data(), head, sizeof head);
    std::memcpy(block.data() + sizeof head, start, sizeof start);
    HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(block.data()));
    // The nearest in RGB; (150, 150, 0) ties 1 and 2 and takes the lower.
    const COLORREF nearest[][2] = {{RGB(0, 0, 0), 0}, {RGB(0, 150, 0), 2}, {RGB(0, 0, 255), 3}, {RGB(150, 150, 0), 1}};
    for (const auto& n : nearest) EXPECT_EQ(GetNearestPaletteIndex(palette, n[0]), n[1]) << std::hex << n[0];

    const PALETTEENTRY changed[2] = {{1, 2, 3, 0}, {4, 5, 6, PC_NOCOLLAPSE}};
    EXPECT_EQ(SetPaletteEntries(palette, 2, 3, changed), 2u) << "entries past the palette are dropped";
    // AnimatePalette changes the PC_RESERVED entries only: now just entry 1.
    const PALETTEENTRY animated[4] = {{50, 0, 0, 0}, {60, 0, 0, 0}, {70, 0, 0, 0}, {80, 0, 0, 0}};
    EXPECT_TRUE(AnimatePalette(palette, 0, 4, animated));
    PALETTEENTRY got[4];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 4, got), 4u);
    const BYTE reds[4] = {10, 60, 1, 4}, flags[4] = {0, PC_RESERVED, 0, PC_NOCOLLAPSE};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].peRed, reds[i]) << i;
        EXPECT_EQ(got[i].peFlags, flags[i]) << i;
    }
    HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(SetPaletteEntries(stock, 0, 1, changed), 0u) << "the default palette stays";
    EXPECT_FALSE(AnimatePalette(stock, 0, 1, animated));
    DeleteObject(palette);
    EXPECT_EQ(SetPaletteEntries(palette, 0, 1, changed), 0u);
    EXPECT_EQ(GetNearestPaletteIndex(palette, 0), CLR_INVALID);
}

}  // namespace

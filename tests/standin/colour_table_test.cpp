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

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries.size());
    std::memcpy(logical->palPalEntry, entries.data(), entries.size() * sizeof(PALETTEENTRY));
    return CreatePalette(logical);
}

bool SameQuad(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

TEST(DibColorTable, ReadsAndWritesTheSelectedSectionsTable) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    Dib dib = MakeDib(2, 1, 4);  // a grey ramp: entry i is 17 * i
    dib.bits[0] = 0x5F;          // pixels 5 and 15
    HGDIOBJ old = SelectObject(dc, dib.bitmap);
    RGBQUAD table[20] = {};
    EXPECT_EQ(GetDIBColorTable(dc, 0, 20, table), 16u) << "no more entries than the table holds";
    EXPECT_EQ(table[15].rgbRed, 255);
    EXPECT_EQ(GetDIBColorTable(dc, 14, 5, table), 2u);
    EXPECT_EQ(table[0].rgbGreen, 14 * 17);
    EXPECT_EQ(GetDIBColorTable(dc, 16, 1, table), 0u);

    // New colours show at once; the pixels keep their indices.
    const RGBQUAD red{0, 0, 255, 0};
    EXPECT_EQ(SetDIBColorTable(dc, 5, 1, &red), 1u);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 255, 255));
    const RGBQUAD two[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    EXPECT_EQ(SetDIBColorTable(dc, 15, 2, two), 1u) << "entries past the table are dropped";
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(3, 2, 1));
    EXPECT_EQ(dib.bits[0], 0x5F);
    SelectObject(dc, old);
    BitmapInfoBuffer info = MakeInfo(2, 1, 4);
    ASSERT_EQ(GetDIBits(dc, dib.bitmap, 0, 1, nullptr, info.info(), DIB_RGB_COLORS), 1);
    EXPECT_TRUE(SameQuad(info.colors[5], red)) << "the section keeps its new table";

    // Only an indexed DIB section selected into a context has a table here.
    Dib dib24 = MakeDib(2, 1, 24);
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, nullptr);
    HDC screen = GetDC(nullptr);
    struct Case {
        const char* name;
        HDC dc;
        HBITMAP selected;
    };
    const Case refused[] = {
        {"the stock bitmap", dc, nullptr},
        {"a 24-bit section", dc, dib24.bitmap},
        {"a monochrome device-dependent bitmap", dc, mono},
        {"the screen's context", screen, nullptr},
        {"no context", nullptr, nullptr},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        HGDIOBJ previous = c.selected != nullptr ? SelectObject(c.dc, c.selected) : nullptr;
        EXPECT_EQ(GetDIBColorTable(c.dc, 0, 2, table), 0u);
        EXPECT_EQ(SetDIBColorTable(c.dc, 0, 1, &red), 0u);
        if (previous != nullptr) SelectObject(c.dc, previous);
    }
    ReleaseDC(nullptr, screen);
    for (HBITMAP b : {dib.bitmap, dib24.bitmap, mono}) DeleteObject(b);
    DeleteDC(dc);
}

TEST(NearestColor, IsWhatTheSelectedBitmapStores) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    Dib grey = MakeDib(1, 1, 8);  // entry i is grey i
    BitmapInfoBuffer info = MakeInfo(1, 1, 16);
    HBITMAP rgb555 = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, nullptr, nullptr, 0);
    struct Case {
        const char* name;
        HDC dc;
        HBITMAP selected;
        COLORREF asked, shown;
    };
    const Case cases[] = {
        {"the screen shows every colour", screen, nullptr, RGB(1, 2, 3), RGB(1, 2, 3)},
        {"a new memory context is monochrome", dc, nullptr, RGB(200, 190, 180), RGB(255, 255, 255)},
        {"a new memory context is monochrome (dark)", dc, nullptr, RGB(90, 20, 30), RGB(0, 0, 0)},
        {"a grey table", dc, grey.bitmap, RGB(100, 110, 120), RGB(110, 110, 110)},
        {"5-5-5 keeps five bits a channel", dc, rgb555, RGB(0x47, 0x80, 0xFF), RGB(0x42, 0x84, 0xFF)},
        {"the top byte is ignored", screen, nullptr, 0x01020304, RGB(4, 3, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HGDIOBJ previous = c.selected != nullptr ? SelectObject(c.dc, c.selected) : nullptr;
        EXPECT_EQ(GetNearestColor(c.dc, c.asked), c.shown);
        if (previous != nullptr) SelectObject(c.dc, previous);
    }
    SetLastError(0);
    EXPECT_EQ(GetNearestColor(nullptr, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ReleaseDC(nullptr, screen);
    DeleteDC(dc);
    DeleteObject(grey.bitmap);
    DeleteObject(rgb555);
}

TEST(SetPixelV, SetsThePixelAndSaysWhetherItCould) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    Dib dib = MakeDib(2, 2, 24);
    HGDIOBJ old = SelectObject(dc, dib.bitmap);
    EXPECT_TRUE(SetPixelV(dc, 1, 0, RGB(10, 20, 30)));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(10, 20, 30));
    EXPECT_TRUE(SetPixelV(dc, 0, 0, RGB(255, 255, 255))) << "white is not the failure value";
    EXPECT_FALSE(SetPixelV(dc, 2, 0, RGB(1, 1, 1))) << "outside the bitmap";
    EXPECT_FALSE(SetPixelV(nullptr, 0, 0, RGB(1, 1, 1)));
    SelectObject(dc, old);
    DeleteObject(dib.bitmap);
    DeleteDC(dc);
}

TEST(HalftonePalette, HoldsTheStaticColoursACubeAndGreys) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HPALETTE palette = CreateHalftonePalette(screen);
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 256, entries), 256u);
    // Every corner and step of the 6 x 6 x 6 cube is there exactly.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const UINT i = GetNearestPaletteIndex(palette, RGB(r * 51, g * 51, b * 51));
                ASSERT_LT(i, 256u);
                EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), RGB(r * 51, g * 51, b * 51));
            }
    // A DIB section made from it keeps those colours (DIB_PAL_COLORS).
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    BitmapInfoBuffer info = MakeInfo(1, 1, 8);
    auto* indices = reinterpret_cast<WORD*>(info.colors);
    for (WORD i = 0; i < 256; ++i) indices[i] = i;
    HBITMAP section = CreateDIBSection(dc, info.info(), DIB_PAL_COLORS, nullptr, nullptr, 0);
    ASSERT_NE(section, nullptr);
    BitmapInfoBuffer read = MakeInfo(1, 1, 8);
    ASSERT_EQ(GetDIBits(dc, section, 0, 1, nullptr, read.info(), DIB_RGB_COLORS), 1);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(RGB(read.colors[i].rgbRed, read.colors[i].rgbGreen, read.colors[i].rgbBlue),
                  RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue)) << i;
    SelectPalette(dc, old, FALSE);
    EXPECT_EQ(CreateHalftonePalette(nullptr), nullptr);
    DeleteObject(section);
    DeleteObject(palette);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST(PaletteEntries, SetAnimateAndNearest) {
    ResourceGuard guard;
    HPALETTE palette = MakePalette({{10, 10, 10, 0}, {200, 0, 0, PC_RESERVED}, {0, 200, 0, 0}, {0, 0, 200, PC_RESERVED}});
    ASSERT_NE(palette, nullptr);
    struct Nearest {
        COLORREF colour;
        UINT index;
    };
    for (const Nearest& n : {Nearest{RGB(0, 0, 0), 0}, Nearest{RGB(255, 0, 0), 1}, Nearest{RGB(0, 150, 0), 2},
                             Nearest{RGB(0, 0, 255), 3}, Nearest{RGB(150, 150, 0), 1}})  // a tie goes to the lower index
        EXPECT_EQ(GetNearestPaletteIndex(palette, n.colour), n.index) << std::hex << n.colour;

    PALETTEENTRY got[4];
    const PALETTEENTRY changed[3] = {{1, 2, 3, 0}, {4, 5, 6, PC_NOCOLLAPSE}, {7, 8, 9, 0}};
    EXPECT_EQ(SetPaletteEntries(palette, 2, 3, changed), 2u) << "entries past the palette are dropped";
    ASSERT_EQ(GetPaletteEntries(palette, 0, 4, got), 4u);
    EXPECT_EQ(got[2].peBlue, 3);
    EXPECT_EQ(got[3].peRed, 4);
    EXPECT_EQ(got[3].peFlags, PC_NOCOLLAPSE) << "flags are kept and reported";
    EXPECT_EQ(got[1].peFlags, PC_RESERVED);
    EXPECT_EQ(SetPaletteEntries(palette, 4, 1, changed), 0u);

    // AnimatePalette changes PC_RESERVED entries only.
    const PALETTEENTRY animated[4] = {{50, 50, 50, 0}, {60, 60, 60, 0}, {70, 70, 70, 0}, {80, 80, 80, 0}};
    EXPECT_TRUE(AnimatePalette(palette, 0, 4, animated));
    ASSERT_EQ(GetPaletteEntries(palette, 0, 4, got), 4u);
    EXPECT_EQ(got[0].peRed, 10) << "not reserved";
    EXPECT_EQ(got[1].peRed, 60);
    EXPECT_EQ(got[1].peFlags, PC_RESERVED);
    EXPECT_EQ(got[2].peRed, 1);
    EXPECT_EQ(got[3].peRed, 4) << "its flags are PC_NOCOLLAPSE now";

    HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(SetPaletteEntries(stock, 0, 1, changed), 0u) << "the default palette stays";
    EXPECT_FALSE(AnimatePalette(stock, 0, 1, animated));
    EXPECT_EQ(SetPaletteEntries(palette, 0, 1, nullptr), 0u);
    DeleteObject(palette);
    EXPECT_EQ(SetPaletteEntries(palette, 0, 1, changed), 0u);
    EXPECT_FALSE(AnimatePalette(palette, 0, 1, animated));
    EXPECT_EQ(GetNearestPaletteIndex(palette, 0), CLR_INVALID);
}

}  // namespace

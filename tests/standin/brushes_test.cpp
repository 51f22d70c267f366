// Hatched, pattern and DIB pattern brushes, CreateBrushIndirect, the DC
// brush and pen, and the brush origin: the pixels each draws.
#include "paint_canvas.h"
#include "resource_guard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace testing_support;

namespace {

struct HatchCase {
    int style;
    const char* picture;  // 8 x 8, 'r' the hatch lines, 'b' the background
};

const HatchCase kHatches[] = {
    {HS_HORIZONTAL, "bbbbbbbb\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\nrrrrrrrr\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\n"},
    {HS_VERTICAL, "bbbbrbbb\nbbbbrbbb\nbbbbrbbb\nbbbbrbbb\nbbbbrbbb\nbbbbrbbb\nbbbbrbbb\nbbbbrbbb\n"},
    {HS_FDIAGONAL, "rbbbbbbb\nbrbbbbbb\nbbrbbbbb\nbbbrbbbb\nbbbbrbbb\nbbbbbrbb\nbbbbbbrb\nbbbbbbbr\n"},
    {HS_BDIAGONAL, "bbbbbbbr\nbbbbbbrb\nbbbbbrbb\nbbbbrbbb\nbbbrbbbb\nbbrbbbbb\nbrbbbbbb\nrbbbbbbb\n"},
    {HS_CROSS, "bbbbrbbb\nbbbbrbbb\nbbbbrbbb\nbbbbrbbb\nrrrrrrrr\nbbbbrbbb\nbbbbrbbb\nbbbbrbbb\n"},
    {HS_DIAGCROSS, "rbbbbbbr\nbrbbbbrb\nbbrbbrbb\nbbbrrbbb\nbbbrrbbb\nbbrbbrbb\nbrbbbbrb\nrbbbbbbr\n"},
};

// Every hatch style, at 24 and 4 bits, in OPAQUE mode: lines in the brush's
// colour, the rest in the background colour; in TRANSPARENT mode the rest
// keeps what was there.
TEST(HatchBrushes, EachStyleInBothBackgroundModes) {
    ResourceGuard guard;
    const std::vector<RGBQUAD> colors = {{255, 255, 255, 0}, {0, 0, 255, 0}, {255, 0, 0, 0}, {0, 0, 0, 0}};
    for (int bitCount : {24, 4}) {
        for (const HatchCase& c : kHatches) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << " at " << bitCount << " bits");
            PaintCanvas canvas(8, 8, bitCount, colors);
            canvas.Fill(RGB(255, 255, 255));
            canvas.Use(CreateHatchBrush(c.style, RGB(255, 0, 0)));
            SetBkColor(canvas.dc(), RGB(0, 0, 255));
            ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 8, 8, PATCOPY));
            EXPECT_EQ(canvas.Picture(BasicLegend()), c.picture);

            canvas.Fill(RGB(255, 255, 255));
            SetBkMode(canvas.dc(), TRANSPARENT);
            const RECT all{0, 0, 8, 8};
            ASSERT_TRUE(FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetCurrentObject(canvas.dc(), OBJ_BRUSH))));
            std::string transparent = c.picture;
            for (char& ch : transparent) ch = ch == 'b' ? '.' : ch;
            EXPECT_EQ(canvas.Picture(BasicLegend()), transparent);
        }
    }
}

// The pattern follows the brush origin in PatBlt, FillRect and a blit's
// pattern operation alike: pixel (x, y) takes tile pixel
// ((x - ox) mod 8, (y - oy) mod 8), so a rectangle starting anywhere shows
// the same grid.
TEST(BrushOrigin, AlignsThePatternInEveryFill) {
    ResourceGuard guard;
    PaintCanvas canvas(10, 6);
    canvas.Use(CreateHatchBrush(HS_CROSS, RGB(255, 0, 0)));
    SetBkColor(canvas.dc(), RGB(0, 0, 255));
    POINT previous{-1, -1};
    ASSERT_TRUE(SetBrushOrgEx(canvas.dc(), 3, -2, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    // Lines at x = 3 + 4 = 7 and y = -2 + 4 = 2.
    const std::string expected = Rows({"bbbbbbbrbb", "bbbbbbbrbb", "rrrrrrrrrr", "bbbbbbbrbb",
                                       "bbbbbbbrbb", "bbbbbbbrbb"});
    ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 10, 6, PATCOPY));
    EXPECT_EQ(canvas.Picture(BasicLegend()), expected);

    // Piecewise, in rectangles that start off the tile's grid.
    canvas.Fill(RGB(255, 255, 255));
    HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(canvas.dc(), OBJ_BRUSH));
    for (RECT r : {RECT{0, 0, 5, 3}, RECT{5, 0, 10, 3}, RECT{0, 3, 10, 6}}) ASSERT_TRUE(FillRect(canvas.dc(), &r, brush));
    EXPECT_EQ(canvas.Picture(BasicLegend()), expected);

    // MERGECOPY (pattern AND source) from a white source shows the pattern.
    PaintCanvas white(10, 6);
    white.Fill(RGB(255, 255, 255));
    canvas.Fill(RGB(0, 0, 0));
    ASSERT_TRUE(BitBlt(canvas.dc(), 1, 1, 9, 5, white.dc(), 1, 1, MERGECOPY));
    std::string blitted = expected;
    for (int x = 0; x <= 10; ++x) blitted[static_cast<std::size_t>(x)] = x == 10 ? '\n' : '#';
    for (int y = 1; y < 6; ++y) blitted[static_cast<std::size_t>(y * 11)] = '#';
    EXPECT_EQ(canvas.Picture(BasicLegend()), blitted);
}

// A 2 x 2 colour picture tiles the area; the brush keeps its own copy, so
// the bitmap may be deleted first. A monochrome bitmap's pattern takes the
// context's text colour for 0 and background colour for 1.
TEST(PatternBrushes, TileFromABitmapAndMonochromeTakesTheContextsColours) {
    ResourceGuard guard;
    Dib picture = MakeDib(2, -2, 24);
    const std::uint8_t pixels[] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0};  // r g / b # (rows padded)
    std::memcpy(picture.bits, pixels, sizeof pixels);
    HBRUSH brush = CreatePatternBrush(picture.bitmap);
    ASSERT_NE(brush, nullptr);
    LOGBRUSH described{};
    ASSERT_EQ(GetObjectA(brush, sizeof described, &described), static_cast<int>(sizeof described));
    EXPECT_EQ(described.lbStyle, static_cast<UINT>(BS_PATTERN));
    EXPECT_EQ(described.lbHatch, reinterpret_cast<ULONG_PTR>(picture.bitmap));
    ASSERT_TRUE(DeleteObject(picture.bitmap));

    PaintCanvas canvas(5, 3);
    canvas.Use(brush);
    SetBrushOrgEx(canvas.dc(), 1, 0, nullptr);
    ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 5, 3, PATCOPY));
    EXPECT_EQ(canvas.Picture(BasicLegend()), Rows({"grgrg", "#b#b#", "grgrg"}));

    Dib mono = MakeDib(2, -1, 1);  // black and white table: monochrome
    mono.bits[0] = 0x40;           // 0 1
    HBRUSH monoBrush = CreatePatternBrush(mono.bitmap);
    DeleteObject(mono.bitmap);
    canvas.Use(monoBrush);
    SetBrushOrgEx(canvas.dc(), 0, 0, nullptr);
    SetTextColor(canvas.dc(), RGB(255, 0, 0));
    SetBkColor(canvas.dc(), RGB(0, 255, 0));
    ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 5, 1, PATCOPY));
    EXPECT_EQ(canvas.Picture(BasicLegend()).substr(0, 6), "rgrgr\n");
}

// A packed DIB: header, colour table (RGBQUADs or palette indices), pixels.
std::vector<std::uint8_t> PackedDib(int width, int height, int bitCount, const std::vector<std::uint8_t>& table,
                                    const std::vector<std::uint8_t>& pixels) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = BI_RGB;
    std::vector<std::uint8_t> bytes(sizeof h + table.size() + pixels.size());
    std::memcpy(bytes.data(), &h, sizeof h);
    if (!table.empty()) std::memcpy(bytes.data() + sizeof h, table.data(), table.size());
    std::memcpy(bytes.data() + sizeof h + table.size(), pixels.data(), pixels.size());
    return bytes;
}

// A 2 x 2 bottom-up 1-bit DIB, its table explicit (DIB_RGB_COLORS) or
// indices into the palette of the context drawn into (DIB_PAL_COLORS).
TEST(DibPatternBrushes, ColoursFromTheTableOrTheContextsPalette) {
    ResourceGuard guard;
    // Bottom row 1 0, top row 0 1: the top row is drawn first.
    const std::vector<std::uint8_t> rows = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
    const std::vector<std::uint8_t> rgb = PackedDib(2, 2, 1, {255, 0, 0, 0, 0, 0, 255, 0}, rows);  // blue, red
    HBRUSH explicitColours = CreateDIBPatternBrushPt(rgb.data(), DIB_RGB_COLORS);
    ASSERT_NE(explicitColours, nullptr);
    PaintCanvas canvas(3, 2);
    canvas.Use(explicitColours);
    ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 3, 2, PATCOPY));
    EXPECT_EQ(canvas.Picture(BasicLegend()), Rows({"brb", "rbr"}));

    const std::vector<std::uint8_t> indexed = PackedDib(2, 2, 1, {1, 0, 2, 0}, rows);  // palette entries 1, 2
    HBRUSH paletteColours = CreateDIBPatternBrushPt(indexed.data(), DIB_PAL_COLORS);
    ASSERT_NE(paletteColours, nullptr);
    LOGBRUSH described{};
    GetObjectA(paletteColours, sizeof described, &described);
    EXPECT_EQ(described.lbStyle, static_cast<UINT>(BS_DIBPATTERNPT));
    EXPECT_EQ(described.lbColor, static_cast<COLORREF>(DIB_PAL_COLORS));
    struct {
        WORD version, count;
        PALETTEENTRY entries[3];
    } logical{0x300, 3, {{0, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 0, 0}}};  // entry 1 green, 2 black
    HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    HPALETTE previous = SelectPalette(canvas.dc(), palette, FALSE);
    canvas.Use(paletteColours);
    ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 3, 2, PATCOPY));
    EXPECT_EQ(canvas.Picture(BasicLegend()), Rows({"g#g", "#g#"}));
    SelectPalette(canvas.dc(), previous, FALSE);
    DeleteObject(palette);
    EXPECT_EQ(CreateDIBPatternBrushPt(nullptr, DIB_RGB_COLORS), nullptr);
    EXPECT_EQ(CreateDIBPatternBrushPt(rgb.data(), 7), nullptr);

    // The same picture in a movable global object: drawn alike, reported as
    // BS_DIBPATTERN with the handle; a block too short for its pixels, a
    // freed handle and a discarded one are refused.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, rgb.size());
    std::memcpy(GlobalLock(block), rgb.data(), rgb.size());
    GlobalUnlock(block);
    HBRUSH global = CreateDIBPatternBrush(block, DIB_RGB_COLORS);
    ASSERT_NE(global, nullptr);
    GetObjectA(global, sizeof described, &described);
    EXPECT_EQ(described.lbStyle, static_cast<UINT>(BS_DIBPATTERN));
    EXPECT_EQ(described.lbHatch, reinterpret_cast<ULONG_PTR>(block));
    canvas.Use(global);
    ASSERT_TRUE(PatBlt(canvas.dc(), 0, 0, 3, 2, PATCOPY));
    EXPECT_EQ(canvas.Picture(BasicLegend()), Rows({"brb", "rbr"}));
    HGLOBAL shortBlock = GlobalAlloc(GMEM_FIXED, rgb.size() - 1);
    std::memcpy(shortBlock, rgb.data(), rgb.size() - 1);
    EXPECT_EQ(CreateDIBPatternBrush(shortBlock, DIB_RGB_COLORS), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    GlobalFree(shortBlock);
    EXPECT_EQ(CreateDIBPatternBrush(GlobalDiscard(block), DIB_RGB_COLORS), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISCARDED));
    GlobalFree(block);
    EXPECT_EQ(CreateDIBPatternBrush(block, DIB_RGB_COLORS), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

struct IndirectCase {
    UINT style;
    COLORREF color;
    ULONG_PTR hatch;
    bool made;
};

// CreateBrushIndirect takes each documented style and GetObject gives the
// LOGBRUSH back; an unknown style or hatch is refused.
TEST(CreateBrushIndirect, EachStyleRoundTripsThroughGetObject) {
    ResourceGuard guard;
    Dib picture = MakeDib(2, 2, 24);
    const std::vector<std::uint8_t> dib = PackedDib(1, 1, 24, {}, {1, 2, 3, 0});
    const IndirectCase cases[] = {
        {BS_SOLID, RGB(1, 2, 3), 0, true},
        {BS_NULL, 0, 0, true},
        {BS_HATCHED, RGB(4, 5, 6), HS_DIAGCROSS, true},
        {BS_HATCHED, RGB(4, 5, 6), HS_DIAGCROSS + 1, false},
        {BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(picture.bitmap), true},
        {BS_PATTERN, 0, 12345, false},
        {BS_DIBPATTERNPT, DIB_RGB_COLORS, reinterpret_cast<ULONG_PTR>(dib.data()), true},
        {BS_INDEXED, 0, 0, false},
        {77, 0, 0, false},
    };
    for (const IndirectCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " hatch " << c.hatch);
        const LOGBRUSH in{c.style, c.color, c.hatch};
        HBRUSH brush = CreateBrushIndirect(&in);
        ASSERT_EQ(brush != nullptr, c.made);
        if (brush == nullptr) continue;
        LOGBRUSH out{};
        EXPECT_EQ(GetObjectA(brush, sizeof out, &out), static_cast<int>(sizeof out));
        EXPECT_EQ(out.lbStyle, c.style);
        if (c.style != BS_NULL && c.style != BS_PATTERN) {
            EXPECT_EQ(out.lbColor, c.color);
        }
        EXPECT_EQ(out.lbHatch, c.hatch);
        EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
        DeleteObject(brush);
    }
    EXPECT_EQ(CreateBrushIndirect(nullptr), nullptr);
    EXPECT_EQ(CreateHatchBrush(-1, 0), nullptr);
    DeleteObject(picture.bitmap);
}

// DC_BRUSH and DC_PEN draw in the colours of the context they draw in;
// setting either returns the colour before.
TEST(DcBrushAndPen, DrawInTheContextsColours) {
    ResourceGuard guard;
    PaintCanvas canvas(4, 3);
    canvas.Fill(RGB(255, 255, 255));
    EXPECT_EQ(GetDCBrushColor(canvas.dc()), RGB(255, 255, 255));
    EXPECT_EQ(GetDCPenColor(canvas.dc()), RGB(0, 0, 0));
    EXPECT_EQ(SetDCBrushColor(canvas.dc(), RGB(0, 0, 255)), RGB(255, 255, 255));
    EXPECT_EQ(SetDCPenColor(canvas.dc(), RGB(255, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(GetDCBrushColor(canvas.dc()), RGB(0, 0, 255));
    const RECT top{0, 0, 4, 1};
    ASSERT_TRUE(FillRect(canvas.dc(), &top, static_cast<HBRUSH>(GetStockObject(DC_BRUSH))));
    SelectObject(canvas.dc(), GetStockObject(DC_PEN));
    MoveToEx(canvas.dc(), 0, 2, nullptr);
    LineTo(canvas.dc(), 4, 2);
    SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(canvas.Picture(BasicLegend()), Rows({"bbbb", "....", "rrrr"}));
    EXPECT_EQ(SetDCBrushColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(GetDCPenColor(reinterpret_cast<HDC>(GetStockObject(DC_BRUSH))), CLR_INVALID);
}

struct StockBrushCase {
    int index;
    UINT style;
    COLORREF color;
};

// The stock brushes as GetObject describes them; the hollow one paints
// nothing, not even with PATINVERT.
TEST(StockBrushes, DescribeThemselvesAndTheHollowOnePaintsNothing) {
    ResourceGuard guard;
    const StockBrushCase cases[] = {{WHITE_BRUSH, BS_SOLID, RGB(255, 255, 255)},
                                    {LTGRAY_BRUSH, BS_SOLID, RGB(192, 192, 192)},
                                    {GRAY_BRUSH, BS_SOLID, RGB(128, 128, 128)},
                                    {DKGRAY_BRUSH, BS_SOLID, RGB(64, 64, 64)},
                                    {BLACK_BRUSH, BS_SOLID, RGB(0, 0, 0)},
                                    {NULL_BRUSH, BS_NULL, 0},
                                    {DC_BRUSH, BS_SOLID, RGB(255, 255, 255)}};
    for (const StockBrushCase& c : cases) {
        LOGBRUSH out{};
        ASSERT_EQ(GetObjectA(GetStockObject(c.index), sizeof out, &out), static_cast<int>(sizeof out)) << c.index;
        EXPECT_EQ(out.lbStyle, c.style) << c.index;
        if (c.style == BS_SOLID) {
            EXPECT_EQ(out.lbColor, c.color) << c.index;
        }
    }
    LOGPEN pen{};
    ASSERT_EQ(GetObjectA(GetStockObject(NULL_PEN), sizeof pen, &pen), static_cast<int>(sizeof pen));
    EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_NULL));
    EXPECT_EQ(GetObjectType(GetStockObject(DC_PEN)), static_cast<DWORD>(OBJ_PEN));

    PaintCanvas canvas(2, 1);
    canvas.Fill(RGB(255, 255, 255));
    SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 2, 1, PATINVERT));
    EXPECT_EQ(canvas.Picture(BasicLegend()), "..\n");
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
}

TEST(UnrealizeObject, TakesBrushesAndPalettesOnly) {
    ResourceGuard guard;
    HBRUSH brush = CreateHatchBrush(HS_CROSS, 0);
    EXPECT_TRUE(UnrealizeObject(brush));
    EXPECT_TRUE(UnrealizeObject(GetStockObject(DEFAULT_PALETTE)));
    EXPECT_FALSE(UnrealizeObject(GetStockObject(BLACK_PEN)));
    EXPECT_FALSE(UnrealizeObject(nullptr));
    DeleteObject(brush);
    EXPECT_FALSE(UnrealizeObject(brush));
}

}  // namespace

// Binary raster operations (SetROP2): the sixteen R2_* codes as LineTo and
// the brush of a filled shape apply them, and the mode as a context
// attribute.
#include "paint_canvas.h"
#include "resource_guard.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Each code's result on one channel byte, pen p over destination d, as the
// platform's table of binary raster operations defines it.
struct MixCase {
    int mix;
    int (*result)(int p, int d);
};

const MixCase kMixes[] = {
    {R2_BLACK, [](int, int) { return 0; }},
    {R2_NOTMERGEPEN, [](int p, int d) { return ~(p | d); }},
    {R2_MASKNOTPEN, [](int p, int d) { return ~p & d; }},
    {R2_NOTCOPYPEN, [](int p, int) { return ~p; }},
    {R2_MASKPENNOT, [](int p, int d) { return p & ~d; }},
    {R2_NOT, [](int, int d) { return ~d; }},
    {R2_XORPEN, [](int p, int d) { return p ^ d; }},
    {R2_NOTMASKPEN, [](int p, int d) { return ~(p & d); }},
    {R2_MASKPEN, [](int p, int d) { return p & d; }},
    {R2_NOTXORPEN, [](int p, int d) { return ~(p ^ d); }},
    {R2_NOP, [](int, int d) { return d; }},
    {R2_MERGENOTPEN, [](int p, int d) { return ~p | d; }},
    {R2_COPYPEN, [](int p, int) { return p; }},
    {R2_MERGEPENNOT, [](int p, int d) { return p | ~d; }},
    {R2_MERGEPEN, [](int p, int d) { return p | d; }},
    {R2_WHITE, [](int, int) { return 0xFF; }},
};

COLORREF Expected(const MixCase& c, COLORREF pen, COLORREF dest) {
    auto channel = [&](int shift) { return (c.result((pen >> shift) & 0xFF, (dest >> shift) & 0xFF) & 0xFF) << shift; };
    return static_cast<COLORREF>(channel(0) | channel(8) | channel(16));
}

TEST(Mix, EveryCodeCombinesThePenWithTheDestination) {
    ResourceGuard guard;
    const COLORREF pen = RGB(0x3C, 0xA5, 0x0F), dest = RGB(0x96, 0x5A, 0xF0);
    for (const MixCase& c : kMixes) {
        SCOPED_TRACE(c.mix);
        PaintCanvas canvas(4, 2);
        canvas.Fill(dest);
        canvas.Use(CreatePen(PS_SOLID, 1, pen));
        canvas.Use(CreateSolidBrush(pen));
        EXPECT_EQ(SetROP2(canvas.dc(), c.mix), R2_COPYPEN);
        MoveToEx(canvas.dc(), 0, 0, nullptr);
        LineTo(canvas.dc(), 4, 0);
        EXPECT_EQ(GetPixel(canvas.dc(), 2, 0), Expected(c, pen, dest)) << "the pen";
        // A NULL_PEN rectangle is all brush.
        SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
        Rectangle(canvas.dc(), 0, 1, 5, 3);
        EXPECT_EQ(GetPixel(canvas.dc(), 3, 1), Expected(c, pen, dest)) << "the brush";
        EXPECT_EQ(GetROP2(canvas.dc()), c.mix);
    }
}

TEST(Mix, PaletteBitmapsCombineTheirIndices) {
    ResourceGuard guard;
    // Index 1 is the pen's colour, the destination holds index 2.
    const std::vector<RGBQUAD> colours = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    PaintCanvas canvas(4, 1, 8, colours);
    canvas.Fill(RGB(0, 255, 0));
    canvas.Use(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    SetROP2(canvas.dc(), R2_XORPEN);
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 4, 0);
    EXPECT_EQ(canvas.dib().bits[1], 3) << "1 xor 2";
}

TEST(Mix, IsAnAttributeSavedWithTheContext) {
    ResourceGuard guard;
    PaintCanvas canvas(1, 1);
    EXPECT_EQ(GetROP2(canvas.dc()), R2_COPYPEN);
    for (int refused : {0, R2_LAST + 1, -1}) {
        SetLastError(0);
        EXPECT_EQ(SetROP2(canvas.dc(), refused), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    const int saved = SaveDC(canvas.dc());
    SetROP2(canvas.dc(), R2_NOT);
    RestoreDC(canvas.dc(), saved);
    EXPECT_EQ(GetROP2(canvas.dc()), R2_COPYPEN);
    SetLastError(0);
    EXPECT_EQ(SetROP2(nullptr, R2_NOT), 0);
    EXPECT_EQ(GetROP2(nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace

// The pixels drawing calls leave through a mapping: a viewport offset, a
// scaling mapping mode, a flipped axis, a world rotation and a
// right-to-left layout, on a 6 x 4 canvas. The source of the blits is a
// 2 x 1 picture, red then green.
#include "paint_canvas.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;

namespace {

void Offset(HDC dc) { SetViewportOrgEx(dc, 1, 1, nullptr); }
void Double(HDC dc) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, 2, 2, nullptr);
}
void FlipY(HDC dc) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, 1, -1, nullptr);
    SetViewportOrgEx(dc, 0, 3, nullptr);
}
void Turn(HDC dc) {  // (x, y) -> (4 - y, x)
    SetGraphicsMode(dc, GM_ADVANCED);
    const XFORM quarter{0, 1, -1, 0, 4, 0};
    SetWorldTransform(dc, &quarter);
}
void RightToLeft(HDC dc) { SetLayout(dc, LAYOUT_RTL); }
void KeepPicture(HDC dc) { SetLayout(dc, LAYOUT_RTL | LAYOUT_BITMAPORIENTATIONPRESERVED); }

TEST(MappedDrawing, PixelsThroughEachMapping) {
    PaintCanvas source(2, 1);
    SetPixel(source.dc(), 0, 0, RGB(255, 0, 0));
    SetPixel(source.dc(), 1, 0, RGB(0, 255, 0));
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    auto fill = [black](int l, int t, int r, int b) {
        return [=](HDC dc) {
            const RECT rect{l, t, r, b};
            FillRect(dc, &rect, black);
        };
    };
    auto line = [](int x0, int y0, int x1, int y1) {
        return [=](HDC dc) {
            MoveToEx(dc, x0, y0, nullptr);
            LineTo(dc, x1, y1);
        };
    };
    auto blit = [&source](int x, int y, DWORD rop) {
        return [=, &source](HDC dc) { BitBlt(dc, x, y, 2, 1, source.dc(), 0, 0, rop); };
    };
    // The same picture as a caller's bits: one row, blue-green-red, padded.
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 1, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    static const BYTE bits[8] = {0, 0, 255, 0, 255, 0, 0, 0};
    TRIVERTEX reds[2] = {{0, 0, 0xFF00, 0, 0, 0}, {1, 1, 0xFF00, 0, 0, 0}};
    GRADIENT_RECT across{0, 1};
    const struct {
        const char* name;
        std::function<void(HDC)> setup, draw;
        std::string expected;
    } cases[] = {
        {"fill, viewport offset", Offset, fill(0, 0, 2, 2), Rows({"......", ".##...", ".##...", "......"})},
        {"fill, doubled", Double, fill(0, 0, 2, 1), Rows({"####..", "####..", "......", "......"})},
        {"fill, y flipped", FlipY, fill(0, 0, 2, 2), Rows({"......", "##....", "##....", "......"})},
        {"fill, y flipped, top above bottom", FlipY, fill(0, 2, 2, 0), Rows({"......", "##....", "##....", "......"})},
        {"fill, turned", Turn, fill(0, 0, 3, 1), Rows({"...#..", "...#..", "...#..", "......"})},
        {"fill, right to left", RightToLeft, fill(0, 0, 2, 1), Rows({"....##", "......", "......", "......"})},
        {"line, viewport offset", Offset, line(0, 1, 3, 1), Rows({"......", "......", ".###..", "......"})},
        {"line, right to left", RightToLeft, line(0, 0, 3, 0), Rows({"...###", "......", "......", "......"})},
        {"line, turned", Turn, line(0, 0, 0, 3), Rows({"..###.", "......", "......", "......"})},
        {"pixel, y flipped", FlipY, [](HDC dc) { SetPixel(dc, 1, 0, RGB(0, 0, 0)); },
         Rows({"......", "......", "......", ".#...."})},
        {"blit, viewport offset", Offset, blit(0, 0, SRCCOPY), Rows({"......", ".rg...", "......", "......"})},
        {"blit, doubled: a stretch", Double, blit(0, 0, SRCCOPY), Rows({"rrgg..", "rrgg..", "......", "......"})},
        {"blit, y flipped", FlipY, blit(0, 2, SRCCOPY), Rows({"rg....", "......", "......", "......"})},
        {"blit, turned", Turn, blit(0, 0, SRCCOPY), Rows({"...r..", "...g..", "......", "......"})},
        {"blit, turned, SRCAND", Turn, blit(0, 0, SRCAND), Rows({"...r..", "...g..", "......", "......"})},
        {"blit, right to left mirrors", RightToLeft, blit(0, 0, SRCCOPY), Rows({"....gr", "......", "......", "......"})},
        {"blit, orientation preserved", KeepPicture, blit(0, 0, SRCCOPY),
         Rows({"....rg", "......", "......", "......"})},
        {"blit, NOMIRRORBITMAP", RightToLeft, blit(0, 0, SRCCOPY | NOMIRRORBITMAP),
         Rows({"....rg", "......", "......", "......"})},
        {"StretchDIBits, doubled", Double,
         [&](HDC dc) { StretchDIBits(dc, 0, 0, 2, 1, 0, 0, 2, 1, bits, &info, DIB_RGB_COLORS, SRCCOPY); },
         Rows({"rrgg..", "rrgg..", "......", "......"})},
        {"SetDIBitsToDevice, doubled: the origin only", Double,
         [&](HDC dc) { SetDIBitsToDevice(dc, 1, 1, 2, 1, 0, 0, 0, 1, bits, &info, DIB_RGB_COLORS); },
         Rows({"......", "......", "..rg..", "......"})},
        {"AlphaBlend, viewport offset", Offset,
         [&](HDC dc) { AlphaBlend(dc, 0, 0, 2, 1, source.dc(), 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}); },
         Rows({"......", ".rg...", "......", "......"})},
        {"TransparentBlt, doubled", Double,
         [&](HDC dc) { TransparentBlt(dc, 0, 0, 2, 1, source.dc(), 0, 0, 2, 1, RGB(0, 255, 0)); },
         Rows({"rr....", "rr....", "......", "......"})},
        {"TransparentBlt, turned", Turn,
         [&](HDC dc) { TransparentBlt(dc, 0, 0, 2, 1, source.dc(), 0, 0, 2, 1, RGB(0, 255, 0)); },
         Rows({"...r..", "......", "......", "......"})},
        {"PlgBlt, viewport offset", Offset,
         [&](HDC dc) {
             const POINT corners[3] = {{0, 0}, {2, 0}, {0, 1}};
             PlgBlt(dc, corners, source.dc(), 0, 0, 2, 1, nullptr, 0, 0);
         },
         Rows({"......", ".rg...", "......", "......"})},
        {"GradientFill, doubled", Double, [&](HDC dc) { GradientFill(dc, reds, 2, &across, 1, GRADIENT_FILL_RECT_H); },
         Rows({"rr....", "rr....", "......", "......"})},
        {"pattern, turned", Turn, [](HDC dc) { PatBlt(dc, 0, 0, 2, 2, BLACKNESS); },
         Rows({"..##..", "..##..", "......", "......"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PaintCanvas canvas(6, 4);
        canvas.Fill(RGB(255, 255, 255));
        const int saved = SaveDC(canvas.dc());
        c.setup(canvas.dc());
        c.draw(canvas.dc());
        RestoreDC(canvas.dc(), saved);  // the picture is read in device pixels
        EXPECT_EQ(canvas.Picture(BasicLegend()), c.expected);
    }
}

// A pen's width scales with the mapping: width 2 doubled draws what width
// 4 draws in device pixels.
TEST(MappedDrawing, PenWidthScales) {
    PaintCanvas mapped(12, 8), plain(12, 8);
    for (PaintCanvas* canvas : {&mapped, &plain}) canvas->Fill(RGB(255, 255, 255));
    mapped.Use(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
    plain.Use(CreatePen(PS_SOLID, 4, RGB(0, 0, 0)));
    const int saved = SaveDC(mapped.dc());
    Double(mapped.dc());
    MoveToEx(mapped.dc(), 1, 2, nullptr);
    LineTo(mapped.dc(), 4, 2);
    RestoreDC(mapped.dc(), saved);
    MoveToEx(plain.dc(), 2, 4, nullptr);
    LineTo(plain.dc(), 8, 4);
    EXPECT_EQ(mapped.Picture(BasicLegend()), plain.Picture(BasicLegend()));
}

TEST(MappedDrawing, TurnedBlendFails) {
    PaintCanvas source(2, 1), canvas(6, 4);
    Turn(canvas.dc());
    EXPECT_FALSE(AlphaBlend(canvas.dc(), 0, 0, 2, 1, source.dc(), 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_SUPPORTED});
}

}  // namespace

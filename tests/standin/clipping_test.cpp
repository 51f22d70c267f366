// Clipping checked by the pixels draws leave: every drawing call and blit
// through a clip region of two rectangles, a blit that reads what it writes,
// the clipping calls' answers and bounds accumulation.
#include "paint_canvas.h"
#include "region_rects.h"
#include "resource_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace testing_support;

const COLORREF kBlack = RGB(0, 0, 0);

// The clip every draw below goes through: columns 1-2 of every row, and
// columns 5-6 of rows 1 and 2.
HRGN TwoRectangles() { return RegionOf({{1, 0, 3, 4}, {5, 1, 7, 3}}); }
const std::string kInsideClip = Rows({".##.....", ".##..##.", ".##..##.", ".##....."});

// One draw over the whole 8 x 4 canvas in black, from `source` (a black
// canvas of the same size) where it takes one.
struct Draw {
    const char* name;
    std::function<void(HDC to, HDC source)> run;
};

void FillRows(HDC to, int width) {
    for (int y = 0; y < 4; ++y) MoveToEx(to, 0, y, nullptr), LineTo(to, width, y);
}

TEST(Clipping, EveryDrawStaysInsideTheClipRegion) {
    ResourceGuard guard;
    HBRUSH black = CreateSolidBrush(kBlack);
    HPEN wide = CreatePen(PS_SOLID, 9, kBlack);
    HRGN all = CreateRectRgn(0, 0, 8, 4);
    BitmapInfoBuffer info = MakeInfo(8, -4, 24);
    const std::vector<unsigned char> bits(8 * 3 * 4, 0);
    TRIVERTEX corners[2] = {{0, 0, 0, 0, 0, 0}, {8, 4, 0, 0, 0, 0}};
    GRADIENT_RECT mesh{0, 1};
    const POINT parallelogram[3] = {{0, 0}, {8, 0}, {0, 4}};
    const Draw draws[] = {
        {"FillRect", [&](HDC to, HDC) { RECT r{0, 0, 8, 4}; FillRect(to, &r, black); }},
        {"PatBlt", [](HDC to, HDC) { PatBlt(to, 0, 0, 8, 4, BLACKNESS); }},
        {"BitBlt", [](HDC to, HDC from) { BitBlt(to, 0, 0, 8, 4, from, 0, 0, SRCCOPY); }},
        {"StretchBlt", [](HDC to, HDC from) { StretchBlt(to, 0, 0, 8, 4, from, 0, 0, 4, 2, SRCCOPY); }},
        {"StretchBlt HALFTONE", [](HDC to, HDC from) {
             SetStretchBltMode(to, HALFTONE);
             StretchBlt(to, 0, 0, 8, 4, from, 0, 0, 8, 4, SRCCOPY);
         }},
        {"LineTo", [](HDC to, HDC) { FillRows(to, 8); }},
        {"LineTo, wide pen", [&](HDC to, HDC) {
             HGDIOBJ old = SelectObject(to, wide);
             MoveToEx(to, 0, 2, nullptr), LineTo(to, 8, 2);
             SelectObject(to, old);
         }},
        {"SetPixel", [](HDC to, HDC) {
             for (int y = 0; y < 4; ++y)
                 for (int x = 0; x < 8; ++x) SetPixelV(to, x, y, kBlack);
         }},
        {"GradientFill", [&](HDC to, HDC) { GradientFill(to, corners, 2, &mesh, 1, GRADIENT_FILL_RECT_H); }},
        {"AlphaBlend", [](HDC to, HDC from) {
             AlphaBlend(to, 0, 0, 8, 4, from, 0, 0, 8, 4, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0});
         }},
        {"TransparentBlt", [](HDC to, HDC from) { TransparentBlt(to, 0, 0, 8, 4, from, 0, 0, 8, 4, RGB(1, 2, 3)); }},
        {"MaskBlt", [](HDC to, HDC from) { MaskBlt(to, 0, 0, 8, 4, from, 0, 0, nullptr, 0, 0, SRCCOPY); }},
        {"PlgBlt", [&](HDC to, HDC from) { PlgBlt(to, parallelogram, from, 0, 0, 8, 4, nullptr, 0, 0); }},
        {"StretchDIBits", [&](HDC to, HDC) {
             StretchDIBits(to, 0, 0, 8, 4, 0, 0, 8, 4, bits.data(), info.info(), DIB_RGB_COLORS, SRCCOPY);
         }},
        {"SetDIBitsToDevice", [&](HDC to, HDC) {
             SetDIBitsToDevice(to, 0, 0, 8, 4, 0, 0, 0, 4, bits.data(), info.info(), DIB_RGB_COLORS);
         }},
        {"FillRgn", [&](HDC to, HDC) { FillRgn(to, all, black); }},
        {"PaintRgn", [&](HDC to, HDC) {
             HGDIOBJ old = SelectObject(to, black);
             PaintRgn(to, all);
             SelectObject(to, old);
         }},
        {"InvertRgn", [&](HDC to, HDC) { InvertRgn(to, all); }},
        {"FrameRgn", [&](HDC to, HDC) { FrameRgn(to, all, black, 4, 2); }},
    };
    PaintCanvas source(8, 4);
    source.Fill(kBlack);
    HRGN clip = TwoRectangles();
    for (const Draw& draw : draws) {
        SCOPED_TRACE(draw.name);
        PaintCanvas canvas(8, 4);
        canvas.Fill(RGB(255, 255, 255));
        ASSERT_EQ(SelectClipRgn(canvas.dc(), clip), COMPLEXREGION);
        draw.run(canvas.dc(), source.dc());
        EXPECT_EQ(canvas.Picture(BasicLegend()), kInsideClip);
    }
    DeleteObject(clip);
    DeleteObject(all);
    DeleteObject(black);
    DeleteObject(wide);
}

TEST(Clipping, ABlitWithinOneBitmapReadsThePictureAsItWasBefore) {
    ResourceGuard guard;
    PaintCanvas canvas(8, 1);
    const COLORREF colours[8] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), kBlack,
                                 RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), kBlack};
    for (int x = 0; x < 8; ++x) SetPixelV(canvas.dc(), x, 0, colours[x]);
    // The second rectangle reads columns 3 and 4, which the first writes.
    HRGN clip = RegionOf({{3, 0, 5, 1}, {6, 0, 8, 1}});
    SelectClipRgn(canvas.dc(), clip);
    BitBlt(canvas.dc(), 3, 0, 5, 1, canvas.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(canvas.Picture(BasicLegend()), "rgbrgg#r\n");
    DeleteObject(clip);
}

TEST(Clipping, CallsAnswerWhatStaysVisible) {
    ResourceGuard guard;
    PaintCanvas canvas(8, 4);
    HDC dc = canvas.dc();
    HRGN clip = TwoRectangles(), copy = CreateRectRgn(0, 0, 0, 0);
    RECT box;
    EXPECT_EQ(GetClipRgn(dc, copy), 0) << "no clip region yet";
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_TRUE(box.right == 8 && box.bottom == 4);
    const struct {
        const char* name;
        std::function<int()> call;
        int result;
        const char* rects;  // the clip region after it
    } steps[] = {
        {"select", [&] { return SelectClipRgn(dc, clip); }, COMPLEXREGION, "1,0,3,1 1,1,3,3 5,1,7,3 1,3,3,4"},
        {"intersect", [&] { return IntersectClipRect(dc, 2, 0, 6, 2); }, COMPLEXREGION, "2,0,3,1 2,1,3,2 5,1,6,2"},
        {"exclude", [&] { return ExcludeClipRect(dc, 5, 0, 9, 9); }, SIMPLEREGION, "2,0,3,2"},
        {"offset", [&] { return OffsetClipRgn(dc, 3, 1); }, SIMPLEREGION, "5,1,6,3"},
        {"or", [&] { return ExtSelectClipRgn(dc, clip, RGN_OR); }, COMPLEXREGION, "1,0,3,1 1,1,3,3 5,1,7,3 1,3,3,4"},
        {"diff", [&] { return ExtSelectClipRgn(dc, clip, RGN_DIFF); }, NULLREGION, ""},
        {"none needs a region", [&] { return ExtSelectClipRgn(dc, nullptr, RGN_AND); }, ERROR, ""},
        {"and, off the bitmap", [&] {
             SelectClipRgn(dc, nullptr);
             HRGN far = CreateRectRgn(6, 2, 20, 20);
             const int result = ExtSelectClipRgn(dc, far, RGN_AND);
             DeleteObject(far);
             return result;
         }, SIMPLEREGION, "6,2,8,4"},  // no clip region stands for the bitmap
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.call(), step.result);
        EXPECT_EQ(GetClipRgn(dc, copy), 1);
        EXPECT_EQ(RectsOf(copy), step.rects);
    }
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_TRUE(box.left == 6 && box.top == 2 && box.right == 8 && box.bottom == 4) << "cut to the bitmap";
    const RECT inside{7, 3, 9, 9}, outside{0, 0, 6, 9};
    EXPECT_TRUE(RectVisible(dc, &inside));
    EXPECT_FALSE(RectVisible(dc, &outside));
    EXPECT_TRUE(PtVisible(dc, 7, 3));
    EXPECT_FALSE(PtVisible(dc, 8, 3)) << "past the bitmap";
    EXPECT_EQ(SetPixel(dc, 0, 0, kBlack), CLR_INVALID) << "outside the clip region";
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);

    // SaveDC keeps the clip region; RestoreDC brings it back.
    const int saved = SaveDC(dc);
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetClipRgn(dc, copy), 0);
    RestoreDC(dc, saved);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    EXPECT_EQ(RectsOf(copy), "6,2,8,4");
    EXPECT_EQ(SelectClipRgn(nullptr, clip), ERROR);
    EXPECT_EQ(PtVisible(nullptr, 0, 0), -1);
    DeleteObject(clip);
    DeleteObject(copy);
}

TEST(Clipping, ARectangleThroughAShearClipsToItsParallelogram) {
    ResourceGuard guard;
    PaintCanvas canvas(8, 4);
    HDC dc = canvas.dc();
    SetGraphicsMode(dc, GM_ADVANCED);
    const XFORM shear{1, 0, 1, 1, 0, 0};  // (x, y) to (x + y, y)
    SetWorldTransform(dc, &shear);
    EXPECT_EQ(IntersectClipRect(dc, 0, 0, 2, 3), COMPLEXREGION);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    EXPECT_EQ(RectsOf(copy), "0,0,2,1 1,1,3,2 2,2,4,3");
    DeleteObject(copy);
}

TEST(BoundsRect, DrawsGatherTheirPixelsWhileEnabled) {
    ResourceGuard guard;
    PaintCanvas canvas(8, 4);
    HDC dc = canvas.dc();
    RECT r;
    EXPECT_EQ(GetBoundsRect(dc, &r, 0), static_cast<UINT>(DCB_RESET));
    SetPixelV(dc, 1, 1, kBlack);
    EXPECT_EQ(GetBoundsRect(dc, &r, 0), static_cast<UINT>(DCB_RESET)) << "off by default";
    EXPECT_EQ(SetBoundsRect(dc, nullptr, DCB_ENABLE), static_cast<UINT>(DCB_DISABLE | DCB_RESET));
    const struct {
        const char* name;
        std::function<void()> draw;
        RECT bounds;
    } draws[] = {
        {"a pixel", [&] { SetPixelV(dc, 2, 1, kBlack); }, {2, 1, 3, 2}},
        {"a line", [&] { MoveToEx(dc, 0, 3, nullptr), LineTo(dc, 4, 3); }, {0, 1, 4, 4}},
        {"a blit, cut to the bitmap", [&] { PatBlt(dc, 6, -5, 9, 6, BLACKNESS); }, {0, 0, 8, 4}},
    };
    for (const auto& d : draws) {
        SCOPED_TRACE(d.name);
        d.draw();
        EXPECT_EQ(GetBoundsRect(dc, &r, 0), static_cast<UINT>(DCB_SET));
        EXPECT_TRUE(EqualRect(&r, &d.bounds)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(GetBoundsRect(dc, &r, DCB_RESET), static_cast<UINT>(DCB_SET));
    EXPECT_EQ(GetBoundsRect(dc, &r, 0), static_cast<UINT>(DCB_RESET));
    const RECT given{3, 3, 5, 6};
    EXPECT_EQ(SetBoundsRect(dc, &given, DCB_ACCUMULATE | DCB_DISABLE), static_cast<UINT>(DCB_ENABLE | DCB_RESET));
    PatBlt(dc, 0, 0, 8, 4, BLACKNESS);
    GetBoundsRect(dc, &r, 0);
    EXPECT_TRUE(EqualRect(&r, &given)) << "nothing gathered while off";
    EXPECT_EQ(GetBoundsRect(nullptr, &r, 0), 0u);
}

}  // namespace

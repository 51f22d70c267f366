// GradientFill: rectangles across and down and triangles, with the exact
// pixels the interpolation rule gives (colour at a column's or row's
// leading edge, or at a pixel's centre, rounded down, high byte kept),
// coverage of shared triangle edges, clipping, the alpha byte, palette
// destinations and the refusals that leave the bitmap untouched.
#include "stretch_canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using stretch_test::Canvas;
using stretch_test::Colour;
using stretch_test::Picture;

TRIVERTEX Vertex(LONG x, LONG y, COLOR16 red, COLOR16 green = 0, COLOR16 blue = 0, COLOR16 alpha = 0) {
    return TRIVERTEX{x, y, red, green, blue, alpha};
}

std::vector<int> Reds(const Picture& p) {
    std::vector<int> out;
    for (const Colour& c : p.pixels) out.push_back(c.r);
    return out;
}

struct RectCase {
    const char* what;
    int width, height;
    TRIVERTEX a, b;
    ULONG mode;
    std::vector<int> reds;  // every pixel, top row first
};

TEST(GradientFillTest, RectanglesTakeTheColourAtEachLeadingEdge) {
    const RectCase cases[] = {
        // 0xFF00 * x / 4 = x * 0x3FC0: high bytes 0x00, 0x3F, 0x7F, 0xBF
        {"across", 4, 1, Vertex(0, 0, 0), Vertex(4, 1, 0xFF00), GRADIENT_FILL_RECT_H, {0, 63, 127, 191}},
        {"across, vertices swapped", 4, 1, Vertex(4, 1, 0xFF00), Vertex(0, 0, 0), GRADIENT_FILL_RECT_H,
         {0, 63, 127, 191}},
        // 0x1000 + y * 0x2000
        {"down", 1, 4, Vertex(0, 0, 0x1000), Vertex(1, 4, 0x9000), GRADIENT_FILL_RECT_V, {0x10, 0x30, 0x50, 0x70}},
        // falling: 0xFF00 - 0xFF00 * x / 3 rounds down: 0xFF00, 0xAA00, 0x5500
        {"falling", 3, 1, Vertex(0, 0, 0xFF00), Vertex(3, 1, 0), GRADIENT_FILL_RECT_H, {255, 170, 85}},
        // offset 2 and 3 of a span of 4 land in columns 0 and 1; the rest is outside the rectangle
        {"clipped on the left", 4, 1, Vertex(-2, 0, 0), Vertex(2, 1, 0xFF00), GRADIENT_FILL_RECT_H, {127, 191, 0, 0}},
        {"empty rectangle", 2, 1, Vertex(1, 0, 0xFF00), Vertex(1, 1, 0xFF00), GRADIENT_FILL_RECT_H, {0, 0}},
        {"0xFFFF is 255", 1, 1, Vertex(0, 0, 0xFFFF), Vertex(1, 1, 0xFFFF), GRADIENT_FILL_RECT_V, {255}},
    };
    for (const RectCase& c : cases) {
        Canvas to(stretch_test::Bgrx32(), c.width, c.height);
        TRIVERTEX vertices[2] = {c.a, c.b};
        GRADIENT_RECT rect = {0, 1};
        ASSERT_TRUE(GradientFill(to.dc(), vertices, 2, &rect, 1, c.mode)) << c.what;
        EXPECT_EQ(Reds(to.Read()), c.reds) << c.what;
    }
}

TEST(GradientFillTest, TrianglesWeighTheirCornersAtEachPixelCentre) {
    // Red 0xFF00 at (0,0), 0 at (4,0) and (0,4): at centre (x + 1/2, y + 1/2)
    // the red weight is 1 - (x + y + 1) / 4. Centres on the long edge belong
    // to the triangle beyond it (a bottom-right edge here).
    Canvas to(stretch_test::Bgrx32(), 4, 4);
    TRIVERTEX vertices[3] = {Vertex(0, 0, 0xFF00, 0, 0, 0x8000), Vertex(4, 0, 0, 0, 0, 0x8000),
                             Vertex(0, 4, 0, 0, 0, 0x8000)};
    GRADIENT_TRIANGLE triangle = {0, 1, 2};
    ASSERT_TRUE(GradientFill(to.dc(), vertices, 3, &triangle, 1, GRADIENT_FILL_TRIANGLE));
    const Picture out = to.Read();
    EXPECT_EQ(Reds(out), (std::vector<int>{191, 127, 63, 0, 127, 63, 0, 0, 63, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(out.at(0, 0).x, 0x80) << "a 32-bit destination takes the alpha";
    EXPECT_EQ(out.at(3, 3).x, 0) << "outside the triangle";
}

// The two halves of a square, in either winding, cover each pixel once.
TEST(GradientFillTest, TrianglesSharingAnEdgeCoverEachPixelOnce) {
    const int n = 7;
    TRIVERTEX vertices[4] = {Vertex(0, 0, 0xFF00), Vertex(n, 0, 0xFF00), Vertex(n, n, 0xFF00), Vertex(0, n, 0xFF00)};
    const GRADIENT_TRIANGLE halves[][2] = {{{0, 1, 3}, {1, 2, 3}}, {{3, 1, 0}, {3, 2, 1}}, {{0, 1, 2}, {0, 3, 2}}};
    for (const auto& pair : halves) {
        Canvas first(stretch_test::Rgb24(), n, n), second(stretch_test::Rgb24(), n, n);
        ASSERT_TRUE(GradientFill(first.dc(), vertices, 4, const_cast<GRADIENT_TRIANGLE*>(&pair[0]), 1,
                                 GRADIENT_FILL_TRIANGLE));
        ASSERT_TRUE(GradientFill(second.dc(), vertices, 4, const_cast<GRADIENT_TRIANGLE*>(&pair[1]), 1,
                                 GRADIENT_FILL_TRIANGLE));
        const std::vector<int> a = Reds(first.Read()), b = Reds(second.Read());
        for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i] + b[i], 255) << "pixel " << i;
    }
}

TEST(GradientFillTest, StoresColoursAsTheDestinationDoes) {
    // Grey 0x4000 .. 0xC000 across 4 columns: 0x40, 0x60, 0x80, 0xA0, each
    // held exactly by the grey ramp.
    Canvas to(stretch_test::GreyRamp256(), 4, 1);
    TRIVERTEX vertices[2] = {Vertex(0, 0, 0x4000, 0x4000, 0x4000), Vertex(4, 1, 0xC000, 0xC000, 0xC000)};
    GRADIENT_RECT rect = {0, 1};
    ASSERT_TRUE(GradientFill(to.dc(), vertices, 2, &rect, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(Reds(to.Read()), (std::vector<int>{0x40, 0x60, 0x80, 0xA0}));
    // A triangle far larger than the bitmap, one colour throughout.
    const LONG far = 1 << 27;
    TRIVERTEX huge[3] = {Vertex(-far, -4, 0x7700, 0x7700, 0x7700), Vertex(far, -4, 0x7700, 0x7700, 0x7700),
                         Vertex(-4, far, 0x7700, 0x7700, 0x7700)};
    GRADIENT_TRIANGLE triangle = {0, 1, 2};
    ASSERT_TRUE(GradientFill(to.dc(), huge, 3, &triangle, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_EQ(Reds(to.Read()), (std::vector<int>{0x77, 0x77, 0x77, 0x77}));
}

TEST(GradientFillTest, RefusesABadMeshBeforeDrawingAnything) {
    Canvas to(stretch_test::Rgb24(), 2, 2);
    TRIVERTEX vertices[3] = {Vertex(0, 0, 0xFF00), Vertex(2, 2, 0xFF00), Vertex(INT32_MAX, 0, 0)};
    GRADIENT_RECT rects[2] = {{0, 1}, {0, 3}};
    GRADIENT_RECT farRect = {0, 2};
    GRADIENT_TRIANGLE line = {0, 1, 1};
    struct Case {
        const char* what;
        HDC dc;
        TRIVERTEX* vertices;
        void* mesh;
        ULONG meshCount, mode;
        DWORD error;  // 0: succeeds
    } cases[] = {
        {"null context", nullptr, vertices, rects, 1, GRADIENT_FILL_RECT_H, ERROR_INVALID_HANDLE},
        {"unknown mode", to.dc(), vertices, rects, 1, 3, ERROR_INVALID_PARAMETER},
        {"index past the vertices", to.dc(), vertices, rects, 2, GRADIENT_FILL_RECT_H, ERROR_INVALID_PARAMETER},
        {"null vertices", to.dc(), nullptr, rects, 1, GRADIENT_FILL_RECT_H, ERROR_INVALID_PARAMETER},
        {"null mesh", to.dc(), vertices, nullptr, 1, GRADIENT_FILL_RECT_V, ERROR_INVALID_PARAMETER},
        {"coordinate past the limit", to.dc(), vertices, &farRect, 1, GRADIENT_FILL_RECT_H, ERROR_INVALID_PARAMETER},
        {"empty mesh", to.dc(), nullptr, nullptr, 0, GRADIENT_FILL_TRIANGLE, 0},
        {"degenerate triangle", to.dc(), vertices, &line, 1, GRADIENT_FILL_TRIANGLE, 0},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(GradientFill(c.dc, c.vertices, 3, c.mesh, c.meshCount, c.mode), c.error == 0) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
        EXPECT_EQ(Reds(to.Read()), (std::vector<int>{0, 0, 0, 0})) << c.what;
    }
    EXPECT_TRUE(GdiGradientFill(to.dc(), vertices, 3, rects, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(Reds(to.Read()), (std::vector<int>{255, 255, 255, 255}));
}

}  // namespace

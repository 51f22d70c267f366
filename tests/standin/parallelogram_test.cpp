// PlgBlt: the source pixel under each destination centre's image for the
// identity, mirrored, rotated, scaled and skewed parallelograms, a repeated
// mask, conversion to a palette destination, and the refusals.
#include "stretch_canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using stretch_reference::Rgb;
using stretch_test::Canvas;
using stretch_test::Colour;
using stretch_test::Picture;

const Colour kWhite = Rgb(255, 255, 255);

// A 3 x 2 picture of six distinct colours every layout here holds.
Picture Source() {
    Picture p(3, 2);
    const Colour colours[6] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255),
                               Rgb(255, 255, 0), Rgb(0, 255, 255), Rgb(255, 0, 255)};
    for (int i = 0; i < 6; ++i) p.pixels[i] = colours[i];
    return p;
}

struct ShapeCase {
    const char* what;
    POINT points[3];
    int width, height;  // of the destination
    // The source pixel (x, y) that destination (x, y) shows, or false to keep it.
    std::function<bool(int, int, int*, int*)> from;
};

TEST(PlgBltTest, EachCentreTakesTheSourcePixelUnderItsImage) {
    const ShapeCase cases[] = {
        {"identity", {{0, 0}, {3, 0}, {0, 2}}, 3, 2, [](int x, int y, int* sx, int* sy) { return *sx = x, *sy = y, true; }},
        {"mirrored", {{3, 0}, {0, 0}, {3, 2}}, 3, 2,
         [](int x, int y, int* sx, int* sy) { return *sx = 2 - x, *sy = y, true; }},
        {"upside down", {{0, 2}, {3, 2}, {0, 0}}, 3, 2,
         [](int x, int y, int* sx, int* sy) { return *sx = x, *sy = 1 - y, true; }},
        // a quarter turn clockwise: the top row becomes the right-hand column
        {"rotated", {{2, 0}, {2, 3}, {0, 0}}, 2, 3,
         [](int x, int y, int* sx, int* sy) { return *sx = y, *sy = 1 - x, true; }},
        {"doubled", {{0, 0}, {6, 0}, {0, 4}}, 6, 4,
         [](int x, int y, int* sx, int* sy) { return *sx = x / 2, *sy = y / 2, true; }},
        // left edge slanting one pixel right over the two rows: row 0 starts at
        // column 0, row 1 (centre a quarter further right) at column 1
        {"skewed", {{0, 0}, {3, 0}, {1, 2}}, 4, 2,
         [](int x, int y, int* sx, int* sy) {
             *sx = x - y, *sy = y;
             return *sx >= 0 && *sx < 3;
         }},
        {"partly outside", {{-1, 0}, {2, 0}, {-1, 2}}, 3, 2,
         [](int x, int y, int* sx, int* sy) {
             *sx = x + 1, *sy = y;
             return *sx < 3;
         }},
    };
    const Picture source = Source();
    Canvas from(stretch_test::Rgb24(), 3, 2);
    from.Write(source);
    for (const ShapeCase& c : cases) {
        Canvas to(stretch_test::Rgb24(), c.width, c.height);
        to.Write(Picture(c.width, c.height, kWhite));
        SetStretchBltMode(to.dc(), HALFTONE);  // still the pixel under the centre
        ASSERT_TRUE(PlgBlt(to.dc(), c.points, from.dc(), 0, 0, 3, 2, nullptr, 0, 0)) << c.what;
        const Picture out = to.Read();
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                int sx = 0, sy = 0;
                const Colour expected = c.from(x, y, &sx, &sy) ? source.at(sx, sy) : kWhite;
                EXPECT_EQ(out.at(x, y), expected) << c.what << " at " << x << ", " << y;
            }
    }
}

TEST(PlgBltTest, MaskIsRepeatedAndKeepsItsZeroPixels) {
    const Picture source = Source();
    Canvas from(stretch_test::Rgb24(), 3, 2), mask(stretch_test::Monochrome(), 2, 1),
        to(stretch_test::Palette256(), 3, 2);
    from.Write(source);
    mask.Write([] {
        Picture m(2, 1, kWhite);
        m.at(1, 0) = Rgb(0, 0, 0);
        return m;
    }());
    to.Write(Picture(3, 2, kWhite));
    const POINT points[3] = {{0, 0}, {3, 0}, {0, 2}};
    ASSERT_TRUE(PlgBlt(to.dc(), points, from.dc(), 0, 0, 3, 2, mask.bitmap(), 0, 0));
    const Picture out = to.Read();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(out.at(x, y), x == 1 ? kWhite : source.at(x, y)) << x << ", " << y;
}

TEST(PlgBltTest, RefusesWhatThePlatformRefuses) {
    Canvas from(stretch_test::Rgb24(), 3, 2), to(stretch_test::Rgb24(), 3, 2), colourMask(stretch_test::Rgb24(), 3, 2);
    const POINT points[3] = {{0, 0}, {3, 0}, {0, 2}};
    const POINT line[3] = {{0, 0}, {1, 1}, {2, 2}};
    const POINT far[3] = {{0, 0}, {1 << 28, 0}, {0, 2}};
    struct Case {
        const char* what;
        HDC dest;
        const POINT* points;
        int width;
        HBITMAP mask;
        DWORD error;  // 0: succeeds, drawing nothing
    } cases[] = {
        {"null destination", nullptr, points, 3, nullptr, ERROR_INVALID_HANDLE},
        {"null points", to.dc(), nullptr, 3, nullptr, ERROR_INVALID_PARAMETER},
        {"negative width", to.dc(), points, -3, nullptr, ERROR_INVALID_PARAMETER},
        {"colour mask", to.dc(), points, 3, colourMask.bitmap(), ERROR_INVALID_PARAMETER},
        {"wrong-kind mask", to.dc(), points, 3, reinterpret_cast<HBITMAP>(to.dc()), ERROR_INVALID_HANDLE},
        {"point past the limit", to.dc(), far, 3, nullptr, ERROR_INVALID_PARAMETER},
        {"points on one line", to.dc(), line, 3, nullptr, 0},
        {"zero width", to.dc(), points, 0, nullptr, 0},
    };
    Picture before(3, 2);
    for (const Case& c : cases) {
        from.Write(Source());
        SetLastError(0);
        EXPECT_EQ(PlgBlt(c.dest, c.points, from.dc(), 0, 0, c.width, 2, c.mask, 0, 0), c.error == 0) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
        EXPECT_EQ(to.Read().pixels, before.pixels) << c.what;
    }
}

}  // namespace

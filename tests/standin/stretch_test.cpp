// StretchBlt and BitBlt: area averaging, the scan modes, mirroring, clipping,
// every pair of pixel layouts, handle misuse, and the fast paths against the
// general path and against a plain reference.
#include "resource_guard.h"
#include "stretch_canvas.h"
#include "stretch_reference.h"

#include <standin/testing.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace stretch_test;
namespace ref = stretch_reference;
using ref::Rgb;

namespace {

constexpr int kAllModes[] = {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE};
constexpr std::uint32_t kSeed = 20240611;

const char* ModeName(int mode) {
    switch (mode) {
        case BLACKONWHITE: return "BLACKONWHITE";
        case WHITEONBLACK: return "WHITEONBLACK";
        case COLORONCOLOR: return "COLORONCOLOR";
        default: return "HALFTONE";
    }
}

ref::Mode ReferenceMode(int mode) {
    switch (mode) {
        case BLACKONWHITE: return ref::Mode::And;
        case WHITEONBLACK: return ref::Mode::Or;
        case COLORONCOLOR: return ref::Mode::Delete;
        default: return ref::Mode::Halftone;
    }
}

ref::Call Whole(int sw, int sh, int dw, int dh) { return ref::Call{0, 0, dw, dh, 0, 0, sw, sh}; }

std::string Describe(const ref::Call& c) {
    std::ostringstream s;
    s << "dest (" << c.xDest << ", " << c.yDest << ", " << c.wDest << ", " << c.hDest << ") src ("
      << c.xSrc << ", " << c.ySrc << ", " << c.wSrc << ", " << c.hSrc << ")";
    return s.str();
}

BOOL Stretch(Canvas& dest, Canvas& source, int mode, const ref::Call& c, DWORD rop = SRCCOPY) {
    SetStretchBltMode(dest.dc(), mode);
    return StretchBlt(dest.dc(), c.xDest, c.yDest, c.wDest, c.hDest, source.dc(), c.xSrc, c.ySrc,
                      c.wSrc, c.hSrc, rop);
}

std::string Show(const ref::Colour& c) {
    std::ostringstream s;
    s << "(r " << int(c.r) << ", g " << int(c.g) << ", b " << int(c.b) << ", x " << int(c.x) << ")";
    return s.str();
}

::testing::AssertionResult SamePicture(const ref::Picture& expected, const ref::Picture& actual) {
    if (expected.width != actual.width || expected.height != actual.height)
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (expected.at(x, y) != actual.at(x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << "): expected " << Show(expected.at(x, y))
                       << ", got " << Show(actual.at(x, y));
    return ::testing::AssertionSuccess();
}

ref::Picture WithoutFourthByte(ref::Picture p) {
    for (ref::Colour& c : p.pixels) c.x = 0;
    return p;
}

// Black where the column or the row is even, white where both are odd.
ref::Picture LineGrid(int width, int height) {
    ref::Picture p(width, height, Rgb(255, 255, 255));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x % 2 == 0 || y % 2 == 0) p.at(x, y) = Rgb(0, 0, 0);
    return p;
}

ref::Colour Sentinel() { return Rgb(12, 34, 56); }

// --- Area averaging ---------------------------------------------------------

TEST(StretchHalftone, LineGridHalvesToGrey64InEveryLayout) {
    testing_support::ResourceGuard guard;
    const struct {
        PixelLayout from, to;
    } pairs[] = {
        {Rgb24(), Rgb24()},       {Bgrx32(), Bgrx32()},      {Rgb24(), Bgrx32()},
        {Bgrx32(), Rgb24()},      {Monochrome(), Rgb24()},   {Rgb24(), GreyRamp256()},
        {Bitfields32(), Rgb24()}, {Palette256(), Palette256()}, {Rgb565(), Bitfields32Rgb()},
    };
    for (const auto& pair : pairs) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(pair.from.name + " -> " + pair.to.name + (topDown ? " top-down" : ""));
            Canvas source(pair.from, 16, 16, topDown);
            Canvas dest(pair.to, 8, 8, !topDown);
            source.Write(LineGrid(16, 16));
            ASSERT_TRUE(Stretch(dest, source, HALFTONE, Whole(16, 16, 8, 8)));
            EXPECT_TRUE(SamePicture(ref::Picture(8, 8, Rgb(64, 64, 64)), dest.Read()));
        }
    }
}

TEST(StretchHalftone, KeepsTheMeanAtIntegerRatios) {
    std::mt19937 rng(kSeed);
    const int width = 24, height = 18;
    Canvas source(Rgb24(), width, height);
    const ref::Picture picture = RandomPicture(width, height, rng);
    source.Write(picture);
    const struct {
        int rx, ry;
    } ratios[] = {{2, 2}, {3, 3}, {4, 2}, {6, 6}, {1, 3}, {8, 1}, {24, 18}};
    auto mean = [](const ref::Picture& p, int channel) {
        double sum = 0;
        for (const ref::Colour& c : p.pixels) sum += channel == 0 ? c.b : channel == 1 ? c.g : c.r;
        return sum / static_cast<double>(p.pixels.size());
    };
    for (const auto& r : ratios) {
        SCOPED_TRACE(std::to_string(r.rx) + " x " + std::to_string(r.ry));
        Canvas dest(Rgb24(), width / r.rx, height / r.ry);
        ASSERT_TRUE(Stretch(dest, source, HALFTONE, Whole(width, height, dest.width(), dest.height())));
        const ref::Picture out = dest.Read();
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(mean(out, channel), mean(picture, channel), 1.0) << "channel " << channel;
    }
}

TEST(StretchHalftone, MatchesThePlainReferenceAtAnyRatio) {
    std::mt19937 rng(kSeed + 1);
    const struct {
        int sw, sh, dw, dh;
    } sizes[] = {{7, 7, 3, 3},   {3, 3, 7, 7},  {16, 16, 5, 5}, {5, 5, 16, 16}, {16, 5, 5, 16},
                 {13, 9, 4, 2},  {5, 8, 8, 5},  {1, 6, 4, 3},   {11, 1, 3, 1},  {17, 13, 16, 12},
                 {40, 40, 39, 3}, {2, 3, 1, 1}, {32, 16, 11, 6}};
    for (const PixelLayout& layout : {Rgb24(), Bgrx32()}) {
        for (const auto& s : sizes) {
            for (bool topDown : {false, true}) {
                const ref::Call call = Whole(s.sw, s.sh, s.dw, s.dh);
                SCOPED_TRACE(layout.name + " " + Describe(call) + (topDown ? " top-down" : ""));
                Canvas source(layout, s.sw, s.sh, topDown);
                Canvas dest(layout, s.dw, s.dh, !topDown);
                const ref::Picture picture = RandomPicture(s.sw, s.sh, rng, layout.bitCount == 32);
                source.Write(picture);
                ASSERT_TRUE(Stretch(dest, source, HALFTONE, call));
                const ref::Picture expected =
                    ref::Stretch(picture, ref::Picture(s.dw, s.dh), call, ref::Mode::Halftone);
                EXPECT_TRUE(SamePicture(expected, dest.Read()));
            }
        }
    }
}

// Rows long enough for many groups of the AVX-512 route, reductions up to
// 3:1 across with one to thirteen rows down (vertical weights that move the
// digit split from 2^6 down to 2^4), mirrored and reaching past the
// source's edges, against the reference, with and without AVX-512.
TEST(StretchHalftone, LongRowsMatchTheReferenceWithAndWithoutAvx512) {
    std::mt19937 rng(kSeed + 13);
    const struct {
        int sw, sh;
        ref::Call call;
    } cases[] = {
        {401, 9, Whole(401, 9, 150, 3)},
        {300, 7, Whole(300, 7, 299, 6)},
        {257, 40, Whole(257, 40, 86, 3)},
        {1000, 3, Whole(1000, 3, 367, 2)},
        {100, 701, Whole(100, 701, 50, 233)},
        {163, 1601, Whole(163, 1601, 70, 600)},
        {151, 2201, Whole(151, 2201, 65, 1024)},
        // Source mirrored on both axes; destination mirrored across.
        {401, 9, {0, 0, 150, 3, 401, 9, -401, -9}},
        {1000, 3, {367, 0, -367, 2, 0, 0, 1000, 3}},
        // The source area reaches past every edge: edge pixels stand in.
        {257, 40, {0, 0, 86, 3, -30, -5, 317, 50}},
    };
    for (const PixelLayout& layout : {Rgb24(), Bgrx32()}) {
        for (const auto& c : cases) {
            const int dw = std::abs(c.call.wDest), dh = std::abs(c.call.hDest);
            const bool topDown = c.sh % 2 == 0;
            const ref::Picture picture = RandomPicture(c.sw, c.sh, rng, layout.bitCount == 32);
            const ref::Picture expected =
                ref::Stretch(picture, ref::Picture(dw, dh, Sentinel()), c.call, ref::Mode::Halftone);
            Canvas source(layout, c.sw, c.sh, topDown);
            source.Write(picture);
            for (standin::SimdLimit limit : {standin::SimdLimit::All, standin::SimdLimit::Avx2}) {
                SCOPED_TRACE(layout.name + " " + Describe(c.call) + " limit " +
                             std::to_string(static_cast<int>(limit)));
                standin::LimitSimd(limit);
                Canvas dest(layout, dw, dh, !topDown);
                dest.Write(ref::Picture(dw, dh, Sentinel()));
                ASSERT_TRUE(Stretch(dest, source, HALFTONE, c.call));
                EXPECT_TRUE(SamePicture(expected, dest.Read()));
            }
            standin::LimitSimd(standin::SimdLimit::All);
        }
    }
}

TEST(StretchHalftone, EnlargementBlendsByCoverage) {
    const ref::Colour a = Rgb(0, 10, 200), b = Rgb(255, 20, 100);
    const struct {
        int dw;
        std::vector<ref::Colour> expected;
    } cases[] = {
        {2, {a, b}},
        {4, {a, a, b, b}},
        // Footprints [0, 2/3), [2/3, 4/3), [4/3, 2): the middle one is half a, half b.
        {3, {a, Rgb(128, 15, 150), b}},
        {6, {a, a, a, b, b, b}},
    };
    Canvas source(Rgb24(), 2, 1);
    ref::Picture picture(2, 1);
    picture.at(0, 0) = a, picture.at(1, 0) = b;
    source.Write(picture);
    for (const auto& c : cases) {
        SCOPED_TRACE("2 -> " + std::to_string(c.dw));
        Canvas dest(Rgb24(), c.dw, 1);
        ASSERT_TRUE(Stretch(dest, source, HALFTONE, Whole(2, 1, c.dw, 1)));
        ref::Picture expected(c.dw, 1);
        expected.pixels = c.expected;
        EXPECT_TRUE(SamePicture(expected, dest.Read()));
    }
}

// Footprints far larger than the bitmap, whose edge pixels stand in for all
// of the footprint beyond them. At 2^27 source pixels the exact divisor is
// close to 2^54, so the sums and the division take their wide forms; at
// 100001 the row weights outgrow the 16-bit multiply-add.
TEST(StretchHalftone, HugeFootprintsStayExact) {
    std::mt19937 rng(kSeed + 11);
    const int span = (1 << 27) - 1;
    const int origin = 3 - (1 << 26);  // puts the centre of destination pixel 1 at 2.5
    const int middle = 100001, middleOrigin = 2 - middle / 2;
    const ref::Call calls[] = {{0, 0, 3, 3, origin, origin, span, span},
                               {0, 0, 3, 3, origin, 0, span, 5},
                               {0, 0, 3, 3, 0, origin, 5, span},
                               {0, 0, 3, 3, middleOrigin, middleOrigin, middle, middle}};
    const ref::Picture picture = RandomPicture(5, 5, rng);
    for (int mode : kAllModes) {
        for (const ref::Call& call : calls) {
            SCOPED_TRACE(std::string(ModeName(mode)) + " " + Describe(call));
            Canvas from(Rgb24(), 5, 5);
            Canvas to(Rgb24(), 3, 3);
            from.Write(picture);
            to.Write(ref::Picture(3, 3, Sentinel()));
            ASSERT_TRUE(Stretch(to, from, mode, call));
            const ref::Picture expected =
                ref::Stretch(picture, ref::Picture(3, 3, Sentinel()), call, ReferenceMode(mode));
            EXPECT_NE(expected.at(1, 1), Sentinel());
            EXPECT_TRUE(SamePicture(expected, to.Read()));
        }
    }
}

// --- Invariants over every mode ---------------------------------------------

TEST(StretchModes, ConstantPicturesStayConstant) {
    std::mt19937 rng(kSeed + 2);
    const struct {
        int sw, sh, dw, dh;
    } sizes[] = {{16, 16, 8, 8}, {7, 5, 3, 2}, {3, 7, 7, 3}, {5, 5, 13, 11},
                 {1, 1, 9, 9},   {16, 5, 5, 16}, {9, 9, 9, 9}, {40, 3, 7, 1}};
    for (const PixelLayout& layout : {Rgb24(), Bgrx32(), Palette256(), Rgb555()}) {
        for (int mode : kAllModes) {
            for (const auto& s : sizes) {
                ref::Colour colour = RandomPicture(1, 1, rng, layout.bitCount == 32).at(0, 0);
                if (layout.bitCount <= 8) colour = layout.palette[rng() % 8];
                if (layout.bitCount == 16) colour = Rgb(255, 0, 255);
                const ref::Call call = Whole(s.sw, s.sh, s.dw, s.dh);
                SCOPED_TRACE(layout.name + " " + ModeName(mode) + " " + Describe(call));
                Canvas source(layout, s.sw, s.sh);
                Canvas dest(layout, s.dw, s.dh, true);
                source.Write(ref::Picture(s.sw, s.sh, colour));
                ASSERT_TRUE(Stretch(dest, source, mode, call));
                EXPECT_TRUE(SamePicture(ref::Picture(s.dw, s.dh, colour), dest.Read()));
            }
        }
    }
}

// --- The scan modes -----------------------------------------------------------

ref::Colour And(const ref::Colour& p, const ref::Colour& q) {
    return Rgb(p.r & q.r, p.g & q.g, p.b & q.b);
}

ref::Colour Or(const ref::Colour& p, const ref::Colour& q) {
    return Rgb(p.r | q.r, p.g | q.g, p.b | q.b);
}

TEST(StretchScans, HandCheckedRowsAndColumns) {
    const ref::Colour A = Rgb(0xF0, 0x0F, 0x33), B = Rgb(0x3C, 0xC3, 0x55),
                      C = Rgb(0x99, 0x66, 0xAA), D = Rgb(0x81, 0x18, 0x0F);
    const std::vector<ref::Colour> source = {A, B, C, D};
    const struct {
        int sourceLength, destLength, mode;
        std::vector<ref::Colour> expected;
    } cases[] = {
        // Footprints [0, 2) and [2, 4): centres at 1 and 3.
        {4, 2, COLORONCOLOR, {B, D}},
        {4, 2, BLACKONWHITE, {And(A, B), And(C, D)}},
        {4, 2, WHITEONBLACK, {Or(A, B), Or(C, D)}},
        // Footprints [0, 1.5) and [1.5, 3): centres at 0.75 and 2.25; the
        // source centre 1.5 belongs to the second.
        {3, 2, COLORONCOLOR, {A, C}},
        {3, 2, BLACKONWHITE, {A, And(B, C)}},
        {3, 2, WHITEONBLACK, {A, Or(B, C)}},
        // A destination extent of 1 combines all but the last source pixel.
        {4, 1, BLACKONWHITE, {And(And(A, B), C)}},
        {4, 1, WHITEONBLACK, {Or(Or(A, B), C)}},
        // Enlargement replicates in every scan mode.
        {2, 4, COLORONCOLOR, {A, A, B, B}},
        {2, 4, BLACKONWHITE, {A, A, B, B}},
        {2, 4, WHITEONBLACK, {A, A, B, B}},
        {2, 3, COLORONCOLOR, {A, B, B}},
        {2, 3, BLACKONWHITE, {A, B, B}},
        {2, 3, WHITEONBLACK, {A, B, B}},
    };
    for (const auto& c : cases) {
        for (bool vertical : {false, true}) {
            SCOPED_TRACE(std::string(ModeName(c.mode)) + " " + std::to_string(c.sourceLength) +
                         " -> " + std::to_string(c.destLength) + (vertical ? " down" : " across"));
            const int sw = vertical ? 1 : c.sourceLength, sh = vertical ? c.sourceLength : 1;
            const int dw = vertical ? 1 : c.destLength, dh = vertical ? c.destLength : 1;
            ref::Picture picture(sw, sh);
            for (int i = 0; i < c.sourceLength; ++i) picture.pixels[std::size_t(i)] = source[std::size_t(i)];
            Canvas from(Rgb24(), sw, sh);
            Canvas to(Rgb24(), dw, dh);
            from.Write(picture);
            ASSERT_TRUE(Stretch(to, from, c.mode, Whole(sw, sh, dw, dh)));
            ref::Picture expected(dw, dh);
            expected.pixels = c.expected;
            EXPECT_TRUE(SamePicture(expected, to.Read()));
        }
    }
}

TEST(StretchScans, MonochromeModesKeepTheirForeground) {
    const ref::Colour black = Rgb(0, 0, 0), white = Rgb(255, 255, 255);
    const struct {
        ref::Colour background, line;
        int mode;
        ref::Colour expected;
    } cases[] = {
        {white, black, BLACKONWHITE, black}, {white, black, WHITEONBLACK, white},
        {black, white, WHITEONBLACK, white}, {black, white, BLACKONWHITE, black},
        // The pixel under the centre of [0, 4) is pixel 2: the line is lost.
        {white, black, COLORONCOLOR, white},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ModeName(c.mode));
        ref::Picture picture(8, 8, c.background);
        for (int y = 0; y < 8; ++y) picture.at(1, y) = c.line;
        Canvas from(Monochrome(), 8, 8);
        Canvas to(Monochrome(), 2, 2);
        from.Write(picture);
        ASSERT_TRUE(Stretch(to, from, c.mode, Whole(8, 8, 2, 2)));
        const ref::Picture out = to.Read();
        EXPECT_EQ(out.at(0, 0), c.expected);
        EXPECT_EQ(out.at(0, 1), c.expected);
        EXPECT_EQ(out.at(1, 0), c.background);
    }
}

// --- Mirroring and clipping ------------------------------------------------------

TEST(StretchGeometry, OppositeSignsMirror) {
    std::mt19937 rng(kSeed + 3);
    const int w = 5, h = 4;
    const ref::Picture picture = RandomPicture(w, h, rng);
    const struct {
        ref::Call call;
        bool flipX, flipY;
    } cases[] = {
        // A negative extent covers its start pixel and the ones before it.
        {{w - 1, 0, -w, h, 0, 0, w, h}, true, false},
        {{0, h - 1, w, -h, 0, 0, w, h}, false, true},
        {{w - 1, h - 1, -w, -h, 0, 0, w, h}, true, true},
        {{0, 0, w, h, w - 1, 0, -w, h}, true, false},
        {{0, 0, w, h, 0, h - 1, w, -h}, false, true},
        {{w - 1, h - 1, -w, -h, w - 1, h - 1, -w, -h}, false, false},
    };
    for (int mode : kAllModes) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(ModeName(mode)) + " " + Describe(c.call));
            Canvas from(Rgb24(), w, h);
            Canvas to(Rgb24(), w, h, true);
            from.Write(picture);
            ASSERT_TRUE(Stretch(to, from, mode, c.call));
            ref::Picture expected(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    expected.at(x, y) = picture.at(c.flipX ? w - 1 - x : x, c.flipY ? h - 1 - y : y);
            EXPECT_TRUE(SamePicture(expected, to.Read()));
        }
    }
}

// Scaled, mirrored and clipped calls in every mode against the reference.
TEST(StretchGeometry, ScaledMirroredAndClippedCallsMatchTheReference) {
    std::mt19937 rng(kSeed + 4);
    const int sw = 9, sh = 7, dw = 8, dh = 6;
    const ref::Call calls[] = {
        {8, 0, -8, 6, 0, 0, 9, 7},      {0, 6, 8, -6, 9, 0, -9, 7},   {1, 1, -3, 5, 2, 1, 6, 4},
        {-3, 2, 8, 3, 0, 0, 9, 7},      {5, -2, 6, 9, 0, 0, 9, 7},    {-4, -4, 20, 20, 0, 0, 9, 7},
        {0, 0, 8, 6, -3, 0, 9, 7},      {0, 0, 8, 6, 4, 3, 9, 7},     {0, 0, 8, 6, -20, -20, 40, 40},
        {0, 0, 3, 3, -2, -2, 13, 11},   {7, 5, -8, -6, 12, 9, -18, -14}, {2, 2, 2, 2, 8, 6, 3, 3},
        {0, 0, 8, 6, 20, 0, 9, 7},
    };
    const ref::Picture picture = RandomPicture(sw, sh, rng);
    for (int mode : kAllModes) {
        for (const ref::Call& call : calls) {
            SCOPED_TRACE(std::string(ModeName(mode)) + " " + Describe(call));
            Canvas from(Rgb24(), sw, sh, true);
            Canvas to(Rgb24(), dw, dh);
            from.Write(picture);
            const ref::Picture before(dw, dh, Sentinel());
            to.Write(before);
            ASSERT_TRUE(Stretch(to, from, mode, call));
            EXPECT_TRUE(SamePicture(ref::Stretch(picture, before, call, ReferenceMode(mode)), to.Read()));
        }
    }
}

TEST(StretchGeometry, BitBltLeavesPixelsWithNoSourceAlone) {
    std::mt19937 rng(kSeed + 5);
    const ref::Picture picture = RandomPicture(6, 4, rng);
    Canvas from(Rgb24(), 6, 4);
    Canvas to(Rgb24(), 6, 4);
    from.Write(picture);
    to.Write(ref::Picture(6, 4, Sentinel()));
    ASSERT_TRUE(BitBlt(to.dc(), 0, 0, 6, 4, from.dc(), -2, 1, SRCCOPY));
    const ref::Picture out = to.Read();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool mapped = x >= 2 && y < 3;
            EXPECT_EQ(out.at(x, y), mapped ? picture.at(x - 2, y + 1) : Sentinel())
                << "(" << x << ", " << y << ")";
        }
}

// --- Pixel layouts ------------------------------------------------------------

std::vector<ref::Colour> SharedCornerColours(const PixelLayout& a, const PixelLayout& b) {
    std::vector<ref::Colour> colours;
    for (int i = 0; i < 8; ++i) {
        const ref::Colour c = Rgb(i & 4 ? 255 : 0, i & 2 ? 255 : 0, i & 1 ? 255 : 0);
        if (Representable(a, c) && Representable(b, c)) colours.push_back(c);
    }
    return colours;
}

TEST(StretchLayouts, EveryPairCarriesColoursBothCanHold) {
    testing_support::ResourceGuard guard;
    int pair = 0;
    for (const PixelLayout& from : AllLayouts()) {
        for (const PixelLayout& to : AllLayouts()) {
            const bool topDown = (pair++ % 2) == 0;
            SCOPED_TRACE(from.name + " -> " + to.name);
            const std::vector<ref::Colour> colours = SharedCornerColours(from, to);
            const int n = static_cast<int>(colours.size());
            // A row of the colours, then the same colours as 2 x 2 blocks.
            ref::Picture row(n, 1), blocks(2 * n, 2);
            for (int i = 0; i < n; ++i) {
                row.at(i, 0) = colours[std::size_t(i)];
                for (int k = 0; k < 4; ++k) blocks.at(2 * i + k % 2, k / 2) = colours[std::size_t(i)];
            }
            Canvas source(from, n, 1, topDown);
            Canvas dest(to, n, 1, !topDown);
            source.Write(row);
            ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, n, 1, source.dc(), 0, 0, SRCCOPY));
            EXPECT_TRUE(SamePicture(row, dest.Read())) << "BitBlt";

            Canvas blockSource(from, 2 * n, 2, !topDown);
            blockSource.Write(blocks);
            dest.Write(ref::Picture(n, 1, colours.front()));
            ASSERT_TRUE(Stretch(dest, blockSource, HALFTONE, Whole(2 * n, 2, n, 1)));
            EXPECT_TRUE(SamePicture(row, dest.Read())) << "HALFTONE 2:1";
        }
    }
}

TEST(StretchLayouts, FourthByteOf32BitPixelsTravelsOnlyBetween32BitRgb) {
    std::mt19937 rng(kSeed + 6);
    const ref::Picture picture = RandomPicture(4, 4, rng, true);
    Canvas source(Bgrx32(), 4, 4);
    source.Write(picture);
    Canvas same(Bgrx32(), 4, 4);
    Canvas fields(Bitfields32(), 4, 4);
    ASSERT_TRUE(BitBlt(same.dc(), 0, 0, 4, 4, source.dc(), 0, 0, SRCCOPY));
    ASSERT_TRUE(BitBlt(fields.dc(), 0, 0, 4, 4, source.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(SamePicture(picture, same.Read()));
    EXPECT_TRUE(SamePicture(WithoutFourthByte(picture), fields.Read()));
}

// --- Misuse -------------------------------------------------------------------

TEST(StretchMisuse, BadContextsFailAndDrawNothing) {
    testing_support::ResourceGuard guard;
    Canvas source(Rgb24(), 4, 4);
    Canvas dest(Rgb24(), 4, 4);
    source.Write(ref::Picture(4, 4, Rgb(1, 2, 3)));
    dest.Write(ref::Picture(4, 4, Sentinel()));
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    const HDC pen = reinterpret_cast<HDC>(GetStockObject(BLACK_PEN));
    const HDC bitmap = reinterpret_cast<HDC>(source.bitmap());
    const struct {
        const char* what;
        HDC to, from;
    } cases[] = {
        {"null destination", nullptr, source.dc()}, {"null source", dest.dc(), nullptr},
        {"deleted destination", stale, source.dc()}, {"deleted source", dest.dc(), stale},
        {"bitmap as destination", bitmap, source.dc()}, {"pen as source", dest.dc(), pen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (int mode : kAllModes) {
            if (c.to == dest.dc()) SetStretchBltMode(dest.dc(), mode);
            EXPECT_FALSE(StretchBlt(c.to, 0, 0, 4, 4, c.from, 0, 0, 2, 2, SRCCOPY));
        }
        EXPECT_FALSE(BitBlt(c.to, 0, 0, 4, 4, c.from, 0, 0, SRCCOPY));
        EXPECT_TRUE(SamePicture(ref::Picture(4, 4, Sentinel()), dest.Read()));
    }
}

TEST(StretchMisuse, HugeCoordinatesFail) {
    Canvas source(Rgb24(), 4, 4);
    Canvas dest(Rgb24(), 4, 4);
    dest.Write(ref::Picture(4, 4, Sentinel()));
    const int huge = (1 << 27) + 1;
    EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, huge, 4, source.dc(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, 4, 4, source.dc(), -huge, 0, 4, 4, SRCCOPY));
    EXPECT_FALSE(StretchBlt(dest.dc(), INT_MIN, 0, 4, 4, source.dc(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(SamePicture(ref::Picture(4, 4, Sentinel()), dest.Read()));
    // The largest accepted extents still work, drawing only what lands on the bitmaps.
    EXPECT_TRUE(StretchBlt(dest.dc(), 0, 0, 1 << 27, 1 << 27, source.dc(), 0, 0, 4, 4, SRCCOPY));
}

TEST(StretchMisuse, ZeroExtentsDrawNothingAndSucceed) {
    Canvas source(Rgb24(), 4, 4);
    Canvas dest(Rgb24(), 4, 4);
    source.Write(ref::Picture(4, 4, Rgb(1, 2, 3)));
    dest.Write(ref::Picture(4, 4, Sentinel()));
    const ref::Call calls[] = {{0, 0, 0, 4, 0, 0, 4, 4}, {0, 0, 4, 0, 0, 0, 4, 4},
                               {0, 0, 4, 4, 0, 0, 0, 4}, {0, 0, 4, 4, 0, 0, 4, 0}};
    for (int mode : kAllModes)
        for (const ref::Call& call : calls) EXPECT_TRUE(Stretch(dest, source, mode, call)) << Describe(call);
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 0, 4, source.dc(), 0, 0, SRCCOPY));
    // Rectangles wholly off either bitmap draw nothing either.
    EXPECT_TRUE(BitBlt(dest.dc(), 10, 0, 4, 4, source.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 4, 4, source.dc(), 0, -9, SRCCOPY));
    EXPECT_TRUE(SamePicture(ref::Picture(4, 4, Sentinel()), dest.Read()));
}

TEST(StretchMisuse, InjectedFaultFailsOnlyThatCall) {
    testing_support::ResourceGuard guard;
    Canvas source(Rgb24(), 2, 2);
    Canvas dest(Rgb24(), 2, 2);
    source.Write(ref::Picture(2, 2, Rgb(9, 8, 7)));
    dest.Write(ref::Picture(2, 2, Sentinel()));
    standin::FailNthCall(standin::Call::StretchBlt, 1);
    EXPECT_FALSE(Stretch(dest, source, HALFTONE, Whole(2, 2, 2, 2)));
    EXPECT_TRUE(SamePicture(ref::Picture(2, 2, Sentinel()), dest.Read()));
    EXPECT_TRUE(Stretch(dest, source, HALFTONE, Whole(2, 2, 2, 2)));
    EXPECT_TRUE(SamePicture(ref::Picture(2, 2, Rgb(9, 8, 7)), dest.Read()));
}

// --- Raster operations and overlapping copies ---------------------------------

TEST(StretchRasterOps, CombineWithTheDestinationOrFill) {
    std::mt19937 rng(kSeed + 7);
    const ref::Picture src = RandomPicture(4, 3, rng), dst = RandomPicture(4, 3, rng);
    auto combine = [&](auto op) {
        ref::Picture out(4, 3);
        for (std::size_t i = 0; i < out.pixels.size(); ++i) {
            const ref::Colour &s = src.pixels[i], &d = dst.pixels[i];
            out.pixels[i] = Rgb(op(d.r, s.r), op(d.g, s.g), op(d.b, s.b));
        }
        return out;
    };
    ref::Picture filled(4, 3, Sentinel());
    for (int y = 1; y < 3; ++y)
        for (int x = 0; x < 2; ++x) filled.at(x, y) = Rgb(255, 255, 255);
    ref::Picture blacked = filled;
    for (int y = 1; y < 3; ++y)
        for (int x = 0; x < 2; ++x) blacked.at(x, y) = Rgb(0, 0, 0);
    const struct {
        DWORD rop;
        const char* name;
        ref::Picture before, expected;
        bool wholePicture;
    } cases[] = {
        {SRCAND, "SRCAND", dst, combine([](int d, int s) { return std::uint8_t(d & s); }), true},
        {SRCPAINT, "SRCPAINT", dst, combine([](int d, int s) { return std::uint8_t(d | s); }), true},
        {SRCINVERT, "SRCINVERT", dst, combine([](int d, int s) { return std::uint8_t(d ^ s); }), true},
        {WHITENESS, "WHITENESS", ref::Picture(4, 3, Sentinel()), filled, false},
        {BLACKNESS, "BLACKNESS", ref::Picture(4, 3, Sentinel()), blacked, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas from(Rgb24(), 4, 3);
        Canvas to(Rgb24(), 4, 3);
        from.Write(src);
        to.Write(c.before);
        if (c.wholePicture) {
            ASSERT_TRUE(BitBlt(to.dc(), 0, 0, 4, 3, from.dc(), 0, 0, c.rop));
        } else {
            // These read no source: a null one is fine. The rectangle runs
            // off the bitmap's left and bottom edges.
            ASSERT_TRUE(StretchBlt(to.dc(), -1, 1, 3, 5, nullptr, 0, 0, 0, 0, c.rop));
        }
        EXPECT_TRUE(SamePicture(c.expected, to.Read()));
    }
}

TEST(StretchOverlap, OneBitmapAsSourceAndDestination) {
    std::mt19937 rng(kSeed + 8);
    const int w = 7, h = 5;
    for (const PixelLayout& layout : {Rgb24(), Palette256()}) {
        ref::Picture picture(w, h);
        for (ref::Colour& c : picture.pixels)
            c = layout.bitCount <= 8 ? layout.palette[rng() % layout.palette.size()]
                                     : RandomPicture(1, 1, rng).at(0, 0);
        const ref::Call calls[] = {
            {1, 1, w - 1, h - 1, 0, 0, w - 1, h - 1}, {0, 0, w - 1, h - 1, 1, 1, w - 1, h - 1},
            {2, 0, w - 2, h, 0, 0, w - 2, h},         {0, 1, w, h - 1, 0, 0, w, h - 1},
            {0, 0, w, h, 1, 1, 4, 3},                 {1, 1, 3, 2, 0, 0, w, h},
        };
        for (int mode : {COLORONCOLOR, HALFTONE}) {
            for (const ref::Call& call : calls) {
                SCOPED_TRACE(layout.name + " " + ModeName(mode) + " " + Describe(call));
                Canvas canvas(layout, w, h);
                canvas.Write(picture);
                ASSERT_TRUE(Stretch(canvas, canvas, mode, call));
                ref::Picture expected = ref::Stretch(picture, picture, call, ReferenceMode(mode));
                if (layout.bitCount <= 8) {
                    // Averages land on the nearest grey of the table; compare
                    // only what a copy must reproduce exactly.
                    if (mode == HALFTONE && (call.wDest != call.wSrc || call.hDest != call.hSrc)) continue;
                }
                EXPECT_TRUE(SamePicture(expected, canvas.Read()));
            }
        }
    }
}

TEST(BitBltCopies, WhateverTheStretchMode) {
    std::mt19937 rng(kSeed + 9);
    const ref::Picture picture = RandomPicture(6, 5, rng);
    for (int mode : kAllModes) {
        SCOPED_TRACE(ModeName(mode));
        Canvas from(Rgb24(), 6, 5);
        Canvas to(Rgb24(), 6, 5, true);
        from.Write(picture);
        to.Write(ref::Picture(6, 5, Sentinel()));
        SetStretchBltMode(to.dc(), mode);
        ASSERT_TRUE(BitBlt(to.dc(), 1, 2, 4, 2, from.dc(), 2, 1, SRCCOPY));
        ref::Picture expected(6, 5, Sentinel());
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) expected.at(1 + x, 2 + y) = picture.at(2 + x, 1 + y);
        EXPECT_TRUE(SamePicture(expected, to.Read()));
    }
}

// --- Fast paths against the general path ---------------------------------------

struct RandomCase {
    int sw, sh, dw, dh;
    ref::Call call;
    int mode;
    bool sourceTopDown, destTopDown;
};

RandomCase MakeRandomCase(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    RandomCase c;
    c.sw = pick(1, 40), c.sh = pick(1, 40);
    // Exact halvings often, so the 2:1 routine is exercised too.
    const bool halve = pick(0, 2) == 0;
    int ws = c.sw, hs = c.sh, wd, hd;
    if (halve) {
        ws = c.sw - c.sw % 2 + (c.sw == 1 ? 2 : 0);
        hs = c.sh - c.sh % 2 + (c.sh == 1 ? 2 : 0);
        wd = ws / 2, hd = hs / 2;
    } else {
        wd = pick(1, 40), hd = pick(1, 40);
    }
    c.dw = wd + pick(0, 3), c.dh = hd + pick(0, 3);
    const int xs = halve ? 0 : pick(-3, 3), ys = halve ? 0 : pick(-3, 3);
    const int xd = pick(-2, c.dw - wd), yd = pick(-2, c.dh - hd);
    c.call = ref::Call{xd, yd, wd, hd, xs, ys, ws, hs};
    if (!halve && pick(0, 3) == 0) c.call = ref::Call{xd + wd, yd, -wd, hd, xs, ys, ws, hs};
    if (!halve && pick(0, 3) == 0) c.call.ySrc += hs, c.call.hSrc = -hs;
    c.mode = kAllModes[pick(0, 3)];
    c.sourceTopDown = pick(0, 1) == 1;
    c.destTopDown = pick(0, 1) == 1;
    return c;
}

ref::Picture RunCase(const RandomCase& c, const PixelLayout& from, const PixelLayout& to,
                     const ref::Picture& picture, const ref::Picture& before) {
    Canvas source(from, c.sw, c.sh, c.sourceTopDown);
    Canvas dest(to, c.dw, c.dh, c.destTopDown);
    source.Write(picture);
    dest.Write(before);
    EXPECT_TRUE(Stretch(dest, source, c.mode, c.call));
    return dest.Read();
}

void CheckFastPathsAgainstGeneralPathAndReference(std::mt19937& rng, int cases) {
    for (int i = 0; i < cases; ++i) {
        const RandomCase c = MakeRandomCase(rng);
        SCOPED_TRACE("case " + std::to_string(i) + " " + ModeName(c.mode) + " " + Describe(c.call) +
                     " source " + std::to_string(c.sw) + "x" + std::to_string(c.sh) +
                     (c.sourceTopDown ? " top-down" : "") + " dest " + std::to_string(c.dw) + "x" +
                     std::to_string(c.dh) + (c.destTopDown ? " top-down" : ""));
        const ref::Picture picture = RandomPicture(c.sw, c.sh, rng, true);
        const ref::Picture before = RandomPicture(c.dw, c.dh, rng, true);
        const ref::Picture expected = ref::Stretch(picture, before, c.call, ReferenceMode(c.mode));

        // 24 to 24 bits reads and writes rows in place; 24 to 32-bit fields
        // goes through the general path with the same colours.
        const ref::Picture fast24 = RunCase(c, Rgb24(), Rgb24(), WithoutFourthByte(picture),
                                            WithoutFourthByte(before));
        const ref::Picture general24 = RunCase(c, Rgb24(), Bitfields32(), WithoutFourthByte(picture),
                                               WithoutFourthByte(before));
        ASSERT_TRUE(SamePicture(general24, fast24)) << "24-bit fast path";
        ASSERT_TRUE(SamePicture(WithoutFourthByte(expected), fast24)) << "24-bit reference";

        // 32-bit BI_RGB in place keeps the fourth byte, averaged like the rest.
        const ref::Picture fast32 = RunCase(c, Bgrx32(), Bgrx32(), picture, before);
        const ref::Picture general32 =
            RunCase(c, Bgrx32(), Bitfields32(), picture, WithoutFourthByte(before));
        ASSERT_TRUE(SamePicture(expected, fast32)) << "32-bit reference";
        ASSERT_TRUE(SamePicture(WithoutFourthByte(fast32), general32)) << "32-bit fast path";
    }
}

TEST(StretchFastPaths, MatchTheGeneralPathAndTheReference) {
    std::mt19937 rng(kSeed + 10);
    CheckFastPathsAgainstGeneralPathAndReference(rng, 300);
}

// A 2:1 deleting reduction of rows long enough for the vector steps (16
// pixels at 24 bits, 4 at 32), from several first columns and with every
// tail length in range.
TEST(StretchFastPaths, EveryOtherColumnPicksMatchTheReference) {
    std::mt19937 rng(kSeed + 12);
    for (int sourceWidth : {64, 65, 71, 97, 130}) {
        for (int xSrc : {0, 1, 3}) {
            RandomCase c{sourceWidth, 4, 0, 2, {}, COLORONCOLOR, false, false};
            c.dw = (sourceWidth - xSrc) / 2;
            c.call = ref::Call{0, 0, c.dw, 2, xSrc, 0, 2 * c.dw, 4};
            SCOPED_TRACE(Describe(c.call) + " from " + std::to_string(sourceWidth));
            const ref::Picture picture = RandomPicture(c.sw, c.sh, rng, true);
            const ref::Picture before = RandomPicture(c.dw, c.dh, rng, true);
            const ref::Picture expected = ref::Stretch(picture, before, c.call, ReferenceMode(c.mode));
            EXPECT_TRUE(SamePicture(WithoutFourthByte(expected),
                                    RunCase(c, Rgb24(), Rgb24(), WithoutFourthByte(picture),
                                            WithoutFourthByte(before))))
                << "24 bits";
            EXPECT_TRUE(SamePicture(expected, RunCase(c, Bgrx32(), Bgrx32(), picture, before))) << "32 bits";
        }
    }
}

// Routines with vector versions give the same bytes with any instruction
// set the processor may lack.
TEST(StretchFastPaths, MatchTheReferenceWithFewerVectorInstructions) {
    std::mt19937 rng(kSeed + 11);
    for (standin::SimdLimit limit :
         {standin::SimdLimit::Portable, standin::SimdLimit::Ssse3, standin::SimdLimit::Avx2}) {
        SCOPED_TRACE(static_cast<int>(limit));
        standin::LimitSimd(limit);
        CheckFastPathsAgainstGeneralPathAndReference(rng, 150);
        standin::LimitSimd(standin::SimdLimit::All);
    }
}

}  // namespace

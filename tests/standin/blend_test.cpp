// AlphaBlend: the platform's three formulas checked exhaustively against an
// exact rational reference, documented cases with worked pixels, stretching
// and clipping, every destination depth, the documented refusals, and the
// vector kernels against the portable ones under every SIMD limit.
#include "stretch_canvas.h"

#include <standin/testing.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using stretch_test::Canvas;
using stretch_test::Colour;
using stretch_test::Picture;
using stretch_test::PixelLayout;

const standin::SimdLimit kLimits[] = {standin::SimdLimit::Portable, standin::SimdLimit::Ssse3,
                                      standin::SimdLimit::Avx2, standin::SimdLimit::All};

BLENDFUNCTION Function(BYTE constantAlpha, BYTE format = 0) { return BLENDFUNCTION{AC_SRC_OVER, 0, constantAlpha, format}; }

// n / 255 rounded to nearest, halves up, computed as a rational.
int Rounded(int numerator) { return (2 * numerator + 255) / 510; }
// The documented formulas, evaluated exactly.
int ConstantBlend(int s, int d, int a) { return Rounded(s * a + d * (255 - a)); }
int PremultipliedBlend(int s, int d, int sa) { return std::min(255, Rounded(255 * s + d * (255 - sa))); }

Colour Grey(int v, int x) {
    const auto b = static_cast<std::uint8_t>(v);
    return Colour{b, b, b, static_cast<std::uint8_t>(x)};
}

struct SimdGuard {
    ~SimdGuard() { standin::LimitSimd(standin::SimdLimit::All); }
};

// Every (source, destination) byte pair at every constant alpha, under the
// portable loops and the widest vector ones: column x holds source bytes
// x, and the four bytes of row y hold destinations 4y .. 4y + 3.
TEST(AlphaBlendTest, ConstantAlphaIsExactForEveryPairAndAlpha) {
    SimdGuard guard;
    Picture source(256, 64), target(256, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x) {
            source.at(x, y) = Grey(x, x);
            const auto d = static_cast<std::uint8_t>(4 * y);
            target.at(x, y) = Colour{d, std::uint8_t(d + 1), std::uint8_t(d + 2), std::uint8_t(d + 3)};
        }
    Canvas from(stretch_test::Bgrx32(), 256, 64, true), to(stretch_test::Bgrx32(), 256, 64, true);
    from.Write(source);
    for (standin::SimdLimit limit : {standin::SimdLimit::Portable, standin::SimdLimit::All}) {
        standin::LimitSimd(limit);
        for (int a = 1; a < 256; a += limit == standin::SimdLimit::All ? 1 : 17) {
            to.Write(target);
            ASSERT_TRUE(AlphaBlend(to.dc(), 0, 0, 256, 64, from.dc(), 0, 0, 256, 64, Function(BYTE(a))));
            const std::vector<std::uint8_t> out = to.RawBytes();
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 256; ++x)
                    for (int c = 0; c < 4; ++c)
                        ASSERT_EQ(out[std::size_t(y * 256 + x) * 4 + c], ConstantBlend(x, 4 * y + c, a))
                            << "s " << x << " d " << 4 * y + c << " alpha " << a;
        }
    }
}

// Every (source alpha, destination) pair, with colour bytes at, below and
// above the alpha (the last is no premultiplied colour: it saturates).
TEST(AlphaBlendTest, PerPixelAlphaIsExactForEveryPair) {
    SimdGuard guard;
    Picture source(256, 256), target(256, 256, Grey(0, 0));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            source.at(x, y) = Colour{std::uint8_t(x), std::uint8_t(x / 3), 255, std::uint8_t(x)};
            target.at(x, y) = Grey(y, y);
        }
    Canvas from(stretch_test::Bgrx32(), 256, 256), to(stretch_test::Bgrx32(), 256, 256);
    from.Write(source);
    for (standin::SimdLimit limit : kLimits) {
        standin::LimitSimd(limit);
        to.Write(target);
        ASSERT_TRUE(AlphaBlend(to.dc(), 0, 0, 256, 256, from.dc(), 0, 0, 256, 256, Function(255, AC_SRC_ALPHA)));
        const Picture out = to.Read();
        for (int y = 0; y < 256; ++y)
            for (int sa = 0; sa < 256; ++sa) {
                const Colour& c = out.at(sa, y);
                ASSERT_EQ(c.b, PremultipliedBlend(sa, y, sa)) << "alpha " << sa << " d " << y;
                ASSERT_EQ(c.g, PremultipliedBlend(sa / 3, y, sa)) << "alpha " << sa << " d " << y;
                ASSERT_EQ(c.r, PremultipliedBlend(255, y, sa)) << "alpha " << sa << " d " << y;
                ASSERT_EQ(c.x, PremultipliedBlend(sa, y, sa)) << "alpha " << sa << " d " << y;
            }
    }
}

// One pixel blended onto one pixel, worked by hand from the documented
// formulas (Colour is blue, green, red, fourth byte).
struct PixelCase {
    const char* what;
    PixelLayout (*sourceLayout)();
    PixelLayout (*targetLayout)();
    Colour source, target;
    BLENDFUNCTION function;
    Colour expected;
};

TEST(AlphaBlendTest, DocumentedCasesGiveTheWorkedPixels) {
    using namespace stretch_test;
    const PixelCase cases[] = {
        // 200*128/255 = 100.4; (100*128 + 100*127)/255 = 100; 255*127/255 = 127; 255*127/255 = 127
        {"constant alpha", Bgrx32, Bgrx32, {200, 100, 0, 0}, {0, 100, 255, 255}, Function(128), {100, 100, 127, 127}},
        // (10*1 + 250*254)/255 = 249.06; 1/255 of 255 is 1
        {"constant alpha 1", Bgrx32, Bgrx32, {10, 255, 0, 0}, {250, 0, 0, 0}, Function(1), {249, 1, 0, 0}},
        {"constant alpha 255 copies", Bgrx32, Bgrx32, {1, 2, 3, 4}, {9, 9, 9, 9}, Function(255), {1, 2, 3, 4}},
        // 0 + 255*127/255 = 127; 128 + 127 = 255
        {"per-pixel alpha", Bgrx32, Bgrx32, {0, 0, 128, 128}, {255, 255, 255, 255}, Function(255, AC_SRC_ALPHA),
         {127, 127, 255, 255}},
        {"per-pixel opaque", Bgrx32, Bgrx32, {7, 8, 9, 255}, {200, 200, 200, 200}, Function(255, AC_SRC_ALPHA),
         {7, 8, 9, 255}},
        {"per-pixel transparent", Bgrx32, Bgrx32, {0, 0, 0, 0}, {200, 100, 50, 25}, Function(255, AC_SRC_ALPHA),
         {200, 100, 50, 25}},
        // source scaled first: 255*128/255 = 128, alpha 128; then 128 + 100*127/255 = 177.8
        {"both alphas", Bgrx32, Bgrx32, {0, 0, 255, 255}, {100, 100, 100, 0}, Function(128, AC_SRC_ALPHA),
         {50, 50, 178, 128}},
        // 50*64/255 = 12.5 rounds up to 13, alpha 64*64/255 = 16.06; 13 + 40*239/255 = 50.49
        {"both alphas, rounding each step", Bgrx32, Bgrx32, {50, 0, 0, 64}, {40, 0, 0, 0},
         Function(64, AC_SRC_ALPHA), {50, 0, 0, 16}},
        // a 24-bit source has no alpha: the destination's fourth byte keeps 127/255 of itself
        {"24-bit source", Rgb24, Bgrx32, {255, 0, 0, 0}, {0, 0, 255, 200}, Function(128), {128, 0, 127, 100}},
        {"24-bit destination", Bgrx32, Rgb24, {0, 0, 128, 128}, {255, 255, 255, 0}, Function(255, AC_SRC_ALPHA),
         {127, 127, 255, 0}},
        // 5-6-5 stores 127 as 123 (blue, red) and 127 as 125 (green)
        {"5-6-5 destination", Bgrx32, Rgb565, {0, 0, 0, 128}, {255, 255, 255, 0}, Function(255, AC_SRC_ALPHA),
         {123, 125, 123, 0}},
        // mid grey onto black at 128: grey 64, which the grey ramp holds exactly
        {"palette destination", Bgrx32, GreyRamp256, {128, 128, 128, 0}, {0, 0, 0, 0}, Function(128),
         {64, 64, 64, 0}},
        // the monochrome source's 1 bits show the destination context's background colour (white)
        {"monochrome source", Monochrome, Rgb24, {255, 255, 255, 0}, {0, 0, 0, 0}, Function(102), {102, 102, 102, 0}},
    };
    for (const PixelCase& c : cases) {
        Canvas from(c.sourceLayout(), 1, 1), to(c.targetLayout(), 1, 1);
        from.Write(Picture(1, 1, c.source));
        to.Write(Picture(1, 1, c.target));
        ASSERT_TRUE(AlphaBlend(to.dc(), 0, 0, 1, 1, from.dc(), 0, 0, 1, 1, c.function)) << c.what;
        EXPECT_EQ(to.Read().at(0, 0), c.expected) << c.what;
    }
}

// Stretching takes the source pixel under each destination pixel's centre;
// a destination partly outside its bitmap draws the part inside.
TEST(AlphaBlendTest, StretchesLikeColorOnColorAndClipsTheDestination) {
    Picture source(4, 1);
    for (int x = 0; x < 4; ++x) source.at(x, 0) = Grey(40 * (x + 1), 255);
    Canvas from(stretch_test::Bgrx32(), 4, 1), to(stretch_test::Bgrx32(), 8, 2);
    from.Write(source);
    SetStretchBltMode(to.dc(), HALFTONE);  // AlphaBlend stretches like COLORONCOLOR whatever the mode
    struct Case {
        int x, y, w, h, srcX, srcW;
        std::vector<int> row0;  // grey levels of row 0 afterwards (0: untouched)
    } cases[] = {
        {0, 0, 8, 1, 0, 4, {40, 40, 80, 80, 120, 120, 160, 160}},
        {0, 0, 2, 1, 0, 4, {80, 160, 0, 0, 0, 0, 0, 0}},
        {5, 0, 6, 1, 0, 3, {0, 0, 0, 0, 0, 40, 40, 80}},
        {-2, 0, 4, 1, 0, 4, {120, 160, 0, 0, 0, 0, 0, 0}},
        {0, 0, 3, 1, 1, 3, {80, 120, 160, 0, 0, 0, 0, 0}},
        {0, 1, 3, 1, 1, 3, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        to.Write(Picture(8, 2, Grey(0, 0)));
        ASSERT_TRUE(AlphaBlend(to.dc(), c.x, c.y, c.w, c.h, from.dc(), c.srcX, 0, c.srcW, 1,
                               Function(255, AC_SRC_ALPHA)));
        const Picture out = to.Read();
        for (int x = 0; x < 8; ++x) EXPECT_EQ(out.at(x, 0).g, c.row0[x]) << "case at " << c.x << " column " << x;
    }
}

TEST(AlphaBlendTest, RefusesWhatThePlatformRefuses) {
    Canvas from(stretch_test::Bgrx32(), 4, 4), to(stretch_test::Bgrx32(), 4, 4), rgb(stretch_test::Rgb24(), 4, 4);
    const Picture before = to.Read();
    struct Case {
        const char* what;
        HDC dest, source;
        int xDest, wDest, xSrc, wSrc;
        BLENDFUNCTION function;
        DWORD error;
    } cases[] = {
        {"null destination", nullptr, from.dc(), 0, 4, 0, 4, Function(128), ERROR_INVALID_HANDLE},
        {"null source", to.dc(), nullptr, 0, 4, 0, 4, Function(128), ERROR_INVALID_HANDLE},
        {"blend op", to.dc(), from.dc(), 0, 4, 0, 4, {1, 0, 128, 0}, ERROR_INVALID_PARAMETER},
        {"blend flags", to.dc(), from.dc(), 0, 4, 0, 4, {AC_SRC_OVER, 1, 128, 0}, ERROR_INVALID_PARAMETER},
        {"alpha format", to.dc(), from.dc(), 0, 4, 0, 4, Function(128, 2), ERROR_INVALID_PARAMETER},
        {"negative destination width", to.dc(), from.dc(), 4, -4, 0, 4, Function(128), ERROR_INVALID_PARAMETER},
        {"negative source width", to.dc(), from.dc(), 0, 4, 4, -4, Function(128), ERROR_INVALID_PARAMETER},
        {"source past the right edge", to.dc(), from.dc(), 0, 4, 1, 4, Function(128), ERROR_INVALID_PARAMETER},
        {"source left of the bitmap", to.dc(), from.dc(), 0, 4, -1, 2, Function(128), ERROR_INVALID_PARAMETER},
        {"per-pixel alpha from 24 bits", to.dc(), rgb.dc(), 0, 4, 0, 4, Function(255, AC_SRC_ALPHA),
         ERROR_INVALID_PARAMETER},
        {"overlap in one bitmap", to.dc(), to.dc(), 0, 2, 1, 2, Function(128), ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(AlphaBlend(c.dest, c.xDest, 0, c.wDest, 4, c.source, c.xSrc, 0, c.wSrc, 4, c.function)) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
        EXPECT_FALSE(GdiAlphaBlend(c.dest, c.xDest, 0, c.wDest, 4, c.source, c.xSrc, 0, c.wSrc, 4, c.function))
            << c.what;
    }
    EXPECT_TRUE(AlphaBlend(to.dc(), 0, 0, 0, 4, from.dc(), 0, 0, 4, 4, Function(128))) << "zero width";
    EXPECT_TRUE(AlphaBlend(to.dc(), 0, 0, 2, 4, to.dc(), 2, 0, 2, 4, Function(128))) << "side by side in one bitmap";
    EXPECT_EQ(to.Read().pixels, before.pixels);
}

// Random rows of every length up to past two vector steps, at every limit:
// the same bytes as the portable loops, for all three formulas.
TEST(AlphaBlendTest, VectorKernelsMatchThePortableOnesUnderEveryLimit) {
    SimdGuard guard;
    std::mt19937 rng(18);
    const BLENDFUNCTION functions[] = {Function(77), Function(255, AC_SRC_ALPHA), Function(200, AC_SRC_ALPHA)};
    for (int width = 1; width <= 21; ++width) {
        const Picture source = stretch_test::RandomPicture(width, 3, rng, true);
        const Picture target = stretch_test::RandomPicture(width, 3, rng, true);
        Canvas from(stretch_test::Bgrx32(), width, 3), to(stretch_test::Bgrx32(), width, 3);
        from.Write(source);
        for (const BLENDFUNCTION& f : functions) {
            std::vector<Picture> results;
            for (standin::SimdLimit limit : kLimits) {
                standin::LimitSimd(limit);
                to.Write(target);
                ASSERT_TRUE(AlphaBlend(to.dc(), 0, 0, width, 3, from.dc(), 0, 0, width, 3, f));
                results.push_back(to.Read());
            }
            for (const Picture& p : results) ASSERT_EQ(p.pixels, results[0].pixels) << "width " << width;
        }
    }
}

}  // namespace

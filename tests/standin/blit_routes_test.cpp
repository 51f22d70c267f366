// The route each blit reports (standin::LastBlitRoute) and the general route
// that standin::UseDedicatedRoutes(false) forces: every dedicated route must
// give the general route's bytes, under every SIMD limit, and each must say
// which routine ran, since benchmarks print it beside their figures.
#include "stretch_canvas.h"
#include "stretch_reference.h"

#include <standin/testing.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace stretch_test;
namespace ref = stretch_reference;

namespace {

constexpr std::uint32_t kSeed = 20261209;
constexpr DWORD kDspdxax = 0x00E20746;  // no loop of its own: two choices either way

struct RouteCase {
    const char* what;
    int bitCount;
    int mode;
    ref::Call call;
    DWORD rop;
    // Without vector instructions: the route taken, and the general one.
    const char* portableRoute;
    const char* generalRoute;
};

// Sources are 70 x 9: long enough for every vector step, odd enough for
// the tails.
const RouteCase kCases[] = {
    {"HALFTONE 2:1", 24, HALFTONE, {0, 0, 35, 4, 0, 0, 70, 8}, SRCCOPY, "HALFTONE 2:1 scalar",
     "HALFTONE two-pass scalar"},
    {"HALFTONE 2:1", 32, HALFTONE, {0, 0, 35, 4, 0, 0, 70, 8}, SRCCOPY, "HALFTONE 2:1 scalar",
     "HALFTONE two-pass scalar"},
    // From an odd column, so that the vector steps read rows off their
    // alignment; at 24 bits as wide as the AVX-512 step, which then leaves
    // no tail.
    {"HALFTONE 2:1 from column 3", 24, HALFTONE, {1, 0, 32, 4, 3, 0, 64, 8}, SRCCOPY, "HALFTONE 2:1 scalar",
     "HALFTONE two-pass scalar"},
    {"HALFTONE 2:1 from column 3", 32, HALFTONE, {1, 0, 24, 4, 3, 0, 48, 8}, SRCCOPY, "HALFTONE 2:1 scalar",
     "HALFTONE two-pass scalar"},
    {"HALFTONE 70:26", 24, HALFTONE, {0, 0, 26, 4, 0, 0, 70, 9}, SRCCOPY, "HALFTONE two-pass scalar",
     "HALFTONE two-pass scalar"},
    {"HALFTONE 70:26", 32, HALFTONE, {0, 0, 26, 4, 0, 0, 70, 9}, SRCCOPY, "HALFTONE two-pass scalar",
     "HALFTONE two-pass scalar"},
    {"COLORONCOLOR 2:1", 24, COLORONCOLOR, {0, 0, 35, 4, 0, 0, 70, 8}, SRCCOPY, "scan picks", "scan picks"},
    {"COLORONCOLOR 2:1", 32, COLORONCOLOR, {0, 0, 35, 4, 0, 0, 70, 8}, SRCCOPY, "scan picks", "scan picks"},
    {"COLORONCOLOR 70:26", 24, COLORONCOLOR, {0, 0, 26, 4, 0, 0, 70, 9}, SRCCOPY, "scan picks",
     "scan picks"},
    {"COLORONCOLOR 70:26", 32, COLORONCOLOR, {0, 0, 26, 4, 0, 0, 70, 9}, SRCCOPY, "scan picks",
     "scan picks"},
    // Mirrored, from an odd column: the windows' steps run backwards.
    {"COLORONCOLOR 67:26 mirrored", 32, COLORONCOLOR, {30, 0, -26, 4, 1, 0, 67, 9}, SRCCOPY, "scan picks",
     "scan picks"},
    {"BitBlt SRCCOPY", 24, BLACKONWHITE, {1, 1, 60, 7, 3, 1, 60, 7}, SRCCOPY, "row copy", "scan picks"},
    {"BitBlt SRCINVERT", 24, BLACKONWHITE, {1, 1, 60, 7, 3, 1, 60, 7}, SRCINVERT,
     "raster op on row bytes: own loop", "scan picks, decoded rows"},
    {"BitBlt PATINVERT", 24, BLACKONWHITE, {1, 1, 60, 7, 3, 1, 60, 7}, PATINVERT,
     "brush fill on row bytes: own loop", "brush fill on row bytes: two choices"},
    {"BitBlt DSPDxax", 32, BLACKONWHITE, {1, 1, 60, 7, 3, 1, 60, 7}, kDspdxax,
     "raster op on row bytes: two choices", "scan picks, decoded rows"},
};

const standin::SimdLimit kLimits[] = {standin::SimdLimit::Portable, standin::SimdLimit::Ssse3,
                                      standin::SimdLimit::Avx2, standin::SimdLimit::All};

struct Outcome {
    Picture picture;
    std::string route;
};

Outcome RunBlit(const RouteCase& c, const Picture& source, const Picture& before, bool dedicated) {
    const PixelLayout layout = c.bitCount == 24 ? Rgb24() : Bgrx32();
    Canvas from(layout, source.width, source.height);
    Canvas to(layout, before.width, before.height, true);
    from.Write(source);
    to.Write(before);
    HBRUSH brush = CreateSolidBrush(RGB(12, 200, 77));
    HGDIOBJ previous = SelectObject(to.dc(), brush);
    SetStretchBltMode(to.dc(), c.mode);
    standin::UseDedicatedRoutes(dedicated);
    const ref::Call& k = c.call;
    EXPECT_TRUE(StretchBlt(to.dc(), k.xDest, k.yDest, k.wDest, k.hDest, from.dc(), k.xSrc, k.ySrc, k.wSrc,
                           k.hSrc, c.rop));
    standin::UseDedicatedRoutes(true);
    SelectObject(to.dc(), previous);
    DeleteObject(brush);
    return {to.Read(), standin::LastBlitRoute()};
}

TEST(BlitRoutes, DedicatedRoutesGiveTheGeneralRoutesBytesAndSayWhatRan) {
    std::mt19937 rng(kSeed);
    for (const RouteCase& c : kCases) {
        const Picture source = RandomPicture(70, 9, rng, c.bitCount == 32);
        const Picture before = RandomPicture(64, 9, rng, c.bitCount == 32);
        for (standin::SimdLimit limit : kLimits) {
            SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(c.bitCount) + " bits, limit " +
                         std::to_string(static_cast<int>(limit)));
            standin::LimitSimd(limit);
            const Outcome fast = RunBlit(c, source, before, true);
            const Outcome general = RunBlit(c, source, before, false);
            standin::LimitSimd(standin::SimdLimit::All);
            EXPECT_TRUE(fast.picture.pixels == general.picture.pixels);
            EXPECT_FALSE(fast.route.empty());
            if (limit == standin::SimdLimit::Portable) {
                EXPECT_EQ(c.portableRoute, fast.route);
                EXPECT_EQ(c.generalRoute, general.route);
            }
            // Turning the dedicated routes off never leaves one running.
            for (const char* dedicated : {"2:1", "row copy", "own loop", "row-first"})
                EXPECT_EQ(std::string::npos, general.route.find(dedicated)) << general.route;
        }
    }
}

// The stretches match the plain reference by either route, so the
// comparison above compares right answers.
TEST(BlitRoutes, StretchCasesMatchTheReferenceByEitherRoute) {
    std::mt19937 rng(kSeed + 1);
    for (const RouteCase& c : kCases) {
        if (c.rop != SRCCOPY || c.mode == BLACKONWHITE) continue;
        SCOPED_TRACE(std::string(c.what) + " at " + std::to_string(c.bitCount) + " bits");
        const Picture source = RandomPicture(70, 9, rng, c.bitCount == 32);
        const Picture before = RandomPicture(64, 9, rng, c.bitCount == 32);
        const ref::Picture expected = ref::Stretch(source, before, c.call,
                                                   c.mode == HALFTONE ? ref::Mode::Halftone : ref::Mode::Delete);
        for (bool dedicated : {true, false})
            EXPECT_TRUE(expected.pixels == RunBlit(c, source, before, dedicated).picture.pixels) << dedicated;
    }
}

}  // namespace

// Picks by window permutes at ratios on both sides of their limits (a
// step's four three-byte pixels within 32 bytes, its eight four-byte pixels
// within 128; windows and stores near the row's ends), mirrored too, against
// the reference, with and without the permutes' instructions.
TEST(BlitRoutes, ShuffledPicksMatchTheReferenceAtAnyRatio) {
    std::mt19937 rng(kSeed + 2);
    for (int bitCount : {24, 32})
        for (int sourceWidth : {64, 67, 130})
            for (int destWidth : {9, 23, 31, 50, 63, 100, 131})
                for (bool mirrored : {false, true}) {
                    const ref::Call call = mirrored
                                               ? ref::Call{destWidth, 0, -destWidth, 3, 1, 0, sourceWidth - 1, 5}
                                               : ref::Call{0, 0, destWidth, 3, 1, 0, sourceWidth - 1, 5};
                    const RouteCase c{"COLORONCOLOR picks", bitCount, COLORONCOLOR, call, SRCCOPY, "", ""};
                    SCOPED_TRACE(std::to_string(bitCount) + " bits, " + std::to_string(sourceWidth) + " -> " +
                                 std::to_string(destWidth) + (mirrored ? " mirrored" : ""));
                    const Picture source = RandomPicture(sourceWidth, 5, rng, bitCount == 32);
                    const Picture before = RandomPicture(destWidth, 3, rng, bitCount == 32);
                    const ref::Picture expected = ref::Stretch(source, before, call, ref::Mode::Delete);
                    for (standin::SimdLimit limit : {standin::SimdLimit::Avx2, standin::SimdLimit::All}) {
                        standin::LimitSimd(limit);
                        EXPECT_TRUE(expected.pixels == RunBlit(c, source, before, true).picture.pixels);
                        standin::LimitSimd(standin::SimdLimit::All);
                    }
                }
}

// TransparentBlt and MaskBlt: which pixels each leaves alone, on every kind
// of source and destination, with stretching, mask offsets and the two
// raster operations of a ROP4, and the documented refusals.
#include "stretch_canvas.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using stretch_test::Canvas;
using stretch_test::Colour;
using stretch_test::Picture;
using stretch_test::PixelLayout;
using stretch_reference::Rgb;

const Colour kMagenta = Rgb(255, 0, 255), kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0),
             kBlue = Rgb(0, 0, 255), kWhite = Rgb(255, 255, 255), kBlack = Rgb(0, 0, 0);
constexpr DWORD kKeepDestination = 0x00AA0029;

Picture Row(const std::vector<Colour>& colours) {
    Picture p(static_cast<int>(colours.size()), 1);
    p.pixels = colours;
    return p;
}

struct KeyCase {
    const char* what;
    PixelLayout (*sourceLayout)();
    PixelLayout (*targetLayout)();
    std::vector<Colour> source;
    int wDest;
    COLORREF key;
    std::vector<Colour> expected;  // the destination starts blue
};

TEST(TransparentBltTest, LeavesTheKeyColourOut) {
    using namespace stretch_test;
    Colour withFourth = Rgb(10, 20, 30);
    withFourth.x = 99;
    const KeyCase cases[] = {
        {"24 bits", Rgb24, Bgrx32, {kMagenta, kRed, kMagenta}, 3, RGB(255, 0, 255), {kBlue, kRed, kBlue}},
        {"stretched twice", Rgb24, Rgb24, {kMagenta, kGreen}, 4, RGB(255, 0, 255), {kBlue, kBlue, kGreen, kGreen}},
        {"halved: the pixel under each centre", Rgb24, Rgb24, {kRed, kMagenta, kGreen, kMagenta}, 2,
         RGB(255, 0, 255), {kBlue, kBlue}},
        // 5-5-5 stores 250, 3, 252 as 31, 0, 31: the colour of the magenta pixel
        {"5-5-5 compares stored colours", Rgb555, Rgb24, {kMagenta, kRed}, 2, RGB(250, 3, 252), {kBlue, kRed}},
        // the table holds magenta exactly; a near colour is no match
        {"palette, exact entry", Palette256, Rgb24, {kMagenta, kRed}, 2, RGB(255, 0, 255), {kBlue, kRed}},
        {"palette, near colour", Palette256, Rgb24, {kMagenta, kRed}, 2, RGB(254, 0, 255), {kMagenta, kRed}},
        {"palette destination", Rgb24, Palette16, {kRed, kMagenta}, 2, RGB(255, 0, 255), {kRed, kBlue}},
        {"32 bits copy the fourth byte", Bgrx32, Bgrx32, {withFourth, kMagenta}, 2, RGB(255, 0, 255),
         {withFourth, kBlue}},
        {"high byte of the key ignored", Rgb24, Rgb24, {kMagenta, kRed}, 2, 0x01FF00FF, {kBlue, kRed}},
    };
    for (const KeyCase& c : cases) {
        const int w = static_cast<int>(c.source.size());
        Canvas from(c.sourceLayout(), w, 1), to(c.targetLayout(), c.wDest, 1);
        from.Write(Row(c.source));
        to.Write(Picture(c.wDest, 1, kBlue));
        SetStretchBltMode(to.dc(), BLACKONWHITE);  // taken as COLORONCOLOR
        ASSERT_TRUE(TransparentBlt(to.dc(), 0, 0, c.wDest, 1, from.dc(), 0, 0, w, 1, c.key)) << c.what;
        EXPECT_EQ(to.Read().pixels, c.expected) << c.what;
    }
}

TEST(TransparentBltTest, RefusesBadHandlesAndNegativeExtents) {
    Canvas from(stretch_test::Rgb24(), 2, 2), to(stretch_test::Rgb24(), 2, 2);
    struct Case {
        const char* what;
        HDC dest, source;
        int wDest, wSrc;
        DWORD error;
    } cases[] = {
        {"null destination", nullptr, from.dc(), 2, 2, ERROR_INVALID_HANDLE},
        {"null source", to.dc(), nullptr, 2, 2, ERROR_INVALID_HANDLE},
        {"negative destination width", to.dc(), from.dc(), -2, 2, ERROR_INVALID_PARAMETER},
        {"negative source width", to.dc(), from.dc(), 2, -2, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(TransparentBlt(c.dest, 2, 0, c.wDest, 2, c.source, 2, 0, c.wSrc, 2, 0)) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
        EXPECT_FALSE(GdiTransparentBlt(c.dest, 2, 0, c.wDest, 2, c.source, 2, 0, c.wSrc, 2, 0)) << c.what;
    }
    EXPECT_TRUE(TransparentBlt(to.dc(), 0, 0, 0, 2, from.dc(), 0, 0, 2, 2, 0)) << "zero width";
}

// A mask of 1 bits (white) and 0 bits (black) over a four-pixel row.
struct MaskCase {
    const char* what;
    PixelLayout (*targetLayout)();
    DWORD rop;
    int xMask;
    std::vector<Colour> expected;  // source red, green, blue, white; destination black; brush blue
};

TEST(MaskBltTest, EachMaskBitChoosesItsRasterOperation) {
    using namespace stretch_test;
    const MaskCase cases[] = {
        {"source where 1, brush where 0", Rgb24, MAKEROP4(SRCCOPY, PATCOPY), 0, {kRed, kBlue, kBlue, kBlue}},
        {"source where 1, destination kept where 0", Rgb24, MAKEROP4(SRCCOPY, kKeepDestination), 0,
         {kRed, kBlack, kBlue, kBlack}},
        {"mask read from its offset", Rgb24, MAKEROP4(SRCCOPY, kKeepDestination), 1,
         {kBlack, kGreen, kBlack, kWhite}},
        {"no source: brush where 1, inverted where 0", Rgb24, MAKEROP4(PATCOPY, DSTINVERT), 0,
         {kBlue, kWhite, kBlue, kWhite}},
        {"palette destination", Palette16, MAKEROP4(SRCCOPY, PATCOPY), 0, {kRed, kBlue, kBlue, kBlue}},
        // the source context's background colour (white) becomes 1, every other colour 0
        {"monochrome destination", Monochrome, MAKEROP4(SRCCOPY, kKeepDestination), 1,
         {kBlack, kBlack, kBlack, kWhite}},
        // inverting a 24-bit source's absent fourth byte sets it, as BitBlt does
        {"32 bits", Bgrx32, MAKEROP4(NOTSRCCOPY, SRCCOPY), 0, {{255, 255, 0, 255}, kGreen, {0, 255, 255, 255}, kWhite}},
    };
    Canvas from(Rgb24(), 4, 1), mask(Monochrome(), 5, 1);
    from.Write(Row({kRed, kGreen, kBlue, kWhite}));
    mask.Write(Row({kWhite, kBlack, kWhite, kBlack, kWhite}));
    for (const MaskCase& c : cases) {
        Canvas to(c.targetLayout(), 4, 1);
        to.Write(Picture(4, 1, kBlack));
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
        HGDIOBJ old = SelectObject(to.dc(), brush);
        EXPECT_TRUE(MaskBlt(to.dc(), 0, 0, 4, 1, from.dc(), 0, 0, mask.bitmap(), c.xMask, 0, c.rop)) << c.what;
        EXPECT_EQ(to.Read().pixels, c.expected) << c.what;
        SelectObject(to.dc(), old);
        DeleteObject(brush);
    }
}

TEST(MaskBltTest, WithoutAMaskIsBitBltWithTheForegroundOperation) {
    std::mt19937 rng(4);
    const Picture source = stretch_test::RandomPicture(9, 5, rng), target = stretch_test::RandomPicture(9, 5, rng);
    Canvas from(stretch_test::Rgb24(), 9, 5), masked(stretch_test::Rgb24(), 9, 5), plain(stretch_test::Rgb24(), 9, 5);
    from.Write(source);
    for (DWORD rop : {SRCCOPY, SRCINVERT, SRCAND, MERGECOPY, PATINVERT}) {
        masked.Write(target);
        plain.Write(target);
        ASSERT_TRUE(MaskBlt(masked.dc(), 2, 1, 9, 5, from.dc(), 1, 0, nullptr, 0, 0, MAKEROP4(rop, BLACKNESS)));
        ASSERT_TRUE(BitBlt(plain.dc(), 2, 1, 9, 5, from.dc(), 1, 0, rop));
        EXPECT_EQ(masked.Read().pixels, plain.Read().pixels) << std::hex << rop;
    }
}

TEST(MaskBltTest, RefusesWhatThePlatformRefuses) {
    Canvas from(stretch_test::Rgb24(), 4, 4), to(stretch_test::Rgb24(), 4, 4), mask(stretch_test::Monochrome(), 4, 4),
        colourMask(stretch_test::Rgb24(), 4, 4);
    struct Case {
        const char* what;
        HDC source;
        HBITMAP mask;
        int width, xMask;
        DWORD error;
    } cases[] = {
        {"colour mask", from.dc(), colourMask.bitmap(), 4, 0, ERROR_INVALID_PARAMETER},
        {"mask narrower than the rectangle", from.dc(), mask.bitmap(), 4, 1, ERROR_INVALID_PARAMETER},
        {"negative width", from.dc(), mask.bitmap(), -4, 0, ERROR_INVALID_PARAMETER},
        {"stale mask", from.dc(), reinterpret_cast<HBITMAP>(from.dc()), 4, 0, ERROR_INVALID_HANDLE},
        {"null source", nullptr, mask.bitmap(), 4, 0, ERROR_INVALID_HANDLE},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(MaskBlt(to.dc(), 0, 0, c.width, 4, c.source, 0, 0, c.mask, c.xMask, 0, MAKEROP4(SRCCOPY, PATCOPY)))
            << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    EXPECT_TRUE(MaskBlt(to.dc(), 0, 0, 4, 4, nullptr, 0, 0, mask.bitmap(), 0, 0, MAKEROP4(PATCOPY, WHITENESS)))
        << "no source needed";
}

}  // namespace

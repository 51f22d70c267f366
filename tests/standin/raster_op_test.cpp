// Ternary raster operations in BitBlt and StretchBlt: all 256 against a
// plain per-bit evaluation of the code, colour-table indices combined on
// palette bitmaps, the monochrome conversions by the contexts' text and
// background colours, and a new context's default bitmap.
#include "test_support.h"

#include <standin/testing.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Colours = std::vector<RGBQUAD>;

// A top-down DIB section selected into its own memory context, with a solid
// brush of the caller's colour (or the hollow stock brush for CLR_INVALID).
class Target {
public:
    Target(int width, int bitCount, const Colours& colors = {}, int height = 1, bool bitfields = false)
        : dib_(bitfields ? Bitfields32(width) : testing_support::MakeDib(width, -height, bitCount, colors)),
          dc_(CreateCompatibleDC(nullptr)), previous_(SelectObject(dc_, dib_.bitmap)) {}
    ~Target() {
        UseBrush(RGB(255, 255, 255));
        SelectObject(dc_, previous_);
        DeleteObject(dib_.bitmap);
        DeleteDC(dc_);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    HDC dc() const { return dc_; }
    std::uint8_t* bits() const { return dib_.bits; }
    void UseBrush(COLORREF colour) {
        HBRUSH made = colour == CLR_INVALID ? nullptr : CreateSolidBrush(colour);
        SelectObject(dc_, made != nullptr ? made : GetStockObject(NULL_BRUSH));
        if (brush_ != nullptr) DeleteObject(brush_);
        brush_ = made;
    }

private:
    // 32 bits, BI_BITFIELDS at the BI_RGB positions: BI_RGB's pixels, but
    // converted through working pixels, not in place.
    static testing_support::Dib Bitfields32(int width) {
        testing_support::BitmapInfoBuffer info = testing_support::MakeInfo(width, 1, 32, BI_BITFIELDS);
        const DWORD masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
        std::memcpy(info.colors, masks, sizeof masks);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
        return testing_support::Dib{bitmap, static_cast<std::uint8_t*>(bits), 4 * width};
    }

    testing_support::Dib dib_;
    HDC dc_;
    HGDIOBJ previous_;
    HBRUSH brush_ = nullptr;
};

// `code` applied to each of the eight bits of pattern, source and destination.
int RopByte(int code, int p, int s, int d) {
    int result = 0;
    for (int bit = 0; bit < 8; ++bit)
        result |= (code >> ((p >> bit & 1) * 4 + (s >> bit & 1) * 2 + (d >> bit & 1)) & 1) << bit;
    return result;
}

bool ReadsSource(int code) {
    for (int pd : {0x00, 0x01, 0xF0, 0xF1})
        if (RopByte(code, pd >> 4, 0, pd & 1) != RopByte(code, pd >> 4, 0xFF, pd & 1)) return true;
    return false;
}

TEST(RasterOps, Every256OperationMatchesItsTruthTableAtEveryDepth) {
    std::mt19937 rng(20261208);
    Colours palette(256);  // distinct colours
    for (int i = 0; i < 256; ++i) palette[i] = RGBQUAD{BYTE(i * 7), BYTE(255 - i), BYTE(i), 0};
    const struct {
        int bitCount;
        Colours colours;
        bool bitfields;
    } formats[] = {{1, {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}}, false},
                   {4, Colours(palette.begin(), palette.begin() + 16), false},
                   {8, palette, false}, {16, {}, false}, {24, {}, false}, {32, {}, false}, {32, {}, true}};
    // Wide enough for several vector steps and a tail, with and without
    // the wider vector instructions.
    constexpr int kWidth = 40;
    for (standin::SimdLimit limit : {standin::SimdLimit::All, standin::SimdLimit::Portable})
    for (const auto& format : formats) {
        standin::LimitSimd(limit);
        const int rowBytes = kWidth * format.bitCount / 8, pixelBytes = std::max(1, format.bitCount / 8);
        // Bits outside the colour channels (the top bit of 5-5-5, the fourth
        // byte under masks) are no part of a colour: converted sources lack them.
        const std::uint32_t sourceMask = format.bitCount == 16 ? 0x7FFF : format.bitfields ? 0xFFFFFF : ~0u;
        for (int code = 0; code < 256; ++code) {
            SCOPED_TRACE(std::to_string(format.bitCount) + (format.bitfields ? " bits (masks)" : " bits") +
                         ", code " + std::to_string(code) + ", SIMD limit " + std::to_string(int(limit)));
            Target source(kWidth, format.bitCount, format.colours, 1, format.bitfields);
            Target dest(kWidth, format.bitCount, format.colours, 1, format.bitfields);
            std::vector<int> s(rowBytes), d(rowBytes), p(rowBytes);
            for (int i = 0; i < rowBytes; ++i) {
                s[i] = source.bits()[i] = BYTE(rng() & (sourceMask >> (i % pixelBytes * 8)));
                d[i] = dest.bits()[i] = BYTE(rng());
            }
            // The brush: a colour the destination stores exactly, and its bytes.
            const std::uint32_t index = format.bitCount <= 8 ? rng() % format.colours.size() : 0;
            const RGBQUAD c = format.bitCount <= 8 ? format.colours[index]
                                                   : RGBQUAD{BYTE(rng()), BYTE(rng()), BYTE(rng()), 0};
            std::uint32_t value = c.rgbBlue | c.rgbGreen << 8 | c.rgbRed << 16;
            if (format.bitCount <= 8) value = index * (format.bitCount == 1 ? 0xFF : format.bitCount == 4 ? 0x11 : 1);
            if (format.bitCount == 16) value = (c.rgbRed >> 3) << 10 | (c.rgbGreen >> 3) << 5 | c.rgbBlue >> 3;
            for (int i = 0; i < rowBytes; ++i) p[i] = BYTE(value >> (i % pixelBytes * 8));
            dest.UseBrush(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
            ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, kWidth, 1, ReadsSource(code) ? source.dc() : nullptr, 0, 0,
                               DWORD(code) << 16));
            for (int i = 0; i < rowBytes; ++i)
                ASSERT_EQ(int(dest.bits()[i]), RopByte(code, p[i], s[i], d[i])) << "byte " << i;
        }
        standin::LimitSimd(standin::SimdLimit::All);
    }
}

// Palette destinations combine indices: the source colour and the brush
// become their nearest entries first. Entry i is grey 255 - i, so combining
// the greys themselves would give other results.
TEST(RasterOps, PaletteDestinationsCombineIndices) {
    Colours greys(256);
    for (int i = 0; i < 256; ++i) greys[i] = RGBQUAD{BYTE(255 - i), BYTE(255 - i), BYTE(255 - i), 0};
    const COLORREF nearGrey = RGB(244, 243, 242);  // nearest entry 0x0C, as the source's grey 243
    const struct {
        const char* name;
        DWORD rop;
        COLORREF brush;
        int expected;  // the destination holds entry 0x0A
    } cases[] = {
        {"SRCAND", SRCAND, 0, 0x08},         {"SRCPAINT", SRCPAINT, 0, 0x0E},
        {"SRCINVERT", SRCINVERT, 0, 0x06},   {"SRCERASE", SRCERASE, 0, 0x04},
        {"NOTSRCCOPY", NOTSRCCOPY, 0, 0xF3}, {"NOTSRCERASE", NOTSRCERASE, 0, 0xF1},
        {"DSTINVERT", DSTINVERT, 0, 0xF5},   {"PATCOPY", PATCOPY, nearGrey, 0x0C},
        {"PATINVERT", PATINVERT, nearGrey, 0x06}, {"MERGECOPY", MERGECOPY, RGB(0xF8, 0xF8, 0xF8), 0x04},
        {"MERGEPAINT", MERGEPAINT, 0, 0xFB}, {"PATPAINT", PATPAINT, RGB(0xFF, 0xFF, 0xFF), 0xFB},
        {"BLACKNESS", BLACKNESS, 0, 0x00},   {"WHITENESS", WHITENESS, 0, 0xFF},
        {"SRCCOPY", SRCCOPY, 0, 0x0C},       {"hollow brush PATCOPY", PATCOPY, CLR_INVALID, 0x0A},
        {"hollow brush MERGECOPY", MERGECOPY, CLR_INVALID, 0x0A},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Target source(4, 24), dest(4, 8, greys);
        std::fill(source.bits(), source.bits() + 12, 243);
        std::fill(dest.bits(), dest.bits() + 4, 0x0A);
        dest.UseBrush(c.brush);
        SetStretchBltMode(dest.dc(), HALFTONE);
        // Stretched, so both entry points are covered: 2 -> 4 replicates.
        ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 1, source.dc(), 0, 0, 2, 1, c.rop));
        for (int x = 0; x < 4; ++x) EXPECT_EQ(int(dest.bits()[x]), c.expected) << "pixel " << x;
    }
}

// Colour to monochrome: pixels of the source context's background colour
// become 1, all others 0. Monochrome to colour: 0 bits take the destination
// context's text colour, 1 bits its background colour. A two-colour bitmap
// that is not black and white keeps its own colours; monochrome to
// monochrome copies the bits.
TEST(RasterOps, MonochromeConvertsByTextAndBackgroundColours) {
    const Colours mono = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    const Colours redBlue = {RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}};
    const COLORREF key = RGB(10, 20, 30), text = RGB(200, 0, 0), back = RGB(0, 0, 200);
    const COLORREF row[4] = {key, RGB(255, 255, 255), RGB(10, 20, 31), key};
    Target colour(4, 24), bits(4, 1, mono), monoSource(4, 1, mono), redBlueSource(4, 1, redBlue);
    for (int x = 0; x < 12; ++x) colour.bits()[x] = BYTE(row[x / 3] >> (16 - 8 * (x % 3)));
    monoSource.bits()[0] = redBlueSource.bits()[0] = 0x90;
    auto highNibble = [&](HDC from, DWORD rop) {
        EXPECT_TRUE(BitBlt(bits.dc(), 0, 0, 4, 1, from, 0, 0, rop));
        return bits.bits()[0] >> 4;
    };
    EXPECT_EQ(highNibble(colour.dc(), SRCCOPY), 0x4) << "only white matches the default background";
    SetBkColor(colour.dc(), key);
    EXPECT_EQ(highNibble(colour.dc(), SRCCOPY), 0x9);
    EXPECT_EQ(highNibble(colour.dc(), NOTSRCCOPY), 0x6);
    SetTextColor(bits.dc(), RGB(255, 255, 255));
    EXPECT_EQ(highNibble(monoSource.dc(), SRCCOPY), 0x9);

    const struct {
        const char* name;
        HDC from;
        COLORREF zero, one;
    } sources[] = {{"monochrome", monoSource.dc(), text, back},
                   {"red and blue", redBlueSource.dc(), RGB(255, 0, 0), RGB(0, 0, 255)}};
    for (const auto& c : sources) {
        SCOPED_TRACE(c.name);
        Target dest(4, 24);
        SetTextColor(dest.dc(), text);
        SetBkColor(dest.dc(), back);
        ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 1, c.from, 0, 0, 4, 1, SRCCOPY));
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t* px = dest.bits() + 3 * x;
            EXPECT_EQ(RGB(px[2], px[1], px[0]), x % 3 == 0 ? c.one : c.zero) << "pixel " << x;
        }
    }
}

// A new context's 1 x 1 monochrome bitmap blits like any other; each context
// has a pixel of its own behind the shared stock handle.
TEST(RasterOps, NewContextsDrawOnTheirOwnDefaultPixel) {
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    Target white(1, 24), readBack(1, 24);
    std::fill(white.bits(), white.bits() + 3, 0xFF);
    auto shows = [&](HDC from) {
        readBack.bits()[0] = 0x55;
        EXPECT_TRUE(BitBlt(readBack.dc(), 0, 0, 1, 1, from, 0, 0, SRCCOPY));
        return int(readBack.bits()[0]);
    };
    EXPECT_EQ(shows(a), 0x00) << "starts black";
    ASSERT_TRUE(BitBlt(a, 0, 0, 1, 1, white.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(shows(a), 0xFF);
    EXPECT_EQ(shows(b), 0x00) << "the other context's pixel is its own";
    EXPECT_TRUE(DeleteObject(GetCurrentObject(a, OBJ_BITMAP))) << "stock: deleting does nothing";
    ASSERT_TRUE(StretchBlt(a, 0, 0, 1, 1, nullptr, 0, 0, 0, 0, DSTINVERT));
    EXPECT_EQ(shows(a), 0x00);
    ASSERT_TRUE(BitBlt(b, 0, 0, 1, 1, nullptr, 0, 0, PATCOPY)) << "the default brush is white";
    EXPECT_EQ(shows(b), 0xFF);
    DeleteDC(a);
    DeleteDC(b);
}

// One bitmap as source and destination: every pixel combines with the
// source pixel as it was before the call, whichever way the rectangle moves.
TEST(RasterOps, OverlappingSourceAndDestinationReadTheOriginal) {
    std::mt19937 rng(7);
    constexpr int kW = 6, kH = 4, kX = 1, kY = 1, kCopyW = kW - 3, kCopyH = kH - 2;
    const BYTE brush[4] = {0x3C, 0xF0, 0x0F, 0};  // blue, green, red as stored
    for (int bpp : {3, 4}) {
        const int stride = (bpp * kW + 3) / 4 * 4;
        for (DWORD rop : {SRCINVERT, DWORD{0x00E20746}}) {
            for (const POINT shift : {POINT{1, 0}, POINT{-1, 0}, POINT{0, 1}, POINT{0, -1}, POINT{2, -1}}) {
                SCOPED_TRACE(std::to_string(8 * bpp) + " bits, rop " + std::to_string(rop) + ", shift (" +
                             std::to_string(shift.x) + ", " + std::to_string(shift.y) + ")");
                Target canvas(kW, 8 * bpp, {}, kH);
                std::vector<std::uint8_t> before(std::size_t(stride) * kH);
                for (auto& b : before) b = BYTE(rng());
                std::memcpy(canvas.bits(), before.data(), before.size());
                canvas.UseBrush(RGB(brush[2], brush[1], brush[0]));
                ASSERT_TRUE(BitBlt(canvas.dc(), kX + shift.x, kY + shift.y, kCopyW, kCopyH, canvas.dc(), kX, kY, rop));
                std::vector<std::uint8_t> expected = before;
                for (int y = 0; y < kCopyH; ++y)
                    for (int i = 0; i < kCopyW * bpp; ++i) {
                        const int to = (kY + shift.y + y) * stride + (kX + shift.x) * bpp + i;
                        const int from = (kY + y) * stride + kX * bpp + i;
                        expected[to] = BYTE(RopByte(int(rop >> 16 & 0xFF), brush[i % bpp], before[from], before[to]));
                    }
                EXPECT_EQ(std::vector<std::uint8_t>(canvas.bits(), canvas.bits() + before.size()), expected);
            }
        }
    }
}

}  // namespace

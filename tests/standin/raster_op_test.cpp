// Ternary raster operations in BitBlt and StretchBlt: all 256 against a
// plain per-bit evaluation of the code, the combination of colour-table
// indices on palette bitmaps, and the monochrome conversions by the
// contexts' text and background colours.
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using testing_support::Dib;
using testing_support::MakeDib;

namespace {

// A DIB section selected into its own memory context.
class Target {
public:
    Target(int width, int bitCount, const std::vector<RGBQUAD>& colors = {}, bool bitfields = false,
           int height = 1)
        : dib_(bitfields ? MakeBitfields(width) : MakeDib(width, -height, bitCount, colors)),
          dc_(CreateCompatibleDC(nullptr)) {
        previous_ = SelectObject(dc_, dib_.bitmap);
    }
    ~Target() {
        SelectObject(dc_, previous_);
        DeleteObject(dib_.bitmap);
        DeleteDC(dc_);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    HDC dc() const { return dc_; }
    std::uint8_t* bits() const { return dib_.bits; }

private:
    // 32 bits, BI_BITFIELDS at the BI_RGB positions: the same pixels as
    // BI_RGB but converted through working pixels, not in place.
    static Dib MakeBitfields(int width) {
        testing_support::InfoBuffer info = testing_support::MakeInfo(width, 1, 32, BI_BITFIELDS);
        const DWORD masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
        std::memcpy(info.colors, masks, sizeof masks);
        Dib dib;
        void* bits = nullptr;
        dib.bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
        dib.bits = static_cast<std::uint8_t*>(bits);
        return dib;
    }

    Dib dib_;
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};

// Result of `code` for one bit of pattern, source and destination.
bool RopBit(int code, bool p, bool s, bool d) { return (code >> (p * 4 + s * 2 + d)) & 1; }

bool ReadsSource(int code) {
    for (int p = 0; p < 2; ++p)
        for (int d = 0; d < 2; ++d)
            if (RopBit(code, p, false, d) != RopBit(code, p, true, d)) return true;
    return false;
}

std::vector<RGBQUAD> DistinctColours() {
    std::vector<RGBQUAD> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] = RGBQUAD{BYTE((i * 7) & 255), BYTE(255 - i), BYTE(i), 0};
    return colours;
}

TEST(RasterOps, Every256OperationMatchesItsTruthTableAtEveryDepth) {
    std::mt19937 rng(20261208);
    const std::vector<RGBQUAD> palette = DistinctColours();
    const struct {
        int bitCount;
        std::vector<RGBQUAD> colours;
        bool bitfields;
    } formats[] = {{1, {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}}, false},
                   {4, std::vector<RGBQUAD>(palette.begin(), palette.begin() + 16), false},
                   {8, palette, false},
                   {16, {}, false},
                   {24, {}, false},
                   {32, {}, false},
                   {32, {}, true}};
    constexpr int kWidth = 16;
    for (const auto& format : formats) {
        const int rowBytes = kWidth * format.bitCount / 8;
        const int pixelBytes = std::max(1, format.bitCount / 8);
        for (int code = 0; code < 256; ++code) {
            SCOPED_TRACE(std::to_string(format.bitCount) + (format.bitfields ? " bits (masks)" : " bits") +
                         ", code " + std::to_string(code));
            Target source(kWidth, format.bitCount, format.colours, format.bitfields);
            Target dest(kWidth, format.bitCount, format.colours, format.bitfields);
            std::vector<std::uint8_t> s(rowBytes), d(rowBytes), p(rowBytes);
            // Bits outside a format's colour channels (the top bit of 5-5-5,
            // the fourth byte under masks) are no part of the source's colour,
            // so its converted value never has them.
            const std::uint32_t sourceMask = format.bitCount == 16 ? 0x7FFF : format.bitfields ? 0xFFFFFF : ~0u;
            for (int i = 0; i < rowBytes; ++i)
                s[i] = source.bits()[i] = BYTE(rng() & (sourceMask >> (i % pixelBytes * 8)));
            for (int i = 0; i < rowBytes; ++i) d[i] = dest.bits()[i] = BYTE(rng());
            // The brush: a colour the destination stores exactly, as its bytes.
            COLORREF brush;
            if (format.bitCount == 1) {
                const bool white = rng() & 1;
                brush = white ? RGB(255, 255, 255) : RGB(0, 0, 0);
                std::fill(p.begin(), p.end(), white ? 0xFF : 0x00);
            } else if (format.bitCount <= 8) {
                const int index = int(rng() % format.colours.size());
                const RGBQUAD c = palette[index];
                brush = RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
                std::fill(p.begin(), p.end(), BYTE(format.bitCount == 4 ? index * 0x11 : index));
            } else if (format.bitCount == 16) {
                brush = RGB(BYTE(rng()), BYTE(rng()), BYTE(rng()));
                const int value = (GetRValue(brush) >> 3) << 10 | (GetGValue(brush) >> 3) << 5 | GetBValue(brush) >> 3;
                for (int i = 0; i < rowBytes; ++i) p[i] = BYTE(i % 2 ? value >> 8 : value);
            } else {
                brush = RGB(BYTE(rng()), BYTE(rng()), BYTE(rng()));
                const BYTE bytes[4] = {GetBValue(brush), GetGValue(brush), GetRValue(brush), 0};
                for (int i = 0; i < rowBytes; ++i) p[i] = bytes[i % pixelBytes];
            }
            HBRUSH solid = CreateSolidBrush(brush);
            HGDIOBJ old = SelectObject(dest.dc(), solid);
            const DWORD rop = DWORD(code) << 16;
            ASSERT_TRUE(BitBlt(dest.dc(), 0, 0, kWidth, 1, ReadsSource(code) ? source.dc() : nullptr, 0, 0, rop));
            for (int i = 0; i < rowBytes; ++i) {
                int expected = 0;
                for (int bit = 0; bit < 8; ++bit)
                    expected |= RopBit(code, p[i] >> bit & 1, s[i] >> bit & 1, d[i] >> bit & 1) << bit;
                ASSERT_EQ(int(dest.bits()[i]), expected) << "byte " << i;
            }
            SelectObject(dest.dc(), old);
            DeleteObject(solid);
        }
    }
}

// Palette destinations combine indices: the source colour becomes its nearest
// entry first, the brush too. Entry i is grey 255 - i, so combining the
// greys themselves would give other results.
TEST(RasterOps, PaletteDestinationsCombineIndices) {
    std::vector<RGBQUAD> greys(256);
    for (int i = 0; i < 256; ++i) greys[i] = RGBQUAD{BYTE(255 - i), BYTE(255 - i), BYTE(255 - i), 0};
    const COLORREF sourceGrey = RGB(243, 243, 243);  // entry 0x0C
    const COLORREF nearGrey = RGB(244, 243, 242);    // nearest entry 0x0C too
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
        {"SRCCOPY", SRCCOPY, 0, 0x0C},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Target source(4, 24);
        Target dest(4, 8, greys);
        for (int x = 0; x < 4; ++x) {
            source.bits()[3 * x] = source.bits()[3 * x + 1] = source.bits()[3 * x + 2] = GetRValue(sourceGrey);
            dest.bits()[x] = 0x0A;
        }
        HBRUSH brush = CreateSolidBrush(c.brush);
        HGDIOBJ old = SelectObject(dest.dc(), brush);
        SetStretchBltMode(dest.dc(), HALFTONE);
        // Stretched, so both entry points are covered: 2 -> 4 replicates.
        ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 1, source.dc(), 0, 0, 2, 1, c.rop));
        for (int x = 0; x < 4; ++x) EXPECT_EQ(int(dest.bits()[x]), c.expected) << "pixel " << x;
        SelectObject(dest.dc(), old);
        DeleteObject(brush);
    }
}

TEST(RasterOps, HollowBrushPaintsNothing) {
    Target dest(4, 24);
    for (int i = 0; i < 12; ++i) dest.bits()[i] = BYTE(i);
    SelectObject(dest.dc(), GetStockObject(NULL_BRUSH));
    for (DWORD rop : {PATCOPY, PATINVERT, MERGECOPY}) {
        Target source(4, 24);
        EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 4, 1, source.dc(), 0, 0, rop));
        for (int i = 0; i < 12; ++i) EXPECT_EQ(dest.bits()[i], BYTE(i)) << rop;
    }
}

// Colour to monochrome: pixels of the source context's background colour
// become 1, all others 0. Monochrome to colour: 0 bits take the destination
// context's text colour, 1 bits its background colour. A two-colour bitmap
// that is not black and white keeps its own colours.
TEST(RasterOps, MonochromeConvertsByTextAndBackgroundColours) {
    const std::vector<RGBQUAD> mono = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    const std::vector<RGBQUAD> redBlue = {RGBQUAD{0, 0, 255, 0}, RGBQUAD{255, 0, 0, 0}};
    const COLORREF key = RGB(10, 20, 30), text = RGB(200, 0, 0), back = RGB(0, 0, 200);
    const COLORREF row[4] = {key, RGB(255, 255, 255), RGB(10, 20, 31), key};
    Target colour(4, 24);
    for (int x = 0; x < 4; ++x) {
        colour.bits()[3 * x] = GetBValue(row[x]);
        colour.bits()[3 * x + 1] = GetGValue(row[x]);
        colour.bits()[3 * x + 2] = GetRValue(row[x]);
    }
    // Colour to monochrome, with the default (white) and a set background.
    Target bits(4, 1, mono);
    ASSERT_TRUE(BitBlt(bits.dc(), 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(bits.bits()[0] >> 4, 0x4) << "only white matches the default background";
    SetBkColor(colour.dc(), key);
    ASSERT_TRUE(BitBlt(bits.dc(), 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(bits.bits()[0] >> 4, 0x9);
    ASSERT_TRUE(BitBlt(bits.dc(), 0, 0, 4, 1, colour.dc(), 0, 0, NOTSRCCOPY));
    EXPECT_EQ(bits.bits()[0] >> 4, 0x6);

    // Monochrome (1001) to colour, and a red-and-blue bitmap of the same bits.
    const struct {
        const char* name;
        const std::vector<RGBQUAD>& table;
        COLORREF zero, one;
    } sources[] = {{"monochrome", mono, text, back}, {"red and blue", redBlue, RGB(255, 0, 0), RGB(0, 0, 255)}};
    for (const auto& from : sources) {
        SCOPED_TRACE(from.name);
        Target source(4, 1, from.table);
        source.bits()[0] = 0x90;
        Target dest(4, 24);
        SetTextColor(dest.dc(), text);
        SetBkColor(dest.dc(), back);
        SetStretchBltMode(dest.dc(), COLORONCOLOR);
        ASSERT_TRUE(StretchBlt(dest.dc(), 0, 0, 4, 1, source.dc(), 0, 0, 4, 1, SRCCOPY));
        for (int x = 0; x < 4; ++x) {
            const COLORREF expected = (x == 0 || x == 3) ? from.one : from.zero;
            const std::uint8_t* px = dest.bits() + 3 * x;
            EXPECT_EQ(RGB(px[2], px[1], px[0]), expected) << "pixel " << x;
        }
    }
    // Monochrome to monochrome copies the bits, whatever the colours.
    Target source(4, 1, mono);
    source.bits()[0] = 0x50;
    SetTextColor(bits.dc(), RGB(255, 255, 255));
    ASSERT_TRUE(BitBlt(bits.dc(), 0, 0, 4, 1, source.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(bits.bits()[0] >> 4, 0x5);
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
    constexpr int kW = 6, kH = 4, kStride = 3 * kW + 2;  // rows padded to 4 bytes
    for (int bitCount : {24, 32}) {
        const int bpp = bitCount / 8, stride = bitCount == 24 ? kStride : 4 * kW;
        for (DWORD rop : {SRCINVERT, DWORD{0x00E20746}}) {
            for (const POINT shift : {POINT{1, 0}, POINT{-1, 0}, POINT{0, 1}, POINT{0, -1}, POINT{2, -1}}) {
                SCOPED_TRACE(std::to_string(bitCount) + " bits, rop " + std::to_string(rop) + ", shift (" +
                             std::to_string(shift.x) + ", " + std::to_string(shift.y) + ")");
                Target canvas(kW, bitCount, {}, false, kH);
                std::vector<std::uint8_t> before(std::size_t(stride) * kH);
                for (auto& b : before) b = BYTE(rng());
                std::memcpy(canvas.bits(), before.data(), before.size());
                HBRUSH brush = CreateSolidBrush(RGB(0x0F, 0xF0, 0x3C));
                HGDIOBJ old = SelectObject(canvas.dc(), brush);
                const BYTE p[4] = {0x3C, 0xF0, 0x0F, 0};
                // The destination rectangle at `shift` from the source one at (1, 1).
                const int w = kW - 3, h = kH - 2;
                ASSERT_TRUE(BitBlt(canvas.dc(), 1 + shift.x, 1 + shift.y, w, h, canvas.dc(), 1, 1, rop));
                std::vector<std::uint8_t> expected = before;
                for (int y = 0; y < h; ++y)
                    for (int i = 0; i < w * bpp; ++i) {
                        const std::size_t at = std::size_t((1 + shift.y + y) * stride + (1 + shift.x) * bpp + i);
                        const int s = before[std::size_t((1 + y) * stride + bpp + i)], d = before[at];
                        int r = 0;
                        for (int bit = 0; bit < 8; ++bit)
                            r |= RopBit(int(rop >> 16 & 0xFF), p[i % bpp] >> bit & 1, s >> bit & 1, d >> bit & 1) << bit;
                        expected[at] = BYTE(r);
                    }
                EXPECT_EQ(std::vector<std::uint8_t>(canvas.bits(), canvas.bits() + before.size()), expected);
                SelectObject(canvas.dc(), old);
                DeleteObject(brush);
            }
        }
    }
}

}  // namespace

// StretchDIBits and SetDIBitsToDevice: a caller's bits drawn as StretchBlt
// draws a DIB section holding the same bits, in every stretching mode and
// raster operation; the DIB's own origin and mirroring; colour tables of
// either kind; run-length streams; bands of scan lines; refusals.
#include "resource_guard.h"
#include "stretch_canvas.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace stretch_test;
using testing_support::BitmapInfoBuffer;
using testing_support::MakeInfo;
using testing_support::ResourceGuard;
namespace ref = stretch_reference;

namespace {

// A picture the layout stores exactly.
ref::Picture PictureFor(const PixelLayout& layout, int width, int height, std::mt19937& rng) {
    ref::Picture picture(width, height);
    for (ref::Colour& c : picture.pixels) {
        if (!layout.palette.empty()) {
            c = layout.palette[rng() % layout.palette.size()];
            continue;
        }
        do c = RandomPicture(1, 1, rng, layout.bitCount == 32 && !layout.bitfields).at(0, 0);
        while (!Representable(layout, c));
    }
    return picture;
}

// The origin, as the DIB counts it, of the rectangle StretchBlt takes from
// the top: from the bottom when bottom-up, where a negative extent starts
// at its lowest row.
int DibOrigin(int height, bool topDown, int ySrc, int hSrc) {
    return topDown ? ySrc : height - ySrc - hSrc - (hSrc < 0 ? 2 : 0);
}

// Draws with StretchBlt from `source` and with StretchDIBits from a copy of
// its bits onto two like canvases; expects the same bytes.
void ExpectSameAsStretchBlt(const Canvas& source, bool topDown, const PixelLayout& to, const ref::Call& c, int mode,
                            DWORD rop, std::mt19937& rng) {
    BitmapInfoBuffer info = source.Info();
    const std::vector<std::uint8_t> bits = source.RawBytes();
    const ref::Picture before = PictureFor(to, 9, 6, rng);
    Canvas viaBlt(to, 9, 6), viaDib(to, 9, 6);
    HBRUSH brush = CreateSolidBrush(RGB(0x5A, 0xC3, 0x17));
    for (Canvas* canvas : {&viaBlt, &viaDib}) {
        canvas->Write(before);
        SetStretchBltMode(canvas->dc(), mode);
        SelectObject(canvas->dc(), brush);
    }
    ASSERT_TRUE(StretchBlt(viaBlt.dc(), c.xDest, c.yDest, c.wDest, c.hDest, source.dc(), c.xSrc, c.ySrc, c.wSrc,
                           c.hSrc, rop));
    const int lines = StretchDIBits(viaDib.dc(), c.xDest, c.yDest, c.wDest, c.hDest, c.xSrc,
                                    DibOrigin(source.height(), topDown, c.ySrc, c.hSrc), c.wSrc, c.hSrc, bits.data(),
                                    info.info(), DIB_RGB_COLORS, rop);
    EXPECT_EQ(lines, (c.hSrc < 0) != (c.hDest < 0) ? -std::abs(c.hSrc) : std::abs(c.hSrc));
    EXPECT_EQ(viaDib.RawBytes(), viaBlt.RawBytes());
    for (Canvas* canvas : {&viaBlt, &viaDib}) SelectObject(canvas->dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(StretchDIBits, DrawsAsStretchBltDrawsTheSameBits) {
    ResourceGuard guard;
    std::mt19937 rng(181);
    // Source 7 x 5 onto 9 x 6: one to one, a part, enlarged, reduced, mirrored
    // either way (from inside and from outside) and reaching past either edge.
    const ref::Call calls[] = {{1, 1, 7, 5, 0, 0, 7, 5}, {0, 0, 3, 2, 2, 1, 3, 2},   {0, 0, 9, 6, 1, 1, 4, 3},
                               {1, 1, 3, 2, 0, 0, 7, 5}, {8, 0, -8, 5, 0, 0, 7, 5},  {0, 0, 7, 5, 0, 4, 7, -5},
                               {0, 0, 7, 5, 0, 5, 7, -5}, {0, 0, 9, 6, -2, -1, 9, 6}, {-3, 2, 9, 6, 0, 0, 7, 5}};
    for (const PixelLayout& from : {Monochrome(), Palette16(), Palette256(), Rgb555(), Rgb565(), Rgb24(), Bgrx32()})
        for (const PixelLayout& to : {Bgrx32(), Palette256()})
            for (bool topDown : {false, true})
                for (const ref::Call& c : calls)
                    for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE}) {
                        SCOPED_TRACE(from.name + " onto " + to.name + (topDown ? " top-down, call " : ", call ") +
                                     std::to_string(&c - calls) + ", mode " + std::to_string(mode));
                        Canvas source(from, 7, 5, topDown);
                        source.Write(PictureFor(from, 7, 5, rng));
                        ExpectSameAsStretchBlt(source, topDown, to, c, mode, SRCCOPY, rng);
                    }
    // Every raster operation, the brush among the operands.
    for (bool topDown : {false, true}) {
        Canvas source(Rgb24(), 7, 5, topDown);
        source.Write(PictureFor(Rgb24(), 7, 5, rng));
        for (DWORD code = 0; code < 256; ++code) {
            SCOPED_TRACE("raster operation " + std::to_string(code));
            ExpectSameAsStretchBlt(source, topDown, Bgrx32(), {1, 0, 8, 6, 1, 0, 5, 3}, COLORONCOLOR, code << 16, rng);
        }
    }
}

// From the last row of either kind of DIB a negative extent takes the whole
// picture upside down; one row high, just its start row.
TEST(StretchDIBits, MirrorsFromTheStartRowOfANegativeExtent) {
    ResourceGuard guard;
    std::mt19937 rng(185);
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        Canvas source(Rgb24(), 3, 4, topDown), dest(Rgb24(), 3, 4);
        const ref::Picture picture = PictureFor(Rgb24(), 3, 4, rng);
        source.Write(picture);
        BitmapInfoBuffer info = source.Info();
        const std::vector<std::uint8_t> bits = source.RawBytes();
        EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 3, 4, 0, 3, 3, -4, bits.data(), info.info(), DIB_RGB_COLORS, SRCCOPY), -4);
        for (int y = 0; y < 4; ++y) EXPECT_EQ(dest.Read().at(1, y), picture.at(1, 3 - y)) << y;
        StretchDIBits(dest.dc(), 0, 0, 3, 1, 0, 1, 3, -1, bits.data(), info.info(), DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ(dest.Read().at(2, 0), picture.at(2, topDown ? 1 : 2)) << "row 1 of the DIB";
    }
}

TEST(StretchDIBits, ReadsBitfieldsPaletteIndicesAndItsTargetsOwnBits) {
    ResourceGuard guard;
    Canvas dest(Bgrx32(), 2, 1);
    BitmapInfoBuffer fields = MakeInfo(2, 1, 16, BI_BITFIELDS);
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(fields.colors, masks, sizeof masks);
    const WORD pixels565[2] = {0xF800, 0x07E0};
    EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 2, 1, 0, 0, 2, 1, pixels565, fields.info(), DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(dest.Read().at(1, 0), ref::Rgb(0, 255, 0));
    // DIB_PAL_COLORS: entries index the context's palette.
    const WORD head[2] = {0x300, 3};
    const PALETTEENTRY entries[3] = {{10, 20, 30, 0}, {0, 0, 0, 0}, {70, 80, 90, 0}};
    std::vector<std::uint8_t> block(sizeof head + sizeof entries);
    std::memcpy(block.data(), head, sizeof head);
    std::memcpy(block.data() + sizeof head, entries, sizeof entries);
    HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(block.data()));
    HPALETTE old = SelectPalette(dest.dc(), palette, FALSE);
    BitmapInfoBuffer indexed = MakeInfo(2, 1, 8);
    const WORD indices[2] = {2, 0};
    std::memcpy(indexed.colors, indices, sizeof indices);
    const BYTE pixels8[4] = {0, 1, 0, 0};
    EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 2, 1, 0, 0, 2, 1, pixels8, indexed.info(), DIB_PAL_COLORS, SRCCOPY), 1);
    EXPECT_EQ(dest.Read().at(0, 0), ref::Rgb(70, 80, 90));
    EXPECT_EQ(dest.Read().at(1, 0), ref::Rgb(10, 20, 30));
    SelectPalette(dest.dc(), old, FALSE);
    DeleteObject(palette);

    // A section's own bits onto itself, moved by one: the rows overlap.
    std::mt19937 rng(183);
    Canvas canvas(Rgb24(), 6, 6), copy(Rgb24(), 6, 6);
    const ref::Picture picture = PictureFor(Rgb24(), 6, 6, rng);
    canvas.Write(picture);
    copy.Write(picture);
    BitmapInfoBuffer info = canvas.Info();
    const std::vector<std::uint8_t> aside = canvas.RawBytes();
    DIBSECTION ds;
    GetObjectA(canvas.bitmap(), sizeof ds, &ds);
    StretchDIBits(canvas.dc(), 1, 1, 5, 5, 0, 1, 5, 5, ds.dsBm.bmBits, info.info(), DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(copy.dc(), 1, 1, 5, 5, 0, 1, 5, 5, aside.data(), info.info(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(canvas.RawBytes(), copy.RawBytes());
}

// 4 x 2 run-length streams, bottom row first: a run, an end of line, four
// literal pixels; drawn as a section holding the decoded pixels draws.
TEST(StretchDIBits, DecodesRunLengthSources) {
    ResourceGuard guard;
    const PixelLayout palette = Palette16();
    const struct {
        int bitCount;
        DWORD compression;
        std::vector<BYTE> stream;
        int top[4], bottom[4];
    } cases[] = {{8, BI_RLE8, {4, 1, 0, 0, 0, 4, 0, 1, 2, 3, 0, 1}, {0, 1, 2, 3}, {1, 1, 1, 1}},
                 {4, BI_RLE4, {4, 0x12, 0, 0, 0, 4, 0x30, 0x12, 0, 1}, {3, 0, 1, 2}, {1, 2, 1, 2}}};
    for (const auto& c : cases) {
        BitmapInfoBuffer info = MakeInfo(4, 2, c.bitCount, c.compression);
        info.header.biSizeImage = static_cast<DWORD>(c.stream.size());
        for (std::size_t i = 0; i < palette.palette.size(); ++i)
            info.colors[i] = RGBQUAD{palette.palette[i].b, palette.palette[i].g, palette.palette[i].r, 0};
        ref::Picture picture(4, 2);
        for (int x = 0; x < 4; ++x) {
            picture.at(x, 0) = palette.palette[static_cast<std::size_t>(c.top[x])];
            picture.at(x, 1) = palette.palette[static_cast<std::size_t>(c.bottom[x])];
        }
        Canvas decoded(palette, 4, 2);
        decoded.Write(picture);
        for (int mode : {BLACKONWHITE, HALFTONE}) {
            Canvas viaBlt(Bgrx32(), 9, 5), viaDib(Bgrx32(), 9, 5);
            SetStretchBltMode(viaBlt.dc(), mode);
            SetStretchBltMode(viaDib.dc(), mode);
            StretchBlt(viaBlt.dc(), 0, 0, 9, 5, decoded.dc(), 0, 0, 4, 2, SRCCOPY);
            EXPECT_EQ(StretchDIBits(viaDib.dc(), 0, 0, 9, 5, 0, 0, 4, 2, c.stream.data(), info.info(), DIB_RGB_COLORS,
                                    SRCCOPY),
                      2);
            EXPECT_EQ(viaDib.RawBytes(), viaBlt.RawBytes()) << c.bitCount << " bits, mode " << mode;
        }
        // SetDIBitsToDevice of scan line 1 (the top row) from the whole stream.
        Canvas banded(Bgrx32(), 4, 2);
        EXPECT_EQ(SetDIBitsToDevice(banded.dc(), 0, 0, 4, 2, 0, 0, 1, 1, c.stream.data(), info.info(), DIB_RGB_COLORS), 1);
        EXPECT_EQ(banded.Read().at(3, 0), picture.at(3, 0));
        EXPECT_EQ(banded.Read().at(3, 1), ref::Colour{}) << "scan line 0 not given";
    }
    BitmapInfoBuffer info = MakeInfo(4, 2, 8, BI_RLE8);
    const BYTE leaves[] = {0, 2, 9, 9, 4, 1, 0, 1};  // a move nine rows up
    info.header.biSizeImage = sizeof leaves;
    Canvas dest(Bgrx32(), 4, 2);
    EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 4, 2, 0, 0, 4, 2, leaves, info.info(), DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(StretchDIBits, RefusesWhatItCannotDraw) {
    ResourceGuard guard;
    Canvas dest(Bgrx32(), 4, 4);
    BitmapInfoBuffer info = MakeInfo(2, 2, 24), jpeg = MakeInfo(2, 2, 0, BI_JPEG), depth7 = MakeInfo(2, 2, 7);
    // Exactly a core header's bytes, so that a read past them is an overrun.
    const BITMAPCOREHEADER core{static_cast<DWORD>(sizeof(BITMAPCOREHEADER)), 2, 2, 1, 24};
    const auto* coreInfo = reinterpret_cast<const BITMAPINFO*>(&core);
    const BYTE bits[16] = {};
    HDC screen = GetDC(nullptr);
    const struct {
        HDC dc;
        const void* bits;
        const BITMAPINFO* info;
        UINT usage;
        int width, result;
        DWORD error;
    } cases[] = {{nullptr, bits, info.info(), DIB_RGB_COLORS, 2, 0, ERROR_INVALID_HANDLE},
                 {screen, bits, info.info(), DIB_RGB_COLORS, 2, 0, ERROR_INVALID_HANDLE},
                 {dest.dc(), nullptr, info.info(), DIB_RGB_COLORS, 2, 0, ERROR_INVALID_PARAMETER},
                 {dest.dc(), bits, coreInfo, DIB_RGB_COLORS, 2, 0, ERROR_INVALID_PARAMETER},
                 {dest.dc(), bits, depth7.info(), DIB_RGB_COLORS, 2, 0, ERROR_INVALID_PARAMETER},
                 {dest.dc(), bits, info.info(), 7, 2, 0, ERROR_INVALID_PARAMETER},
                 {dest.dc(), bits, jpeg.info(), DIB_RGB_COLORS, 2, static_cast<int>(GDI_ERROR), ERROR_NOT_SUPPORTED},
                 {dest.dc(), bits, info.info(), DIB_RGB_COLORS, 1 << 28, 0, ERROR_INVALID_PARAMETER},
                 {dest.dc(), bits, info.info(), DIB_RGB_COLORS, 0, 0, 0}};  // a zero extent draws nothing
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        SetLastError(0);
        EXPECT_EQ(StretchDIBits(c.dc, 0, 0, c.width, 2, 0, 0, 2, 2, c.bits, c.info, c.usage, SRCCOPY), c.result);
        EXPECT_EQ(GetLastError(), c.error);
    }
    ReleaseDC(nullptr, screen);
}

// A 3 x 6 picture handed over two scan lines at a time: each call draws the
// rows its lines hold where the whole picture would put them.
TEST(SetDIBitsToDevice, DrawsTheScanLinesItIsGiven) {
    ResourceGuard guard;
    std::mt19937 rng(184);
    for (bool topDown : {false, true}) {
        Canvas source(Rgb24(), 3, 6, topDown), dest(Bgrx32(), 5, 8);
        const ref::Picture picture = PictureFor(Rgb24(), 3, 6, rng);
        source.Write(picture);
        BitmapInfoBuffer info = source.Info();
        const std::vector<std::uint8_t> bits = source.RawBytes();
        ref::Picture expected = dest.Read();
        // Columns 1..2 and rows 1..4 from the top (from the bottom: 1..4 as well), drawn at (2, 1).
        for (UINT start = 0; start < 6; start += 2) {
            SCOPED_TRACE(testing::Message() << (topDown ? "top-down" : "bottom-up") << ", lines from " << start);
            EXPECT_EQ(SetDIBitsToDevice(dest.dc(), 2, 1, 2, 4, 1, 1, start, 2, bits.data() + start * 12, info.info(),
                                        DIB_RGB_COLORS),
                      2);
            for (UINT line = start; line < start + 2; ++line) {
                const int row = topDown ? static_cast<int>(line) : 5 - static_cast<int>(line);
                for (int x = 1; x <= 2 && row >= 1 && row <= 4; ++x) expected.at(x + 1, row) = picture.at(x, row);
            }
            EXPECT_EQ(dest.Read().pixels, expected.pixels);
        }
    }
    // {start, lines, width, height, result}
    const UINT counts[][5] = {{1, 50, 3, 6, 5}, {6, 1, 3, 6, 0}, {0, 0, 3, 6, 0}, {0, 6, 0, 6, 0}, {0, 6, 0x80000000u, 6, 0}};
    Canvas source(Rgb24(), 3, 6), dest(Bgrx32(), 4, 4);
    BitmapInfoBuffer info = source.Info();
    const std::vector<std::uint8_t> bits = source.RawBytes();
    for (const auto& c : counts)
        EXPECT_EQ(SetDIBitsToDevice(dest.dc(), 0, 0, c[2], c[3], 0, 0, c[0], c[1], bits.data(), info.info(), DIB_RGB_COLORS),
                  static_cast<int>(c[4]))
            << c[0] << " " << c[1] << " " << c[2];
}

}  // namespace

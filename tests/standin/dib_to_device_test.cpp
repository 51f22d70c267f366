// StretchDIBits and SetDIBitsToDevice: a caller's bits drawn as StretchBlt
// draws a DIB section holding the same bits, in every stretching mode and
// raster operation; the DIB's origin at its lower-left corner when
// bottom-up; colour tables of either kind; bands of scan lines; refusals.
#include "resource_guard.h"
#include "stretch_canvas.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace stretch_test;
using testing_support::ResourceGuard;
namespace ref = stretch_reference;

namespace {

constexpr int kModes[] = {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE};

// A picture the layout stores exactly: palette entries at 8 bits or fewer,
// otherwise random colours the layout keeps.
ref::Picture PictureFor(const PixelLayout& layout, int width, int height, std::mt19937& rng) {
    ref::Picture picture(width, height);
    for (ref::Colour& c : picture.pixels) {
        if (!layout.palette.empty()) {
            c = layout.palette[rng() % layout.palette.size()];
            continue;
        }
        do {
            c = RandomPicture(1, 1, rng, layout.bitCount == 32 && !layout.bitfields).at(0, 0);
        } while (!Representable(layout, c));
    }
    return picture;
}

// A canvas's pixels as a caller would hand them to StretchDIBits.
struct CallerDib {
    testing_support::BitmapInfoBuffer info;
    std::vector<std::uint8_t> bits;
};

CallerDib CallerCopy(const Canvas& canvas) {
    CallerDib dib{canvas.Info(), canvas.RawBytes()};
    return dib;
}

// The origin, as the DIB counts it, of the rectangle StretchBlt takes from
// the top: from the bottom when the DIB is bottom-up, where a negative
// extent starts at its lowest row.
int DibOrigin(const Canvas& source, bool topDown, int ySrc, int hSrc) {
    if (topDown) return ySrc;
    return source.height() - ySrc - hSrc - (hSrc < 0 ? 2 : 0);
}

struct Geometry {
    const char* name;
    ref::Call call;
};

// Source 7 x 5, destination 9 x 6.
const Geometry kGeometries[] = {
    {"one to one", {1, 1, 7, 5, 0, 0, 7, 5}},
    {"a part one to one", {0, 0, 3, 2, 2, 1, 3, 2}},
    {"enlarged", {0, 0, 9, 6, 1, 1, 4, 3}},
    {"reduced", {1, 1, 3, 2, 0, 0, 7, 5}},
    {"mirrored across", {8, 0, -8, 5, 0, 0, 7, 5}},
    {"mirrored down", {0, 0, 7, 5, 0, 4, 7, -5}},
    {"mirrored down from outside", {0, 0, 7, 5, 0, 5, 7, -5}},
    {"the source partly outside", {0, 0, 9, 6, -2, -1, 9, 6}},
    {"the destination partly outside", {-3, 2, 9, 6, 0, 0, 7, 5}},
};

TEST(StretchDIBits, DrawsAsStretchBltDrawsTheSameBits) {
    ResourceGuard guard;
    std::mt19937 rng(181);
    const PixelLayout sources[] = {Monochrome(), Palette16(), Palette256(), Rgb555(), Rgb565(), Rgb24(), Bgrx32()};
    const PixelLayout targets[] = {Bgrx32(), Palette256()};
    for (const PixelLayout& from : sources) {
        for (const PixelLayout& to : targets) {
            for (bool topDown : {false, true}) {
                for (const Geometry& g : kGeometries) {
                    for (int mode : kModes) {
                        SCOPED_TRACE(from.name + " onto " + to.name + (topDown ? " top-down, " : ", ") + g.name +
                                     ", mode " + std::to_string(mode));
                        Canvas source(from, 7, 5, topDown);
                        source.Write(PictureFor(from, 7, 5, rng));
                        CallerDib dib = CallerCopy(source);
                        const ref::Picture before = PictureFor(to, 9, 6, rng);
                        Canvas viaBlt(to, 9, 6), viaDib(to, 9, 6);
                        viaBlt.Write(before);
                        viaDib.Write(before);
                        SetStretchBltMode(viaBlt.dc(), mode);
                        SetStretchBltMode(viaDib.dc(), mode);
                        const ref::Call& c = g.call;
                        ASSERT_TRUE(StretchBlt(viaBlt.dc(), c.xDest, c.yDest, c.wDest, c.hDest, source.dc(), c.xSrc,
                                               c.ySrc, c.wSrc, c.hSrc, SRCCOPY));
                        const int lines = StretchDIBits(viaDib.dc(), c.xDest, c.yDest, c.wDest, c.hDest, c.xSrc,
                                                        DibOrigin(source, topDown, c.ySrc, c.hSrc), c.wSrc, c.hSrc,
                                                        dib.bits.data(), dib.info.info(), DIB_RGB_COLORS, SRCCOPY);
                        EXPECT_EQ(lines, (c.hSrc < 0) != (c.hDest < 0) ? -std::abs(c.hSrc) : std::abs(c.hSrc));
                        EXPECT_EQ(viaDib.RawBytes(), viaBlt.RawBytes());
                    }
                }
            }
        }
    }
}

// A negative extent covers its start row and those before it, in the DIB's
// own coordinates: from the last row of either kind of DIB, the whole
// picture upside down; and one row high, that row.
TEST(StretchDIBits, MirrorsFromTheStartRowOfANegativeExtent) {
    ResourceGuard guard;
    std::mt19937 rng(185);
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        Canvas source(Rgb24(), 3, 4, topDown);
        const ref::Picture picture = PictureFor(Rgb24(), 3, 4, rng);
        source.Write(picture);
        CallerDib dib = CallerCopy(source);
        Canvas dest(Rgb24(), 3, 4);
        EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 3, 4, 0, 3, 3, -4, dib.bits.data(), dib.info.info(), DIB_RGB_COLORS,
                                SRCCOPY),
                  -4);
        ref::Picture flipped(3, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 3; ++x) flipped.at(x, y) = picture.at(x, 3 - y);
        EXPECT_EQ(dest.Read().pixels, flipped.pixels);
        // Row 1 of the DIB: the second from the bottom, or from the top.
        EXPECT_NE(StretchDIBits(dest.dc(), 0, 0, 3, 1, 0, 1, 3, -1, dib.bits.data(), dib.info.info(), DIB_RGB_COLORS,
                                SRCCOPY),
                  0);
        for (int x = 0; x < 3; ++x) EXPECT_EQ(dest.Read().at(x, 0), picture.at(x, topDown ? 1 : 2)) << x;
    }
}

TEST(StretchDIBits, TakesEveryRasterOperation) {
    ResourceGuard guard;
    std::mt19937 rng(182);
    for (bool topDown : {false, true}) {
        Canvas source(Rgb24(), 7, 5, topDown);
        source.Write(PictureFor(Rgb24(), 7, 5, rng));
        CallerDib dib = CallerCopy(source);
        const ref::Picture before = PictureFor(Bgrx32(), 9, 6, rng);
        Canvas viaBlt(Bgrx32(), 9, 6), viaDib(Bgrx32(), 9, 6);
        HBRUSH brush = CreateSolidBrush(RGB(0x5A, 0xC3, 0x17));
        HGDIOBJ oldBlt = SelectObject(viaBlt.dc(), brush), oldDib = SelectObject(viaDib.dc(), brush);
        for (DWORD code = 0; code < 256; ++code) {
            SCOPED_TRACE("raster operation " + std::to_string(code) + (topDown ? " top-down" : ""));
            viaBlt.Write(before);
            viaDib.Write(before);
            const DWORD rop = code << 16;
            ASSERT_TRUE(StretchBlt(viaBlt.dc(), 1, 0, 8, 6, source.dc(), 1, 0, 5, 3, rop));
            EXPECT_NE(StretchDIBits(viaDib.dc(), 1, 0, 8, 6, 1, DibOrigin(source, topDown, 0, 3), 5, 3,
                                    dib.bits.data(), dib.info.info(), DIB_RGB_COLORS, rop),
                      0);
            ASSERT_EQ(viaDib.RawBytes(), viaBlt.RawBytes());
        }
        SelectObject(viaBlt.dc(), oldBlt);
        SelectObject(viaDib.dc(), oldDib);
        DeleteObject(brush);
    }
}

TEST(StretchDIBits, ReadsBitfieldsAndPaletteIndexTables) {
    ResourceGuard guard;
    Canvas dest(Bgrx32(), 2, 1);
    // 5-6-5: pure red, pure green.
    testing_support::BitmapInfoBuffer fields = testing_support::MakeInfo(2, 1, 16, BI_BITFIELDS);
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(fields.colors, masks, sizeof masks);
    const WORD pixels565[2] = {0xF800, 0x07E0};
    EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 2, 1, 0, 0, 2, 1, pixels565, fields.info(), DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(dest.Read().at(0, 0), ref::Rgb(255, 0, 0));
    EXPECT_EQ(dest.Read().at(1, 0), ref::Rgb(0, 255, 0));

    // 8 bits whose table holds indices into the context's palette.
    PALETTEENTRY entries[3] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof entries);
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 3;
    std::memcpy(logical->palPalEntry, entries, sizeof entries);
    HPALETTE palette = CreatePalette(logical);
    HPALETTE old = SelectPalette(dest.dc(), palette, FALSE);
    testing_support::BitmapInfoBuffer indexed = testing_support::MakeInfo(2, 1, 8);
    const WORD indices[2] = {2, 0};
    std::memcpy(indexed.colors, indices, sizeof indices);
    const BYTE pixels8[4] = {0, 1, 0, 0};
    EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 2, 1, 0, 0, 2, 1, pixels8, indexed.info(), DIB_PAL_COLORS, SRCCOPY), 1);
    EXPECT_EQ(dest.Read().at(0, 0), ref::Rgb(70, 80, 90));
    EXPECT_EQ(dest.Read().at(1, 0), ref::Rgb(10, 20, 30));
    SelectPalette(dest.dc(), old, FALSE);
    DeleteObject(palette);
}

TEST(StretchDIBits, ReadsASectionsOwnBitsOntoItself) {
    ResourceGuard guard;
    std::mt19937 rng(183);
    Canvas canvas(Rgb24(), 6, 6), copy(Rgb24(), 6, 6);
    const ref::Picture picture = PictureFor(Rgb24(), 6, 6, rng);
    canvas.Write(picture);
    copy.Write(picture);
    CallerDib aside = CallerCopy(canvas);
    // The section's own bits, moved down and right by one: rows overlap.
    DIBSECTION ds;
    ASSERT_EQ(GetObjectA(canvas.bitmap(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(StretchDIBits(canvas.dc(), 1, 1, 5, 5, 0, 1, 5, 5, ds.dsBm.bmBits, aside.info.info(), DIB_RGB_COLORS,
                            SRCCOPY),
              5);
    EXPECT_EQ(StretchDIBits(copy.dc(), 1, 1, 5, 5, 0, 1, 5, 5, aside.bits.data(), aside.info.info(), DIB_RGB_COLORS,
                            SRCCOPY),
              5);
    EXPECT_EQ(canvas.RawBytes(), copy.RawBytes());
}

TEST(StretchDIBits, RefusesWhatItCannotDraw) {
    ResourceGuard guard;
    Canvas dest(Bgrx32(), 4, 4);
    testing_support::BitmapInfoBuffer info = testing_support::MakeInfo(2, 2, 24);
    const BYTE bits[16] = {};
    testing_support::BitmapInfoBuffer jpeg = testing_support::MakeInfo(2, 2, 0, BI_JPEG);
    testing_support::BitmapInfoBuffer depth7 = testing_support::MakeInfo(2, 2, 7);
    // Exactly a core header's bytes, so that a read past them is an overrun.
    std::vector<std::uint8_t> core(sizeof(BITMAPCOREHEADER));
    const BITMAPCOREHEADER coreHeader{sizeof(BITMAPCOREHEADER), 2, 2, 1, 24};
    std::memcpy(core.data(), &coreHeader, sizeof coreHeader);
    HDC screen = GetDC(nullptr);
    struct Case {
        const char* name;
        std::function<int()> call;
        int result;
        DWORD error;  // 0: not checked
    };
    auto stretch = [&](HDC dc, const void* b, const BITMAPINFO* i, UINT usage, int w = 2) {
        return StretchDIBits(dc, 0, 0, w, 2, 0, 0, 2, 2, b, i, usage, SRCCOPY);
    };
    const Case cases[] = {
        {"no context", [&] { return stretch(nullptr, bits, info.info(), DIB_RGB_COLORS); }, 0, ERROR_INVALID_HANDLE},
        {"the screen's context", [&] { return stretch(screen, bits, info.info(), DIB_RGB_COLORS); }, 0,
         ERROR_INVALID_HANDLE},
        {"no bits", [&] { return stretch(dest.dc(), nullptr, info.info(), DIB_RGB_COLORS); }, 0,
         ERROR_INVALID_PARAMETER},
        {"no header", [&] { return stretch(dest.dc(), bits, nullptr, DIB_RGB_COLORS); }, 0, ERROR_INVALID_PARAMETER},
        {"a core header, read no further than its 12 bytes",
         [&] { return stretch(dest.dc(), bits, reinterpret_cast<const BITMAPINFO*>(core.data()), DIB_RGB_COLORS); },
         0, ERROR_INVALID_PARAMETER},
        {"a depth no DIB has", [&] { return stretch(dest.dc(), bits, depth7.info(), DIB_RGB_COLORS); }, 0,
         ERROR_INVALID_PARAMETER},
        {"an unknown colour use", [&] { return stretch(dest.dc(), bits, info.info(), 7); }, 0,
         ERROR_INVALID_PARAMETER},
        {"a JPEG image", [&] { return stretch(dest.dc(), bits, jpeg.info(), DIB_RGB_COLORS); },
         static_cast<int>(GDI_ERROR), ERROR_NOT_SUPPORTED},
        {"an extent beyond the limits", [&] { return stretch(dest.dc(), bits, info.info(), DIB_RGB_COLORS, 1 << 28); },
         0, ERROR_INVALID_PARAMETER},
        {"a zero extent draws nothing", [&] { return stretch(dest.dc(), bits, info.info(), DIB_RGB_COLORS, 0); }, 0, 0},
        {"nothing inside the destination",
         [&] { return StretchDIBits(dest.dc(), 9, 9, 2, 2, 0, 0, 2, 2, bits, info.info(), DIB_RGB_COLORS, SRCCOPY); },
         0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(c.call(), c.result);
        if (c.error != 0) {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
    ReleaseDC(nullptr, screen);
}

// Run-length sources: decoded, then drawn as a DIB section holding the
// decoded pixels draws, in every stretching mode.
TEST(StretchDIBits, DecodesRunLengthSources) {
    ResourceGuard guard;
    const PixelLayout palette = Palette16();
    struct Case {
        const char* name;
        int bitCount;
        DWORD compression;
        std::vector<BYTE> stream;
        int top[4], bottom[4];  // the decoded indices
    };
    // 4 x 2, bottom row first: a run, an end of line, a row of literal pixels.
    const Case cases[] = {
        {"BI_RLE8", 8, BI_RLE8, {4, 1, 0, 0, 0, 4, 0, 1, 2, 3, 0, 1}, {0, 1, 2, 3}, {1, 1, 1, 1}},
        {"BI_RLE4", 4, BI_RLE4, {4, 0x12, 0, 0, 0, 4, 0x30, 0x12, 0, 1}, {3, 0, 1, 2}, {1, 2, 1, 2}},
    };
    for (const Case& c : cases) {
        testing_support::BitmapInfoBuffer info = testing_support::MakeInfo(4, 2, c.bitCount, c.compression);
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
        for (int mode : kModes) {
            SCOPED_TRACE(std::string(c.name) + ", mode " + std::to_string(mode));
            const ref::Picture before(9, 5, ref::Rgb(9, 9, 9));
            Canvas viaBlt(Bgrx32(), 9, 5), viaDib(Bgrx32(), 9, 5);
            viaBlt.Write(before);
            viaDib.Write(before);
            SetStretchBltMode(viaBlt.dc(), mode);
            SetStretchBltMode(viaDib.dc(), mode);
            ASSERT_TRUE(StretchBlt(viaBlt.dc(), 0, 0, 9, 5, decoded.dc(), 0, 0, 4, 2, SRCCOPY));
            EXPECT_EQ(StretchDIBits(viaDib.dc(), 0, 0, 9, 5, 0, 0, 4, 2, c.stream.data(), info.info(), DIB_RGB_COLORS,
                                    SRCCOPY),
                      2);
            EXPECT_EQ(viaDib.RawBytes(), viaBlt.RawBytes());
        }
        // The same stream a scan line at a time through SetDIBitsToDevice:
        // the buffer is the whole stream, the lines drawn those asked for.
        Canvas banded(Bgrx32(), 4, 2);
        banded.Write(ref::Picture(4, 2, ref::Rgb(9, 9, 9)));
        EXPECT_EQ(SetDIBitsToDevice(banded.dc(), 0, 0, 4, 2, 0, 0, 1, 1, c.stream.data(), info.info(), DIB_RGB_COLORS), 1);
        ref::Picture expected(4, 2, ref::Rgb(9, 9, 9));
        for (int x = 0; x < 4; ++x) expected.at(x, 0) = picture.at(x, 0);
        EXPECT_EQ(banded.Read().pixels, expected.pixels) << "scan line 1 is the top row";
    }
    // A stream that leaves the picture is refused.
    testing_support::BitmapInfoBuffer info = testing_support::MakeInfo(4, 2, 8, BI_RLE8);
    const BYTE bad[] = {0, 2, 9, 9, 4, 1, 0, 1};  // a move nine rows up
    info.header.biSizeImage = sizeof bad;
    Canvas dest(Bgrx32(), 4, 2);
    SetLastError(0);
    EXPECT_EQ(StretchDIBits(dest.dc(), 0, 0, 4, 2, 0, 0, 4, 2, bad, info.info(), DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// A 3 x 6 picture, bottom-up or top-down, handed over two scan lines at a
// time: each call draws the rows its lines hold, where the whole picture
// would put them, and nothing else.
TEST(SetDIBitsToDevice, DrawsTheScanLinesItIsGiven) {
    ResourceGuard guard;
    std::mt19937 rng(184);
    for (bool topDown : {false, true}) {
        Canvas source(Rgb24(), 3, 6, topDown);
        const ref::Picture picture = PictureFor(Rgb24(), 3, 6, rng);
        source.Write(picture);
        CallerDib whole = CallerCopy(source);
        const std::size_t stride = 12;
        const ref::Picture background = PictureFor(Bgrx32(), 5, 8, rng);
        // The rectangle: columns 1..2 and rows 1..4 of the picture (counted
        // from the top), drawn at (2, 1).
        const int ySrc = 1;  // 6 - 1 - 4 = 1 from the bottom as well
        ref::Picture expected = background;
        Canvas dest(Bgrx32(), 5, 8);
        dest.Write(background);
        for (UINT start = 0; start < 6; start += 2) {
            SCOPED_TRACE(std::string(topDown ? "top-down" : "bottom-up") + ", lines from " + std::to_string(start));
            testing_support::BitmapInfoBuffer info = whole.info;
            const std::uint8_t* lines = whole.bits.data() + start * stride;
            EXPECT_EQ(SetDIBitsToDevice(dest.dc(), 2, 1, 2, 4, 1, ySrc, start, 2, lines, info.info(), DIB_RGB_COLORS),
                      2);
            // The two lines, as rows of the picture counted from the top.
            for (UINT line = start; line < start + 2; ++line) {
                const int row = topDown ? static_cast<int>(line) : 5 - static_cast<int>(line);
                if (row < 1 || row > 4) continue;
                for (int x = 1; x <= 2; ++x) {
                    ref::Colour c = picture.at(x, row);
                    expected.at(x + 1, row) = c;
                }
            }
            EXPECT_EQ(dest.Read().pixels, expected.pixels);
        }
    }
}

TEST(SetDIBitsToDevice, CountsAndRefusals) {
    ResourceGuard guard;
    Canvas dest(Bgrx32(), 4, 4);
    testing_support::BitmapInfoBuffer info = testing_support::MakeInfo(2, 3, 24);
    const BYTE bits[24] = {};
    struct Case {
        const char* name;
        UINT start, lines;
        DWORD w, h;
        int result;
    };
    const Case cases[] = {
        {"every line", 0, 3, 2, 3, 3},
        {"more lines than the picture holds", 1, 50, 2, 3, 2},
        {"a start past the picture", 3, 1, 2, 3, 0},
        {"no lines", 0, 0, 2, 3, 0},
        {"no width", 0, 3, 0, 3, 0},
        {"no height", 0, 3, 2, 0, 0},
        {"a width beyond the limits", 0, 3, 0x80000000u, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SetDIBitsToDevice(dest.dc(), 0, 0, c.w, c.h, 0, 0, c.start, c.lines, bits, info.info(),
                                    DIB_RGB_COLORS),
                  c.result);
    }
    EXPECT_EQ(SetDIBitsToDevice(nullptr, 0, 0, 2, 3, 0, 0, 0, 3, bits, info.info(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace

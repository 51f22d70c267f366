// Edge cases real callers hit, with the answers the platform gives: scan-line
// counting in GetDIBits and SetDIBits, the header GetDIBits fills, header
// validation, run-length SetDIBits, colour-table indices in drawing, stretch
// geometry, handle edge cases, pens, made-up colour tables and section memory.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

using namespace testing_support;

namespace {

constexpr std::uint32_t kFill = 0xAAAAAAAA;

// A 32-bit section whose row r from the top holds 0x100 + r in every pixel.
Dib RowNumberedSection(int width, int height) {
    Dib dib = MakeDib(width, height, 32);
    const int rows = height < 0 ? -height : height;
    for (int r = 0; r < rows; ++r) {
        auto* row = reinterpret_cast<std::uint32_t*>(dib.bits + std::size_t(dib.stride) * (height < 0 ? r : rows - 1 - r));
        for (int x = 0; x < width; ++x) row[x] = 0x100u + std::uint32_t(r);
    }
    return dib;
}

std::uint32_t Word(const void* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

int Get(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BitmapInfoBuffer* info) {
    return GetDIBits(dc, bitmap, start, lines, bits, info->info(), DIB_RGB_COLORS);
}

int Set(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, BitmapInfoBuffer* info) {
    return SetDIBits(dc, bitmap, start, lines, bits, info->info(), DIB_RGB_COLORS);
}

// --- Scan lines: counted in the caller's DIB, aligned at the top rows -------

struct ScanCase {
    LONG headerHeight;
    UINT start, lines;
    int returned;
    std::vector<int> rows;  // per buffer row: the bitmap row from the top, -1 for zeros; then 0xAA untouched
};

TEST(PlatformScanLines, GetDIBitsCountsInTheCallersDibFromTheTop) {
    const ScanCase cases[] = {
        {8, 1, 12, 7, {6, 5, 4, 3, 2, 1, 0}},
        {8, 9, 12, 1, {}},
        {16, 1, 12, 5, {-1, -1, -1, -1, -1, -1, -1, 7, 6, 5, 4, 3}},
        {16, 2, 12, 6, {-1, -1, -1, -1, -1, -1, 7, 6, 5, 4, 3, 2}},
        // Top-down caller: scan line 0 is still the bottom row.
        {-8, 0, 1, 1, {7}},
        {-8, 1, 1, 1, {6}},
        {-8, 0, 3, 3, {5, 6, 7}},
        {4, 0, 4, 4, {3, 2, 1, 0}},  // a shorter DIB meets the bitmap's top rows
    };
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    for (int sectionHeight : {8, -8}) {
        Dib dib = RowNumberedSection(8, sectionHeight);
        for (const ScanCase& c : cases) {
            SCOPED_TRACE(::testing::Message() << "section " << sectionHeight << ", header " << c.headerHeight
                                              << ", start " << c.start << ", " << c.lines << " lines");
            std::vector<std::uint32_t> buffer(8 * 20, kFill);
            BitmapInfoBuffer info = MakeInfo(8, c.headerHeight, 32);
            EXPECT_EQ(Get(dc, dib.bitmap, c.start, c.lines, buffer.data(), &info), c.returned);
            EXPECT_EQ(info.header.biSizeImage, DWORD(32 * (c.headerHeight < 0 ? -c.headerHeight : c.headerHeight)));
            for (std::size_t row = 0; row < 20; ++row) {
                const std::uint32_t want = row >= c.rows.size() ? kFill
                                           : c.rows[row] < 0 ? 0u
                                                             : 0x100u + std::uint32_t(c.rows[row]);
                EXPECT_EQ(buffer[row * 8], want) << "buffer row " << row;
                EXPECT_EQ(buffer[row * 8 + 7], want) << "buffer row " << row;
            }
        }
        DeleteObject(dib.bitmap);
    }
    DeleteDC(dc);
}

TEST(PlatformScanLines, SetDIBitsFromAShorterDibSetsTheTopRows) {
    ResourceGuard guard;
    Dib dib = MakeDib(1, 4, 32);
    const std::uint32_t rows[2] = {0x11, 0x22};  // bottom-up: 0x22 is the DIB's top row
    BitmapInfoBuffer info = MakeInfo(1, 2, 32);
    ASSERT_EQ(Set(nullptr, dib.bitmap, 0, 2, rows, &info), 2);
    const auto* bits = reinterpret_cast<const std::uint32_t*>(dib.bits);  // bottom-up too
    EXPECT_EQ(bits[3], 0x22u);
    EXPECT_EQ(bits[2], 0x11u);
    EXPECT_EQ(bits[1], 0u);
    EXPECT_EQ(bits[0], 0u);
    DeleteObject(dib.bitmap);
}

// --- The header GetDIBits fills ----------------------------------------------

TEST(PlatformHeader, GetDIBitsReportsBitfieldsAndWritesMasksOnlyWhenReading) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP compatible = CreateCompatibleBitmap(screen, 3, 2);
    ReleaseDC(nullptr, screen);
    BitmapInfoBuffer fields = MakeInfo(3, 2, 32, BI_BITFIELDS);
    const DWORD masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    std::memcpy(fields.colors, masks, sizeof masks);
    HBITMAP section = CreateDIBSection(nullptr, fields.info(), DIB_RGB_COLORS, nullptr, nullptr, 0);
    ASSERT_NE(section, nullptr);
    struct Case {
        const char* what;
        HBITMAP bitmap;
        WORD bitCount;
        DWORD compression;
        bool readBits;
        DWORD wantCompression;
        bool wantMasks;
    };
    const Case cases[] = {
        {"query of a 32-bit compatible bitmap", compatible, 0, BI_RGB, false, BI_BITFIELDS, false},
        {"query of a bitfield section", section, 0, BI_RGB, false, BI_BITFIELDS, false},
        {"bitfield query without bits", section, 32, BI_BITFIELDS, false, BI_BITFIELDS, false},
        {"bitfield read of the section", section, 32, BI_BITFIELDS, true, BI_BITFIELDS, true},
        {"bitfield read of the compatible bitmap", compatible, 32, BI_BITFIELDS, true, BI_BITFIELDS, true},
        {"24-bit read", section, 24, BI_RGB, true, BI_RGB, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitmapInfoBuffer info = MakeInfo(3, 2, c.bitCount, c.compression);
        std::uint32_t bits[8];
        ASSERT_NE(Get(dc, c.bitmap, 0, 2, c.readBits ? bits : nullptr, &info), 0);
        EXPECT_EQ(info.header.biCompression, c.wantCompression);
        EXPECT_EQ(info.header.biSizeImage, 24u) << "always written";
        const DWORD* written = reinterpret_cast<const DWORD*>(info.colors);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(written[i], c.wantMasks ? masks[i] : 0u);
    }
    DeleteObject(section);
    DeleteObject(compatible);
    DeleteDC(dc);
}

TEST(PlatformHeader, SelectedSectionsAreReadSelectedDeviceBitmapsAreNot) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    HDC other = CreateCompatibleDC(nullptr);
    Dib dib = MakeDib(2, 2, 24);
    HBITMAP compatible = CreateCompatibleBitmap(dc, 2, 2);
    for (HBITMAP bitmap : {dib.bitmap, compatible}) {
        HGDIOBJ old = SelectObject(other, bitmap);
        BitmapInfoBuffer info = MakeInfo(2, 2, 24);
        std::uint8_t bits[16];
        EXPECT_EQ(Get(dc, bitmap, 0, 2, bits, &info), bitmap == dib.bitmap ? 2 : 0);
        SelectObject(other, old);
    }
    DeleteObject(compatible);
    DeleteObject(dib.bitmap);
    DeleteDC(other);
    DeleteDC(dc);
}

// --- Header validation ---------------------------------------------------------

enum class Call { Create, Set, Query, Read };

TEST(PlatformHeader, ValidatesSizesPlanesAndMasksAsThePlatform) {
    struct Case {
        Call call;
        DWORD size;
        WORD planes, bitCount;
        DWORD masks[3];  // BI_BITFIELDS when set
        bool accepted;
    };
    const Case cases[] = {
        {Call::Create, 41, 1, 24, {}, true},      {Call::Create, 109, 1, 8, {}, true},
        {Call::Create, 125, 1, 32, {}, true},     {Call::Create, 39, 1, 24, {}, false},
        {Call::Create, 40, 2, 8, {}, true},       {Call::Create, 40, 4, 4, {}, true},
        {Call::Create, 40, 2, 16, {}, false},     {Call::Create, 40, 2, 24, {}, false},
        {Call::Create, 40, 0, 24, {}, false},     {Call::Set, 40, 0, 24, {}, false},
        {Call::Set, 40, 7, 24, {}, true},         {Call::Set, 41, 1, 8, {}, true},
        {Call::Query, 40, 0, 24, {}, true},       {Call::Read, 40, 0, 24, {}, false},
        {Call::Read, 40, 3, 24, {}, true},        {Call::Read, 109, 1, 8, {}, true},
        // Masks with gaps are taken; overlapping ones are not.
        {Call::Create, 40, 1, 16, {0xF801, 0x07E0, 0x001E}, true},
        {Call::Set, 40, 1, 32, {0xFFFF00, 0x00FF00, 0xFF}, false},
        {Call::Set, 40, 1, 32, {0xF0F000, 0x0F0F00, 0xFF}, true},
    };
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    Dib target = MakeDib(2, 2, 24);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.call) << ": size " << c.size << ", " << c.planes << " planes, "
                                          << c.bitCount << " bits");
        std::vector<std::uint8_t> block(c.size + 1024, 0);
        BITMAPINFOHEADER header = MakeInfo(2, 2, c.bitCount, c.masks[0] != 0 ? BI_BITFIELDS : BI_RGB).header;
        header.biSize = c.size;
        header.biPlanes = c.planes;
        std::memcpy(block.data(), &header, sizeof header);
        if (c.masks[0] != 0) std::memcpy(block.data() + 40, c.masks, sizeof c.masks);
        auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
        std::uint8_t bits[64] = {};
        bool accepted = false;
        switch (c.call) {
            case Call::Create: {
                HBITMAP made = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, nullptr, nullptr, 0);
                accepted = made != nullptr;
                DeleteObject(made);
                break;
            }
            case Call::Set: accepted = SetDIBits(dc, target.bitmap, 0, 2, bits, info, DIB_RGB_COLORS) == 2; break;
            case Call::Query: accepted = GetDIBits(dc, target.bitmap, 0, 0, nullptr, info, DIB_RGB_COLORS) == 2; break;
            case Call::Read: accepted = GetDIBits(dc, target.bitmap, 0, 2, bits, info, DIB_RGB_COLORS) == 2; break;
        }
        EXPECT_EQ(accepted, c.accepted);
    }
    DeleteObject(target.bitmap);
    DeleteDC(dc);
}

TEST(PlatformHeader, MaskGapsReadAsZero) {
    ResourceGuard guard;
    BitmapInfoBuffer info = MakeInfo(1, 1, 32, BI_BITFIELDS);
    const DWORD masks[3] = {0xF0F000, 0x000F00, 0x0000FF};  // red: 12 bits with a 4-bit gap
    std::memcpy(info.colors, masks, sizeof masks);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    const std::uint32_t pixel = 0xFFFFFF;  // every bit set, the gap's too
    std::memcpy(bits, &pixel, sizeof pixel);
    EXPECT_EQ(ReadPixels(section, 32).at(0).rgbRed, 0xF0) << "red's bits 1111 0000 1111: the gap reads as zero";
    DeleteObject(section);
}

// --- Run-length SetDIBits -------------------------------------------------------

TEST(PlatformRunLength, SetDIBitsDecodesRle8AndRle4) {
    struct Case {
        WORD bitCount;
        DWORD compression;
        std::vector<std::uint8_t> stream;
        int returned;
        std::vector<BYTE> top, bottom;  // red of each pixel read back
    };
    const Case cases[] = {
        {8, BI_RLE8, {4, 1, 0, 0, 0, 4, 2, 3, 2, 3, 0, 1}, 2, {2, 3, 2, 3}, {1, 1, 1, 1}},
        {8, BI_RLE8, {2, 1, 0, 2, 1, 1, 3, 3, 0, 1}, 2, {0, 0, 0, 3}, {1, 1, 0, 0}},  // a delta, a run cut at the edge
        {4, BI_RLE4, {4, 0x12, 0, 0, 0, 4, 0x32, 0x10, 0, 1}, 2, {3, 2, 1, 0}, {1, 2, 1, 2}},
        {8, BI_RLE8, {4, 1, 0, 0, 4, 1, 0, 0, 4, 1, 0, 1}, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},  // a run above the top
        {8, BI_RLE8, {4, 1}, 0, {0, 0, 0, 0}, {0, 0, 0, 0}},                                // cut short
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.compression << ", " << c.stream.size() << " bytes");
        Dib dib = MakeDib(4, 2, 24);
        BitmapInfoBuffer info = MakeInfo(4, 2, c.bitCount, c.compression);
        info.header.biSizeImage = DWORD(c.stream.size());
        for (int i = 0; i < 16; ++i) info.colors[i] = RGBQUAD{0, 0, BYTE(i), 0};
        EXPECT_EQ(Set(nullptr, dib.bitmap, 0, 2, c.stream.data(), &info), c.returned);
        const std::vector<RGBQUAD> pixels = ReadPixels(dib.bitmap, 32);
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(pixels[x].rgbRed, c.top[x]) << "top row, pixel " << x;
            EXPECT_EQ(pixels[4 + x].rgbRed, c.bottom[x]) << "bottom row, pixel " << x;
        }
        DeleteObject(dib.bitmap);
    }
}

// --- DIBINDEX and PALETTEINDEX ---------------------------------------------------

TEST(PlatformColourIndices, DibIndexStoresTheEntryAndPaletteIndexReadsThePalette) {
    ResourceGuard guard;
    std::vector<RGBQUAD> table(256, RGBQUAD{0, 0, 0, 0});
    table[1] = RGBQUAD{0x30, 0x20, 0x10, 0};
    table[5] = table[1];  // a duplicate: only the index tells them apart
    HDC dc = CreateCompatibleDC(nullptr);
    LOGPALETTE* logical = static_cast<LOGPALETTE*>(std::calloc(1, sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY)));
    logical->palVersion = 0x300;
    logical->palNumEntries = 3;
    logical->palPalEntry[2] = PALETTEENTRY{0x12, 0x34, 0x56, 0};
    HPALETTE palette = CreatePalette(logical);
    std::free(logical);
    HPALETTE oldPalette = SelectPalette(dc, palette, FALSE);
    struct Case {
        const char* what;
        int bitCount;
        COLORREF color;
        std::uint32_t stored;  // raw pixel value at (0, 0)
        COLORREF read;
    };
    const Case cases[] = {
        {"DIBINDEX on 8 bits", 8, DIBINDEX(5), 5, RGB(0x10, 0x20, 0x30)},
        {"PALETTEINDEX on 32 bits", 32, PALETTEINDEX(2), 0x123456, RGB(0x12, 0x34, 0x56)},
        {"PALETTEINDEX past the palette", 32, PALETTEINDEX(3), 0, RGB(0, 0, 0)},
    };
    enum Tool { kSetPixel, kBrush, kPen, kPattern };
    for (const Case& c : cases) {
        for (Tool tool : {kSetPixel, kBrush, kPen, kPattern}) {
            SCOPED_TRACE(::testing::Message() << c.what << ", tool " << tool);
            Dib dib = MakeDib(2, -2, c.bitCount, table);  // top-down: bits start at (0, 0)
            HGDIOBJ oldBitmap = SelectObject(dc, dib.bitmap);
            HBRUSH brush = CreateSolidBrush(c.color);
            HPEN pen = CreatePen(PS_SOLID, 1, c.color);
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            HGDIOBJ oldPen = SelectObject(dc, pen);
            const RECT rect{0, 0, 1, 1};
            switch (tool) {
                case kSetPixel: EXPECT_EQ(SetPixel(dc, 0, 0, c.color), c.read); break;
                case kBrush: FillRect(dc, &rect, brush); break;
                case kPen: MoveToEx(dc, 0, 0, nullptr), LineTo(dc, 1, 0); break;
                case kPattern: BitBlt(dc, 0, 0, 1, 1, nullptr, 0, 0, PATCOPY); break;
            }
            std::uint32_t raw = 0;
            std::memcpy(&raw, dib.bits, std::size_t(c.bitCount / 8));
            EXPECT_EQ(raw, c.stored);
            EXPECT_EQ(GetPixel(dc, 0, 0), c.read);
            LOGBRUSH lb;
            GetObjectA(brush, sizeof lb, &lb);
            EXPECT_EQ(lb.lbColor, c.color) << "the brush keeps the index form";
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            SelectObject(dc, oldBitmap);
            DeleteObject(pen);
            DeleteObject(brush);
            DeleteObject(dib.bitmap);
        }
    }
    SelectPalette(dc, oldPalette, FALSE);
    DeleteObject(palette);
    DeleteDC(dc);
}

// --- Stretch geometry -------------------------------------------------------------

struct StretchCase {
    const char* what;
    int srcWidth, srcHeight;
    int mode;
    int xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc;
    std::vector<std::uint32_t> expected;  // the 2 x 2 destination, top row first; 0 = untouched
};

TEST(PlatformStretch, EliminatedPixelsAndMirroringAsThePlatform) {
    const std::vector<std::uint32_t> row = {0xff00, 0xf0f0, 0xcccc, 0xaaaa};
    const StretchCase cases[] = {
        {"2 -> 1 keeps pixel 0", 4, 1, BLACKONWHITE, 0, 0, 1, 1, 0, 0, 2, 1, {0xff00, 0, 0, 0}},
        {"3 -> 1: p0 & p1", 4, 1, BLACKONWHITE, 0, 0, 1, 1, 0, 0, 3, 1, {0xf000, 0, 0, 0}},
        {"4 -> 1: p0 & p1 & p2", 4, 1, BLACKONWHITE, 0, 0, 1, 1, 0, 0, 4, 1, {0xc000, 0, 0, 0}},
        {"4 -> 1 ORed: p0 | p1 | p2", 4, 1, WHITEONBLACK, 0, 0, 1, 1, 0, 0, 4, 1, {0xfffc, 0, 0, 0}},
        {"xSrc 2, width -2: p1 & p2", 4, 1, BLACKONWHITE, 0, 0, 1, 1, 2, 0, -2, 1, {0xc0c0, 0, 0, 0}},
        {"4 -> 2: p0 & p1, p2 & p3", 4, 1, BLACKONWHITE, 0, 0, 2, 1, 0, 0, 4, 1, {0xf000, 0x8888, 0, 0}},
        {"2 x 2 -> 1 x 1 keeps the top left", 2, 2, BLACKONWHITE, 0, 0, 1, 1, 0, 0, 2, 2, {0xff00, 0, 0, 0}},
    };
    const StretchCase mirrors[] = {
        {"source mirrored", 2, 2, 0, 0, 0, 2, 2, 1, 1, -2, -2, {0xaaaa, 0xcccc, 0xf0f0, 0xff00}},
        {"destination mirrored", 2, 2, 0, 1, 1, -2, -2, 0, 0, 2, 2, {0xaaaa, 0xcccc, 0xf0f0, 0xff00}},
    };
    std::vector<StretchCase> all(std::begin(cases), std::end(cases));
    for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE})
        for (StretchCase m : mirrors) {
            m.mode = mode;
            all.push_back(m);
        }
    ResourceGuard guard;
    HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
    for (const StretchCase& c : all) {
        SCOPED_TRACE(::testing::Message() << c.what << ", mode " << c.mode);
        Dib source = MakeDib(c.srcWidth, -c.srcHeight, 32), target = MakeDib(2, -2, 32);
        std::memcpy(source.bits, row.data(), 16);  // 4 x 1 or 2 x 2: the same four pixels
        HGDIOBJ oldFrom = SelectObject(from, source.bitmap), oldTo = SelectObject(to, target.bitmap);
        SetStretchBltMode(to, c.mode);
        ASSERT_TRUE(StretchBlt(to, c.xDest, c.yDest, c.wDest, c.hDest, from, c.xSrc, c.ySrc, c.wSrc, c.hSrc, SRCCOPY));
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Word(target.bits + 4 * i), c.expected[i]) << "pixel " << i;
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteObject(source.bitmap);
        DeleteObject(target.bitmap);
    }
    DeleteDC(from);
    DeleteDC(to);
}

// --- Handles, pens and GetObject's buffer -------------------------------------------

TEST(PlatformHandles, NullHandlesLeaveTheLastErrorAndBadBuffersFailCleanly) {
    ResourceGuard guard;
    SetLastError(1234);
    EXPECT_FALSE(DeleteObject(nullptr));
    BITMAP bm;
    EXPECT_EQ(GetObjectA(nullptr, sizeof bm, &bm), 0);
    EXPECT_EQ(GetLastError(), 1234u);

    const long page = sysconf(_SC_PAGESIZE);
    void* readOnly = mmap(nullptr, std::size_t(page), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(readOnly, MAP_FAILED);
    Dib dib = MakeDib(2, 2, 8);
    LOGPALETTE logical{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE palette = CreatePalette(&logical);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    HBRUSH brush = CreateSolidBrush(0);
    struct Case {
        HGDIOBJ object;
        int size;
        void* buffer;
    };
    const Case cases[] = {
        {dib.bitmap, sizeof(DIBSECTION), readOnly}, {dib.bitmap, sizeof(BITMAP), readOnly},
        {pen, sizeof(LOGPEN), readOnly},            {brush, sizeof(LOGBRUSH), readOnly},
        {palette, sizeof(WORD), readOnly},          {pen, sizeof(LOGPEN), reinterpret_cast<void*>(16)},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(GetObjectA(c.object, c.size, c.buffer), 0);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_NOACCESS));
    }
    munmap(readOnly, std::size_t(page));

    // A negative pen width is its magnitude; a wide dashed pen is solid.
    const struct {
        int style, width, wantStyle, wantWidth;
    } pens[] = {{PS_SOLID, -3, PS_SOLID, 3}, {PS_DASH, -2, PS_SOLID, 2}, {PS_DOT, -1, PS_DOT, 1}};
    for (const auto& p : pens) {
        HPEN made = CreatePen(p.style, p.width, 0);
        LOGPEN lp{};
        ASSERT_EQ(GetObjectA(made, sizeof lp, &lp), int(sizeof lp));
        EXPECT_EQ(int(lp.lopnStyle), p.wantStyle);
        EXPECT_EQ(lp.lopnWidth.x, p.wantWidth);
        DeleteObject(made);
    }
    for (HGDIOBJ object : {HGDIOBJ(dib.bitmap), HGDIOBJ(palette), HGDIOBJ(pen), HGDIOBJ(brush)}) DeleteObject(object);
}

// --- Made-up colour tables and section memory ------------------------------------------

TEST(PlatformTables, CompatibleBitmapsGetTheVgaOrderAndThe332Cube) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP compatible = CreateCompatibleBitmap(screen, 1, 1);
    ReleaseDC(nullptr, screen);
    Dib section = MakeDib(1, 1, 32);
    struct Case {
        HBITMAP bitmap;
        int bitCount, entry;
        RGBQUAD colour;
    };
    const Case cases[] = {
        {compatible, 4, 7, {0x80, 0x80, 0x80, 0}}, {compatible, 4, 8, {0xC0, 0xC0, 0xC0, 0}},
        {compatible, 4, 15, {0xFF, 0xFF, 0xFF, 0}}, {compatible, 8, 9, {0xF0, 0xCA, 0xA6, 0}},
        {compatible, 8, 10, {0x00, 0x20, 0x40, 0}}, {compatible, 8, 0x9F, {0x80, 0x60, 0xE0, 0}},
        {compatible, 8, 245, {0xC0, 0xC0, 0xA0, 0}}, {compatible, 8, 246, {0xF0, 0xFB, 0xFF, 0}},
        // A DIB section keeps its table: 20 statics, 6 x 6 x 6 cube, greys.
        {section.bitmap, 8, 11, {0x33, 0x00, 0x00, 0}}, {section.bitmap, 4, 7, {0xC0, 0xC0, 0xC0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bitCount << " bits, entry " << c.entry);
        BitmapInfoBuffer info = MakeInfo(1, 1, c.bitCount);
        ASSERT_NE(Get(dc, c.bitmap, 0, 1, nullptr, &info), 0);
        const RGBQUAD& got = info.colors[c.entry];
        EXPECT_EQ(RGB(got.rgbRed, got.rgbGreen, got.rgbBlue), RGB(c.colour.rgbRed, c.colour.rgbGreen, c.colour.rgbBlue));
    }
    DeleteObject(section.bitmap);
    DeleteObject(compatible);
    DeleteDC(dc);
}

TEST(PlatformSectionMemory, BitsArePageAlignedAndOwnTheirLastPage) {
    ResourceGuard guard;
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    const struct {
        int width, height, bitCount;
    } cases[] = {{1, 1, 32}, {3, 5, 24}, {100, 100, 8}, {1, 1, 1}};
    for (const auto& c : cases) {
        Dib dib = MakeDib(c.width, c.height, c.bitCount);
        DIBSECTION ds;
        ASSERT_EQ(GetObjectA(dib.bitmap, sizeof ds, &ds), int(sizeof ds));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ds.dsBm.bmBits) % page, 0u);
        // Writing past the last row but inside the last page is the
        // section's own memory.
        const std::size_t used = std::size_t(dib.stride) * std::size_t(c.height);
        const std::size_t pages = (used + page - 1) / page * page;
        std::memset(dib.bits + used, 0x5A, pages - used);
        DeleteObject(dib.bitmap);
    }
}

}  // namespace

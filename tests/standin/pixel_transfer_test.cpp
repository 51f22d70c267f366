// GetDIBits and SetDIBits: row order, padding, scan-line ranges and format
// conversion at every depth.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

using namespace testing_support;

namespace {

std::size_t Stride(int width, int bitCount) { return std::size_t(width * bitCount + 31) / 32 * 4; }

class Transfer : public ::testing::Test {
protected:
    ~Transfer() override { DeleteDC(dc_); }
    int Get(HBITMAP bitmap, UINT start, UINT lines, void* bits, BitmapInfoBuffer* info) {
        return GetDIBits(dc_, bitmap, start, lines, bits, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS);
    }
    int Set(HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BitmapInfoBuffer& info) {
        return SetDIBits(dc_, bitmap, start, lines, bits, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    ResourceGuard guard_;
    HDC dc_ = CreateCompatibleDC(nullptr);
};

// Random 24-bit rows (top row first, packed) of a width x height picture.
std::vector<std::uint8_t> RandomPicture(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> pixels(std::size_t(width * height * 3));
    for (auto& p : pixels) p = static_cast<std::uint8_t>(random());
    return pixels;
}

// Puts a packed top-down 24-bit picture into a bitmap through SetDIBits.
int SetPicture(HDC dc, HBITMAP bitmap, int width, int height, const std::vector<std::uint8_t>& pixels) {
    BitmapInfoBuffer info = MakeInfo(width, -height, 24);
    std::size_t stride = Stride(width, 24);
    std::vector<std::uint8_t> rows(stride * height);
    for (int y = 0; y < height; ++y) std::memcpy(&rows[stride * y], &pixels[std::size_t(y * width * 3)], width * 3);
    return SetDIBits(dc, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

TEST_F(Transfer, TrueColourRoundTripsExactlyThroughEveryRowOrder) {
    const int width = 7, height = 5;
    const std::vector<std::uint8_t> picture = RandomPicture(width, height, 1);
    for (int bitCount : {24, 32}) {
        for (int storedHeight : {height, -height}) {
            SCOPED_TRACE(::testing::Message() << bitCount << " bits, height " << storedHeight);
            Dib dib = MakeDib(width, storedHeight, bitCount);
            ASSERT_EQ(SetPicture(dc_, dib.bitmap, width, height, picture), height);
            EXPECT_EQ(ReadPixels24(dib.bitmap), picture);
            // Read back bottom-up: row 0 of the buffer is the bottom row.
            BitmapInfoBuffer info = MakeInfo(width, height, 24);
            std::vector<std::uint8_t> rows(Stride(width, 24) * height, 0xEE);
            ASSERT_EQ(Get(dib.bitmap, 0, height, rows.data(), &info), height);
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* row = &rows[Stride(width, 24) * y];
                EXPECT_EQ(0, std::memcmp(row, &picture[std::size_t((height - 1 - y) * width * 3)], width * 3));
                for (std::size_t pad = width * 3; pad < Stride(width, 24); ++pad)
                    EXPECT_EQ(row[pad], 0) << "row padding is cleared";
            }
            DeleteObject(dib.bitmap);
        }
    }
}

TEST_F(Transfer, ThirtyTwoBitsCarryTheFourthByteAsZero) {
    Dib dib = MakeDib(3, 2, 24);
    std::memset(dib.bits, 0x80, dib.stride * 2);
    BitmapInfoBuffer info = MakeInfo(3, 2, 32);
    std::uint32_t pixels[6];
    ASSERT_EQ(Get(dib.bitmap, 0, 2, pixels, &info), 2);
    for (std::uint32_t p : pixels) EXPECT_EQ(p, 0x00808080u);
    DeleteObject(dib.bitmap);
}

TEST_F(Transfer, OwnFormatIsCopiedWithItsColourTable) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        std::vector<RGBQUAD> colors;
        for (int i = 0; i < 256; ++i) colors.push_back(RGBQUAD{BYTE(i * 5), BYTE(i), BYTE(255 - i), 0});
        Dib dib = MakeDib(13, 6, bitCount, colors);
        for (int i = 0; i < dib.stride * 6; ++i) dib.bits[i] = static_cast<std::uint8_t>(i * 31 + 7);
        BitmapInfoBuffer info = MakeInfo(13, 6, WORD(bitCount));
        std::vector<std::uint8_t> rows(Stride(13, bitCount) * 6);
        ASSERT_EQ(Get(dib.bitmap, 0, 6, rows.data(), &info), 6);
        int pixelBytes = 13 * bitCount / 8;  // whole bytes; the rest is padding
        for (int y = 0; y < 6; ++y)
            EXPECT_EQ(0, std::memcmp(&rows[dib.stride * y], dib.bits + dib.stride * y, pixelBytes)) << y;
        if (bitCount <= 8) {
            EXPECT_EQ(0, std::memcmp(info.colors, colors.data(), sizeof(RGBQUAD) << bitCount));
        }
        DeleteObject(dib.bitmap);
    }
}

TEST_F(Transfer, IndexedBitmapsTakeTheNearestTableEntry) {
    const std::vector<RGBQUAD> colors = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    Dib dib = MakeDib(4, 1, 8, colors);
    // Blue-green-red bytes: near red, near green, exactly blue, near black.
    const std::vector<std::uint8_t> picture = {10, 10, 240, 5, 250, 0, 255, 0, 0, 20, 20, 20};
    ASSERT_EQ(SetPicture(dc_, dib.bitmap, 4, 1, picture), 1);
    EXPECT_EQ(dib.bits[0], 1);
    EXPECT_EQ(dib.bits[1], 2);
    EXPECT_EQ(dib.bits[2], 3);
    EXPECT_EQ(dib.bits[3], 0);
    DeleteObject(dib.bitmap);
}

TEST_F(Transfer, NearestEntryMatchesAnExhaustiveSearch) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        // Few distinct greens make many ties; full random tables make few.
        const int greens = round % 2 ? 256 : 4;
        std::vector<RGBQUAD> colors(256);
        for (auto& c : colors)
            c = RGBQUAD{BYTE(random()), BYTE(random() % greens * (255 / (greens - 1))), BYTE(random()), 0};
        if (round % 3 == 0) colors[200] = colors[10];  // duplicate entries tie to the lower index
        const int width = 64;
        Dib dib = MakeDib(width, 1, 8, colors);
        std::vector<std::uint8_t> picture = RandomPicture(width, 1, 100 + round);
        ASSERT_EQ(SetPicture(dc_, dib.bitmap, width, 1, picture), 1);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* px = &picture[std::size_t(x) * 3];
            int best = 0, bestDistance = 1 << 30;
            for (int i = 0; i < 256; ++i) {
                int db = colors[i].rgbBlue - px[0], dg = colors[i].rgbGreen - px[1], dr = colors[i].rgbRed - px[2];
                int distance = db * db + dg * dg + dr * dr;
                if (distance < bestDistance) bestDistance = distance, best = i;
            }
            ASSERT_EQ(dib.bits[x], best) << "round " << round << ", pixel " << x;
        }
        DeleteObject(dib.bitmap);
    }
}

TEST_F(Transfer, SixteenBitsWidenByReplication) {
    Dib dib = MakeDib(2, 1, 16);
    const std::uint16_t pixels[2] = {0x7FFF, 0x4210};  // white; 16 in every 5-bit channel
    std::memcpy(dib.bits, pixels, sizeof pixels);
    EXPECT_EQ(ReadPixels24(dib.bitmap), (std::vector<std::uint8_t>{255, 255, 255, 132, 132, 132}));
    DeleteObject(dib.bitmap);
}

TEST_F(Transfer, ScanLineRangesCountFromTheBottomOfABottomUpBuffer) {
    const int width = 2, height = 4;
    Dib dib = MakeDib(width, height, 24);
    const std::vector<std::uint8_t> picture = RandomPicture(width, height, 2);
    SetPicture(dc_, dib.bitmap, width, height, picture);
    BitmapInfoBuffer info = MakeInfo(width, height, 24);
    std::vector<std::uint8_t> rows(Stride(width, 24) * 2);
    // Scan lines 1 and 2 of a bottom-up buffer are picture rows 2 and 1.
    ASSERT_EQ(Get(dib.bitmap, 1, 2, rows.data(), &info), 2);
    EXPECT_EQ(0, std::memcmp(&rows[0], &picture[2 * width * 3], width * 3));
    EXPECT_EQ(0, std::memcmp(&rows[Stride(width, 24)], &picture[1 * width * 3], width * 3));
    // Lines beyond the picture are not copied; a start past the last line
    // moves nothing, and the platform answers 1.
    EXPECT_EQ(Get(dib.bitmap, 3, 5, rows.data(), &info), 1);
    EXPECT_EQ(Get(dib.bitmap, 4, 1, rows.data(), &info), 1);
    DeleteObject(dib.bitmap);
}

TEST_F(Transfer, QueriesAndRefusals) {
    Dib dib = MakeDib(5, -3, 16);
    BitmapInfoBuffer info = MakeInfo(0, 0, 0);
    ASSERT_NE(Get(dib.bitmap, 0, 3, nullptr, &info), 0);
    EXPECT_EQ(info.header.biWidth, 5);
    EXPECT_EQ(info.header.biHeight, -3);
    EXPECT_EQ(info.header.biBitCount, 16);
    EXPECT_EQ(info.header.biSizeImage, 12u * 3u);

    std::vector<std::uint8_t> rows(64);
    BitmapInfoBuffer asked = MakeInfo(5, 3, 24);
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(other, dib.bitmap);
    EXPECT_EQ(Get(dib.bitmap, 0, 3, rows.data(), &asked), 3) << "a section is read wherever it is selected";
    EXPECT_EQ(Set(dib.bitmap, 0, 3, rows.data(), asked), 0) << "selected into a context";
    SelectObject(other, previous);
    DeleteDC(other);
    EXPECT_EQ(GetDIBits(nullptr, dib.bitmap, 0, 3, rows.data(), reinterpret_cast<BITMAPINFO*>(&asked),
                        DIB_RGB_COLORS),
              0);
    const UINT unknownUsage = DIB_PAL_COLORS + 1;
    EXPECT_EQ(GetDIBits(dc_, dib.bitmap, 0, 3, rows.data(), reinterpret_cast<BITMAPINFO*>(&asked), unknownUsage),
              0);
    BitmapInfoBuffer bad = MakeInfo(5, 3, 24);
    bad.header.biCompression = BI_RLE8;
    EXPECT_EQ(Set(dib.bitmap, 0, 3, rows.data(), bad), 0);
    EXPECT_EQ(Set(dib.bitmap, 0, 3, nullptr, asked), 0);
    DeleteObject(dib.bitmap);
}

// Calls whose buffers are allocated exactly as the caller's header declares
// them: any row or colour entry moved beyond that is an overrun.
struct BoundsCase {
    const char* what;
    int bitmapHeight;   // of a 16-wide 24-bit bitmap
    DWORD headerSize;
    LONG height;        // of the caller's 16-wide header
    WORD bitCount;
    bool set;           // SetDIBits, else GetDIBits
    UINT start, lines;
    int moved;          // 0: refused with ERROR_INVALID_PARAMETER
};

TEST_F(Transfer, NeverMovesMoreThanTheCallersHeaderDeclares) {
    const BoundsCase cases[] = {
        {"read 64 lines into a one-row buffer", 64, 40, 1, 32, false, 0, 64, 1},
        {"write 64 lines from a one-row buffer", 64, 40, 1, 32, true, 0, 64, 1},
        // Scan lines count in the caller's DIB: line 10 of a two-row one is
        // past its end, so nothing moves, and the platform answers 1.
        {"read from line 10 of a top-down two-row buffer", 64, 40, -2, 24, false, 10, 20, 1},
        {"write 64 lines from line 1 of a three-row buffer", 64, 40, 3, 24, true, 1, 64, 2},
        {"colour table after a 4096-byte header", 4, 0x1000, 4, 8, false, 0, 4, 4},
        {"41-byte header", 4, 41, 4, 8, false, 0, 4, 4},
        {"4097-byte header", 4, 0x1001, 4, 8, false, 0, 4, 0},
        {"12-byte core header", 4, 12, 4, 8, false, 0, 4, 0},
        {"write with a 4096-byte header", 4, 0x1000, 4, 8, true, 0, 4, 4},
        {"52-byte header", 4, 52, 4, 8, false, 0, 4, 4},
        {"56-byte header", 4, 56, 4, 8, false, 0, 4, 4},
        {"108-byte header", 4, 108, 4, 8, false, 0, 4, 4},
        {"124-byte header", 4, 124, 4, 8, false, 0, 4, 4},
    };
    for (const BoundsCase& c : cases) {
        SCOPED_TRACE(c.what);
        Dib dib = MakeDib(16, c.bitmapHeight, 24);
        // The header, then room for 256 colours; a header larger than the
        // stand-in takes gets the plain 40-byte size's room.
        const std::size_t headerRoom = c.headerSize <= 0x1000 ? std::max<DWORD>(c.headerSize, 40) : 40;
        std::vector<std::uint8_t> info(headerRoom + 256 * sizeof(RGBQUAD));
        BITMAPINFOHEADER header = MakeInfo(16, c.height, c.bitCount).header;
        header.biSize = c.headerSize;
        std::memcpy(info.data(), &header, sizeof header);
        std::vector<std::uint8_t> rows(Stride(16, c.bitCount) * std::size_t(c.height < 0 ? -c.height : c.height));
        auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
        SetLastError(0);
        int moved = c.set ? SetDIBits(dc_, dib.bitmap, c.start, c.lines, rows.data(), bmi, DIB_RGB_COLORS)
                          : GetDIBits(dc_, dib.bitmap, c.start, c.lines, rows.data(), bmi, DIB_RGB_COLORS);
        EXPECT_EQ(moved, c.moved);
        if (c.moved == 0) {
            EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
        }
        DeleteObject(dib.bitmap);
    }
}

// Rows narrower than the bitmap at 1 and 4 bits share their last byte with
// pixels beyond their width: those keep their values (SetDIBits), or read
// as zero padding (GetDIBits).
struct PartialByteCase {
    int bitCount;
    int bitmapWidth, pictureWidth;
    bool set;
    std::vector<std::uint8_t> row;  // the bitmap's row after SetDIBits, or the buffer's after GetDIBits
};

TEST_F(Transfer, ANarrowRowMovesOnlyItsOwnPixels) {
    const PartialByteCase cases[] = {
        {1, 16, 3, true, {0x1F, 0xFF, 0xFF, 0xFF}},
        {1, 16, 9, true, {0x00, 0x7F, 0xFF, 0xFF}},
        {4, 8, 3, true, {0x00, 0x0F, 0xFF, 0xFF}},
        {1, 16, 3, false, {0xE0, 0, 0, 0}},
        {4, 8, 3, false, {0xFF, 0xF0, 0, 0}},
    };
    for (const PartialByteCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bitCount << " bits, " << c.pictureWidth << " of " << c.bitmapWidth
                                          << (c.set ? ", set" : ", get"));
        Dib dib = MakeDib(c.bitmapWidth, 1, c.bitCount);  // grey ramp
        BitmapInfoBuffer info = MakeInfo(c.pictureWidth, 1, c.bitCount);
        const int entries = 1 << c.bitCount;
        for (int i = 0; i < entries; ++i) {
            BYTE v = static_cast<BYTE>(i * 255 / (entries - 1));
            info.colors[i] = RGBQUAD{v, v, v, 0};
        }
        std::memset(dib.bits, 0xFF, std::size_t(dib.stride));
        std::vector<std::uint8_t> row(4, 0);
        if (c.set) {
            ASSERT_EQ(Set(dib.bitmap, 0, 1, row.data(), info), 1);
            EXPECT_EQ(std::vector<std::uint8_t>(dib.bits, dib.bits + 4), c.row);
        } else {
            ASSERT_EQ(Get(dib.bitmap, 0, 1, row.data(), &info), 1);
            EXPECT_EQ(row, c.row);
        }
        DeleteObject(dib.bitmap);
    }
}

// The table made up for an 8-bit read of a true-colour bitmap holds the 20
// static colours of the default palette, so each reads back exactly.
TEST_F(Transfer, EightBitReadsKeepTheDefaultPalettesStaticColours) {
    const COLORREF statics[] = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
        0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    for (COLORREF color : statics) {
        SCOPED_TRACE(::testing::Message() << std::hex << color);
        Dib dib = MakeDib(1, 1, 24);
        dib.bits[0] = GetBValue(color), dib.bits[1] = GetGValue(color), dib.bits[2] = GetRValue(color);
        BitmapInfoBuffer info = MakeInfo(1, 1, 8);
        std::uint8_t index[4] = {};
        ASSERT_EQ(Get(dib.bitmap, 0, 1, index, &info), 1);
        const RGBQUAD& entry = info.colors[index[0]];
        EXPECT_EQ(RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue), color);
        DeleteObject(dib.bitmap);
    }
}

}  // namespace

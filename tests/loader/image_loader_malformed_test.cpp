// LoadImageA on files that are wrong: cut short anywhere, impossible or
// oversized geometry, unknown headers and compressions, pixel offsets
// inside the headers, bad masks and run-length streams that leave the
// picture. Each must give NULL with nothing leaked (and, under the
// sanitizers, no access outside the file's bytes). Also the limits that
// still load and the documented treatment of pixels an RLE stream skips.
#include "bmp_builder.h"
#include "resource_guard.h"
#include "test_support.h"

#include <standin/testing.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace bmp_builder;
using standin::BmpRefusal;
using standin::ExamineBmp;

constexpr UINT kFromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

class MalformedTest : public ::testing::Test {
protected:
    HBITMAP Load(const Bytes& file) {
        const std::string path = dir_.File("image.bmp");
        testing_support::WriteBytes(path, file);
        return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kFromFile));
    }

    testing_support::TempDir dir_;
    testing_support::ResourceGuard guard_;
};

Sample TestSample(int colours, bool cubeCorners = false) {
    std::mt19937 random(99);
    return RandomSample(&random, 6, 5, colours, cubeCorners);
}

BmpParts Indexed8V5() {
    const Sample s = TestSample(16);
    BmpParts p;
    p.headerSize = 124;
    p.width = s.width;
    p.height = s.height;
    p.bitCount = 8;
    p.palette = s.palette;
    p.clrUsed = 16;
    p.pixels = IndexedRows(s, 8, false);
    return p;
}

BmpParts Bitfields565() {
    const Sample s = TestSample(8, true);
    const std::uint32_t masks[4] = {0xF800, 0x07E0, 0x001F, 0};
    BmpParts p;
    p.width = s.width;
    p.height = s.height;
    p.bitCount = 16;
    p.compression = BI_BITFIELDS;
    p.masksAfterHeader = {masks[0], masks[1], masks[2]};
    p.pixels = DirectRows(s, 2, masks, false);
    return p;
}

BmpParts Core24() {
    const Sample s = TestSample(50);
    const std::uint32_t none[4] = {0, 0, 0, 0};
    BmpParts p;
    p.headerSize = 12;
    p.width = s.width;
    p.height = s.height;
    p.bitCount = 24;
    p.pixels = DirectRows(s, 3, none, false);
    return p;
}

BmpParts RunLength(RleKind kind) {
    const Sample s = TestSample(kind == RleKind::Rle4 ? 16 : 40);
    BmpParts p;
    p.width = s.width;
    p.height = s.height;
    p.bitCount = kind == RleKind::Rle4 ? 4 : 8;
    p.compression = kind == RleKind::Rle4 ? BI_RLE4 : BI_RLE8;
    p.palette = s.palette;
    p.clrUsed = static_cast<std::uint32_t>(s.palette.size());
    p.pixels = RleStream(s, kind);
    return p;
}

TEST_F(MalformedTest, EveryValidFileCutShortAnywhereIsRefused) {
    const std::pair<const char*, BmpParts> files[] = {
        {"8-bit V5", Indexed8V5()},          {"16-bit bitfields", Bitfields565()},
        {"24-bit core", Core24()},           {"RLE8", RunLength(RleKind::Rle8)},
        {"RLE4", RunLength(RleKind::Rle4)},
    };
    for (const auto& [name, parts] : files) {
        const Bytes whole = BuildBmp(parts);
        HBITMAP complete = Load(whole);
        ASSERT_NE(complete, nullptr) << name;
        DeleteObject(complete);
        for (std::size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(std::string(name) + " cut to " + std::to_string(length) + " bytes");
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_NE(ExamineBmp(cut.data(), cut.size()), BmpRefusal::None);
            HBITMAP bitmap = Load(cut);
            EXPECT_EQ(bitmap, nullptr);
            if (bitmap != nullptr) DeleteObject(bitmap);
        }
    }
}

// Two bytes: an RLE pair.
Bytes Pair(std::uint8_t first, std::uint8_t second) { return Bytes{first, second}; }

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

BmpParts WithStream(BmpParts p, Bytes stream) {
    p.pixels = std::move(stream);
    return p;
}

const Bytes kEndOfLine = Pair(0, 0);
const Bytes kEndOfBitmap = Pair(0, 1);

struct MalformedCase {
    const char* name;
    BmpRefusal reason;
    std::function<Bytes()> build;
};

Bytes Modified(BmpParts p, const std::function<void(BmpParts*)>& change) {
    change(&p);
    return BuildBmp(p);
}

Bytes Patched(const Bytes& file, std::size_t offset, std::uint32_t value, int bytes = 4) {
    Bytes out = file;
    for (int i = 0; i < bytes; ++i) out[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return out;
}

constexpr std::size_t kOffBitsField = 10;

std::vector<MalformedCase> MalformedCases() {
    const BmpParts v5 = Indexed8V5();
    const BmpParts bf = Bitfields565();
    const BmpParts rle8 = RunLength(RleKind::Rle8);
    const BmpParts rle4 = RunLength(RleKind::Rle4);
    const auto geometry = [v5](std::int32_t width, std::int32_t height) {
        return Modified(v5, [=](BmpParts* p) { p->width = width; p->height = height; });
    };
    const auto masks = [bf](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return Modified(bf, [=](BmpParts* p) { p->masksAfterHeader = {r, g, b}; });
    };
    const auto alphaMask = [](std::uint32_t alpha) {
        BmpParts p = Bitfields565();
        p.headerSize = 124;
        p.masksAfterHeader.clear();
        const std::uint32_t m[4] = {0x0F00, 0x00F0, 0x000F, alpha};
        std::copy(m, m + 4, p.headerMasks);
        return BuildBmp(p);
    };
    const auto rle8Stream = [rle8](Bytes stream) { return BuildBmp(WithStream(rle8, std::move(stream))); };
    const auto rle4Stream = [rle4](Bytes stream) { return BuildBmp(WithStream(rle4, std::move(stream))); };
    const auto headerSize = [v5](std::uint32_t size) {
        return Patched(BuildBmp(v5), 14, size);
    };
    const auto bits = [v5](std::uint16_t bitCount, std::uint32_t compression) {
        return Modified(v5, [=](BmpParts* p) { p->bitCount = bitCount; p->compression = compression; });
    };
    return {
        // Signature.
        {"signature MB", BmpRefusal::NotBmp, [v5] { return Patched(BuildBmp(v5), 0, 0x424D, 2); }},
        {"signature BA (bitmap array)", BmpRefusal::NotBmp, [v5] { return Patched(BuildBmp(v5), 0, 0x4142, 2); }},
        // Geometry.
        {"width 0", BmpRefusal::BadGeometry, [=] { return geometry(0, 5); }},
        {"width -6", BmpRefusal::BadGeometry, [=] { return geometry(-6, 5); }},
        {"width INT32_MIN", BmpRefusal::BadGeometry, [=] { return geometry(INT32_MIN, 5); }},
        {"height 0", BmpRefusal::BadGeometry, [=] { return geometry(6, 0); }},
        {"height INT32_MIN", BmpRefusal::BadGeometry, [=] { return geometry(6, INT32_MIN); }},
        {"width INT32_MAX", BmpRefusal::TooLarge, [=] { return geometry(INT32_MAX, 5); }},
        {"height INT32_MAX", BmpRefusal::TooLarge, [=] { return geometry(6, INT32_MAX); }},
        {"width above the dimension cap", BmpRefusal::TooLarge, [=] { return geometry(65537, 1); }},
        {"height above the dimension cap", BmpRefusal::TooLarge, [=] { return geometry(1, -65537); }},
        {"pixel block above the byte cap", BmpRefusal::TooLarge, [=] { return geometry(65536, 65536); }},
        {"rows missing from the file", BmpRefusal::TruncatedPixels, [=] { return geometry(10000, 10000); }},
        {"core width 0", BmpRefusal::BadGeometry, [] { return Modified(Core24(), [](BmpParts* p) { p->width = 0; }); }},
        {"planes 0", BmpRefusal::BadPlanes, [v5] { return Modified(v5, [](BmpParts* p) { p->planes = 0; }); }},
        {"planes 2", BmpRefusal::BadPlanes, [v5] { return Modified(v5, [](BmpParts* p) { p->planes = 2; }); }},
        // Bit counts and compressions.
        {"0 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(0, BI_RGB); }},
        {"3 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(3, BI_RGB); }},
        {"7 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(7, BI_RGB); }},
        {"48 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(48, BI_RGB); }},
        {"30000 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(30000, BI_RGB); }},
        {"JPEG", BmpRefusal::UnsupportedFormat, [=] { return bits(0, BI_JPEG); }},
        {"PNG", BmpRefusal::UnsupportedFormat, [=] { return bits(0, BI_PNG); }},
        {"compression 7", BmpRefusal::UnsupportedFormat, [=] { return bits(8, 7); }},
        {"compression 0xFFFFFFFF", BmpRefusal::UnsupportedFormat, [=] { return bits(8, 0xFFFFFFFF); }},
        {"bitfields at 8 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(8, BI_BITFIELDS); }},
        {"bitfields at 24 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(24, BI_BITFIELDS); }},
        {"RLE8 at 4 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(4, BI_RLE8); }},
        {"RLE4 at 8 bits", BmpRefusal::UnsupportedFormat, [=] { return bits(8, BI_RLE4); }},
        {"RLE24 code in a Windows header", BmpRefusal::UnsupportedFormat, [=] { return bits(24, kOs2Rle24); }},
        {"Huffman in an OS/2 header", BmpRefusal::UnsupportedFormat,
         [v5] { return Modified(v5, [](BmpParts* p) { p->headerSize = 64; p->bitCount = 1; p->compression = 3; }); }},
        // Header sizes.
        {"header size 0", BmpRefusal::UnknownHeaderSize, [=] { return headerSize(0); }},
        {"header size 8", BmpRefusal::UnknownHeaderSize, [=] { return headerSize(8); }},
        {"header size 20", BmpRefusal::UnknownHeaderSize, [=] { return headerSize(20); }},
        {"header size 41", BmpRefusal::UnknownHeaderSize, [=] { return headerSize(41); }},
        {"header size 66", BmpRefusal::UnknownHeaderSize, [=] { return headerSize(66); }},
        {"header size 125", BmpRefusal::UnknownHeaderSize, [=] { return headerSize(125); }},
        {"header size 0xFFFFFFFF", BmpRefusal::UnknownHeaderSize, [=] { return headerSize(0xFFFFFFFF); }},
        // Where the pixels start.
        {"pixel offset 0", BmpRefusal::BadPixelOffset, [v5] { return Patched(BuildBmp(v5), kOffBitsField, 0); }},
        {"pixel offset 14", BmpRefusal::BadPixelOffset, [v5] { return Patched(BuildBmp(v5), kOffBitsField, 14); }},
        {"pixel offset inside the header", BmpRefusal::BadPixelOffset, [v5] { return Patched(BuildBmp(v5), kOffBitsField, 14 + 100); }},
        {"pixel offset inside the masks", BmpRefusal::BadPixelOffset, [bf] { return Patched(BuildBmp(bf), kOffBitsField, 14 + 40 + 8); }},
        {"pixel offset past the end", BmpRefusal::BadPixelOffset, [v5] {
             Bytes f = BuildBmp(v5);
             return Patched(f, kOffBitsField, static_cast<std::uint32_t>(f.size() + 1));
         }},
        {"pixel offset 0xFFFFFFFF", BmpRefusal::BadPixelOffset, [v5] { return Patched(BuildBmp(v5), kOffBitsField, 0xFFFFFFFF); }},
        {"pixel offset a row late", BmpRefusal::TruncatedPixels, [v5] { return Modified(v5, [](BmpParts* p) { p->offBitsDelta = 8; }); }},
        {"no colour table at all", BmpRefusal::NoColourTable, [v5] { return Modified(v5, [](BmpParts* p) { p->palette.clear(); }); }},
        // Masks.
        {"red mask empty", BmpRefusal::BadMasks, [=] { return masks(0, 0x07E0, 0x001F); }},
        {"green mask empty", BmpRefusal::BadMasks, [=] { return masks(0xF800, 0, 0x001F); }},
        {"blue mask empty", BmpRefusal::BadMasks, [=] { return masks(0xF800, 0x07E0, 0); }},
        {"masks overlap", BmpRefusal::BadMasks, [=] { return masks(0xF800, 0x0FE0, 0x001F); }},
        {"mask not contiguous", BmpRefusal::BadMasks, [=] { return masks(0xF800, 0x07E0, 0x0015); }},
        {"mask beyond 16 bits", BmpRefusal::BadMasks, [=] { return masks(0x1F0000, 0x07E0, 0x001F); }},
        {"alpha overlaps red", BmpRefusal::BadMasks, [=] { return alphaMask(0x1800); }},
        {"alpha not contiguous", BmpRefusal::BadMasks, [=] { return alphaMask(0xA000); }},
        {"alpha beyond 16 bits", BmpRefusal::BadMasks, [=] { return alphaMask(0xF0000); }},
        // Run-length streams.
        {"RLE absolute run cut short", BmpRefusal::BadRunLength, [=] { return rle8Stream(Concat({Pair(0, 5), Bytes{1, 2, 3}})); }},
        {"RLE delta past the row end", BmpRefusal::BadRunLength, [=] { return rle8Stream(Concat({Pair(0, 2), Pair(7, 0), kEndOfBitmap})); }},
        {"RLE delta past the top", BmpRefusal::BadRunLength, [=] { return rle8Stream(Concat({Pair(0, 2), Pair(0, 6), kEndOfBitmap})); }},
        {"RLE delta cut short", BmpRefusal::BadRunLength, [=] { return rle8Stream(Concat({Pair(2, 1), Pair(0, 2), Bytes{1}})); }},
        {"RLE pixels above the top", BmpRefusal::BadRunLength,
         [=] {
             return rle8Stream(Concat({kEndOfLine, kEndOfLine, kEndOfLine, kEndOfLine, kEndOfLine, Pair(1, 1),
                                       kEndOfBitmap}));
         }},
        {"RLE end of line past the top", BmpRefusal::BadRunLength,
         [=] { return rle8Stream(Concat({kEndOfLine, kEndOfLine, kEndOfLine, kEndOfLine, kEndOfLine, kEndOfLine})); }},
        {"RLE stream ends before the last row", BmpRefusal::BadRunLength, [=] { return rle8Stream(Concat({Pair(6, 1), kEndOfLine})); }},
        {"RLE empty stream", BmpRefusal::BadRunLength, [=] { return rle8Stream({}); }},
        {"RLE top-down", BmpRefusal::TopDownRunLength, [rle8] { return Modified(rle8, [](BmpParts* p) { p->height = -p->height; }); }},
    };
}

TEST_F(MalformedTest, EveryMalformedFileIsRefusedAsInvalidDataForItsReason) {
    for (const MalformedCase& c : MalformedCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file = c.build();
        EXPECT_EQ(ExamineBmp(file.data(), file.size()), c.reason);
        SetLastError(0);
        HBITMAP bitmap = Load(file);
        EXPECT_EQ(bitmap, nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
}

TEST_F(MalformedTest, PicturesAtTheDimensionCapStillLoad) {
    // RLE lets a few bytes describe the largest allowed sides.
    for (auto [width, height] : {std::pair<int, int>{65536, 1}, {1, 65536}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        BmpParts p = RunLength(RleKind::Rle8);
        p.width = width;
        p.height = height;
        p.pixels = Concat({Pair(1, 3), kEndOfBitmap});
        HBITMAP bitmap = Load(BuildBmp(p));
        ASSERT_NE(bitmap, nullptr);
        BITMAP bm;
        ASSERT_NE(GetObjectA(bitmap, sizeof bm, &bm), 0);
        EXPECT_EQ(bm.bmWidth, width);
        EXPECT_EQ(bm.bmHeight, height);
        DeleteObject(bitmap);
    }
}

// Reads back the bottom rows of a small RLE picture as palette indices,
// matching colours against the table.
std::vector<int> IndicesOf(HBITMAP bitmap, const std::vector<RGBQUAD>& palette) {
    const std::vector<std::uint8_t> rgb = testing_support::ReadPixels24(bitmap);
    std::vector<int> indices;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        int found = -1;
        for (std::size_t k = 0; k < palette.size() && found < 0; ++k)
            if (palette[k].rgbBlue == rgb[i] && palette[k].rgbGreen == rgb[i + 1] && palette[k].rgbRed == rgb[i + 2])
                found = static_cast<int>(k);
        indices.push_back(found);
    }
    return indices;
}

TEST_F(MalformedTest, PixelsAnRleStreamSkipsKeepTheFirstColour) {
    // 4 x 3: bottom row 1 1 _ 2 via a delta, middle row ended early,
    // top row never reached before end-of-bitmap.
    BmpParts p = RunLength(RleKind::Rle8);
    p.width = 4;
    p.height = 3;
    p.palette = {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}, {4, 4, 4, 0}};
    p.clrUsed = 4;
    p.pixels = Concat({Pair(2, 1), Pair(0, 2), Pair(1, 0), Pair(1, 2), kEndOfLine, Pair(1, 3), kEndOfLine,
                       kEndOfBitmap});
    HBITMAP bitmap = Load(BuildBmp(p));
    ASSERT_NE(bitmap, nullptr);
    const std::vector<int> expected = {0, 0, 0, 0,  // top row: untouched
                                       3, 0, 0, 0,  // middle: one pixel, then end of line
                                       1, 1, 0, 2}; // bottom: run, skip one, run
    EXPECT_EQ(IndicesOf(bitmap, p.palette), expected);
    DeleteObject(bitmap);
}

TEST_F(MalformedTest, AnRleStreamThatFillsEveryRowNeedsNoEndOfBitmap) {
    BmpParts p = RunLength(RleKind::Rle8);
    p.width = 2;
    p.height = 2;
    p.pixels = Concat({Pair(2, 1), kEndOfLine, Pair(2, 2), kEndOfLine});
    HBITMAP bitmap = Load(BuildBmp(p));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(IndicesOf(bitmap, p.palette), (std::vector<int>{2, 2, 1, 1}));
    DeleteObject(bitmap);
}

TEST_F(MalformedTest, RunsPastTheRowEndKeepThePixelsThatFit) {
    // 4 x 2 pictures, top row first in `expected`; what passes the row end
    // is dropped and the stream goes on.
    const struct {
        const char* name;
        RleKind kind;
        Bytes stream;
        std::vector<int> expected;
    } cases[] = {
        {"RLE8 run", RleKind::Rle8, Concat({Pair(6, 1), kEndOfLine, Pair(2, 2), kEndOfBitmap}), {2, 2, 0, 0, 1, 1, 1, 1}},
        {"RLE8 run after a full row", RleKind::Rle8, Concat({Pair(4, 1), Pair(1, 3), kEndOfLine, Pair(1, 2), kEndOfBitmap}),
         {2, 0, 0, 0, 1, 1, 1, 1}},
        {"RLE8 absolute run", RleKind::Rle8, Concat({Pair(2, 1), Pair(0, 4), Bytes{3, 2, 3, 2}, kEndOfBitmap}),
         {0, 0, 0, 0, 1, 1, 3, 2}},
        {"RLE4 run", RleKind::Rle4, Concat({Pair(7, 0x12), kEndOfBitmap}), {0, 0, 0, 0, 1, 2, 1, 2}},
        {"RLE4 absolute run", RleKind::Rle4, Concat({Pair(0, 7), Bytes{0x12, 0x31, 0x23, 0x10}, kEndOfBitmap}),
         {0, 0, 0, 0, 1, 2, 3, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts p = RunLength(c.kind);
        p.width = 4;
        p.height = 2;
        p.palette = {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}, {4, 4, 4, 0}};
        p.clrUsed = 4;
        p.pixels = c.stream;
        HBITMAP bitmap = Load(BuildBmp(p));
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(IndicesOf(bitmap, p.palette), c.expected);
        DeleteObject(bitmap);
    }
}

TEST_F(MalformedTest, RunLengthStreamsMayDeclareOnlyPicturesTheirLengthCanBound) {
    // The bound is 4 Mi pixels plus 256 a stream byte: 4096 x 1028 needs a
    // 64-byte stream. Each bomb is a 60-byte file declaring 1 GiB of pixels.
    const auto endOfLines = [](int count) {
        Bytes stream;
        for (int i = 0; i < count; ++i) stream = Concat({stream, kEndOfLine});
        return Concat({stream, kEndOfBitmap});
    };
    const struct {
        const char* name;
        RleKind kind;
        std::int32_t width, height;
        Bytes stream;
        bool loads;
    } cases[] = {
        {"RLE8 bomb, 32768 x 32768", RleKind::Rle8, 32768, 32768, kEndOfBitmap, false},
        {"RLE4 bomb, 65536 x 32768", RleKind::Rle4, 65536, 32768, kEndOfBitmap, false},
        {"RLE8 at the bound", RleKind::Rle8, 4096, 1028, endOfLines(31), true},
        {"RLE8 two bytes short", RleKind::Rle8, 4096, 1028, endOfLines(30), false},
        {"RLE4 at the bound", RleKind::Rle4, 4096, 1028, endOfLines(31), true},
        {"RLE4 two bytes short", RleKind::Rle4, 4096, 1028, endOfLines(30), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts p = RunLength(c.kind);
        p.width = c.width;
        p.height = c.height;
        p.palette.resize(1);
        p.clrUsed = 1;
        p.pixels = c.stream;
        const Bytes file = BuildBmp(p);
        if (c.stream.size() == 2) {
            EXPECT_EQ(file.size(), 60u);
        }
        SetLastError(0);
        HBITMAP bitmap = Load(file);
        EXPECT_EQ(bitmap != nullptr, c.loads);
        if (!c.loads) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
        }
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
}

}  // namespace

// LoadImageA on BMP files built in memory: every pixel format the loader
// reads, at many widths (row padding) and in both row orders, compared
// pixel by pixel through GetDIBits; the DIB format each is held in; the
// requests it serves and refuses; and its failure paths.
#include "bmp_builder.h"
#include "resource_guard.h"
#include "test_support.h"

#include <standin/testing.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace bmp_builder;
using testing_support::ReadPixels;

constexpr UINT kFromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

// Index of the first pixel whose colour differs from the sample, or -1.
long FirstColourMismatch(const std::vector<RGBQUAD>& pixels, const Sample& sample) {
    if (pixels.size() != sample.indices.size()) return 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const RGBQUAD& want = sample.palette[sample.indices[i]];
        if (pixels[i].rgbBlue != want.rgbBlue || pixels[i].rgbGreen != want.rgbGreen ||
            pixels[i].rgbRed != want.rgbRed)
            return static_cast<long>(i);
    }
    return -1;
}

DIBSECTION SectionOf(HBITMAP bitmap) {
    DIBSECTION ds{};
    GetObjectA(bitmap, sizeof ds, &ds);
    return ds;
}

class LoaderTest : public ::testing::Test {
protected:
    std::string Store(const Bytes& file, const std::string& name = "image.bmp") {
        const std::string path = dir_.File(name);
        testing_support::WriteBytes(path, file);
        return path;
    }
    HBITMAP Load(const Bytes& file, UINT flags = kFromFile, int cx = 0, int cy = 0) {
        const std::string path = Store(file);
        return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy, flags));
    }

    testing_support::TempDir dir_;
    testing_support::ResourceGuard guard_;
};

// ---- Encodings of a sample in every format the loader reads -------------

using Masks = std::array<std::uint32_t, 4>;  // red, green, blue, alpha
constexpr Masks kRgb555{0x7C00, 0x03E0, 0x001F, 0};
constexpr Masks kRgb565{0xF800, 0x07E0, 0x001F, 0};
constexpr Masks kRgb888{0xFF0000, 0x00FF00, 0x0000FF, 0};

BmpParts Indexed(const Sample& s, int bitCount, std::uint32_t headerSize = 40, bool topDown = false) {
    BmpParts p;
    p.headerSize = headerSize;
    p.width = s.width;
    p.height = topDown ? -s.height : s.height;
    p.bitCount = static_cast<std::uint16_t>(bitCount);
    p.palette = s.palette;
    p.clrUsed = static_cast<std::uint32_t>(s.palette.size());
    p.pixels = IndexedRows(s, bitCount, topDown);
    return p;
}

BmpParts RunLength(const Sample& s, RleKind kind) {
    BmpParts p;
    p.width = s.width;
    p.height = s.height;
    switch (kind) {
        case RleKind::Rle8: p.bitCount = 8; p.compression = BI_RLE8; break;
        case RleKind::Rle4: p.bitCount = 4; p.compression = BI_RLE4; break;
        case RleKind::Rle24: p.bitCount = 24; p.compression = kOs2Rle24; p.headerSize = 64; break;
    }
    if (kind != RleKind::Rle24) {
        p.palette = s.palette;
        p.clrUsed = static_cast<std::uint32_t>(s.palette.size());
    }
    p.pixels = RleStream(s, kind);
    return p;
}

BmpParts Direct(const Sample& s, int bitCount, std::uint32_t compression, const Masks& masks,
                std::uint32_t headerSize = 40, bool topDown = false) {
    BmpParts p;
    p.headerSize = headerSize;
    p.width = s.width;
    p.height = topDown ? -s.height : s.height;
    p.bitCount = static_cast<std::uint16_t>(bitCount);
    p.compression = compression;
    if (compression != BI_RGB && headerSize >= 52) {
        std::copy(masks.begin(), masks.end(), p.headerMasks);
    } else if (compression != BI_RGB) {
        p.masksAfterHeader.assign(masks.begin(), masks.begin() + (compression == kBiAlphaBitfields ? 4 : 3));
    }
    p.pixels = DirectRows(s, bitCount / 8, masks.data(), topDown);
    return p;
}

BmpParts Rgba64(const Sample& s) {
    BmpParts p;
    p.width = s.width;
    p.height = s.height;
    p.bitCount = 64;
    p.pixels = Rgba64Rows(s);
    return p;
}

struct FormatCase {
    const char* name;
    int colours;       // palette size of the sample
    bool cubeCorners;  // only colours every channel width holds exactly
    BmpParts (*encode)(const Sample&);
    int dibBits;       // the DIB section the picture is held in
    DWORD dibCompression;
};

const FormatCase kFormats[] = {
    {"1-bit", 2, false, [](const Sample& s) { return Indexed(s, 1); }, 1, BI_RGB},
    {"2-bit", 4, false, [](const Sample& s) { return Indexed(s, 2); }, 4, BI_RGB},
    {"4-bit", 16, false, [](const Sample& s) { return Indexed(s, 4); }, 4, BI_RGB},
    {"8-bit", 256, false, [](const Sample& s) { return Indexed(s, 8); }, 8, BI_RGB},
    {"8-bit top-down", 200, false, [](const Sample& s) { return Indexed(s, 8, 40, true); }, 8, BI_RGB},
    {"1-bit top-down", 2, false, [](const Sample& s) { return Indexed(s, 1, 40, true); }, 1, BI_RGB},
    {"8-bit core header", 256, false, [](const Sample& s) { return Indexed(s, 8, 12); }, 8, BI_RGB},
    {"4-bit core header", 16, false, [](const Sample& s) { return Indexed(s, 4, 12); }, 4, BI_RGB},
    {"4-bit OS/2 16-byte header", 16, false, [](const Sample& s) { return Indexed(s, 4, 16); }, 4, BI_RGB},
    {"8-bit OS/2 64-byte header", 100, false, [](const Sample& s) { return Indexed(s, 8, 64); }, 8, BI_RGB},
    {"8-bit V4 header", 256, false, [](const Sample& s) { return Indexed(s, 8, 108); }, 8, BI_RGB},
    {"8-bit V5 header", 256, false, [](const Sample& s) { return Indexed(s, 8, 124); }, 8, BI_RGB},
    {"RLE8", 256, false, [](const Sample& s) { return RunLength(s, RleKind::Rle8); }, 8, BI_RGB},
    {"RLE4", 16, false, [](const Sample& s) { return RunLength(s, RleKind::Rle4); }, 4, BI_RGB},
    {"RLE24", 256, false, [](const Sample& s) { return RunLength(s, RleKind::Rle24); }, 24, BI_RGB},
    {"16-bit 5-5-5", 8, true, [](const Sample& s) { return Direct(s, 16, BI_RGB, kRgb555); }, 16, BI_RGB},
    {"16-bit 5-6-5 bitfields", 8, true, [](const Sample& s) { return Direct(s, 16, BI_BITFIELDS, kRgb565); },
     16, BI_BITFIELDS},
    {"16-bit 5-5-5 bitfields, V5 header", 8, true,
     [](const Sample& s) { return Direct(s, 16, BI_BITFIELDS, kRgb555, 124); }, 16, BI_BITFIELDS},
    {"16-bit 3-10-3 bitfields", 8, true,
     [](const Sample& s) { return Direct(s, 16, BI_BITFIELDS, {0xE000, 0x1FF8, 0x0007, 0}); }, 32, BI_RGB},
    {"16-bit 4-4-4-4 alpha, V5 header", 8, true,
     [](const Sample& s) { return Direct(s, 16, BI_BITFIELDS, {0x0F00, 0x00F0, 0x000F, 0xF000}, 124); }, 32,
     BI_RGB},
    {"24-bit", 256, false, [](const Sample& s) { return Direct(s, 24, BI_RGB, kRgb888); }, 24, BI_RGB},
    {"24-bit top-down", 256, false, [](const Sample& s) { return Direct(s, 24, BI_RGB, kRgb888, 40, true); },
     24, BI_RGB},
    {"32-bit", 256, false, [](const Sample& s) { return Direct(s, 32, BI_RGB, kRgb888); }, 32, BI_RGB},
    {"32-bit 8-8-8 bitfields", 256, false, [](const Sample& s) { return Direct(s, 32, BI_BITFIELDS, kRgb888); },
     32, BI_BITFIELDS},
    {"32-bit 8-8-8 bitfields, V2 header", 256, false,
     [](const Sample& s) { return Direct(s, 32, BI_BITFIELDS, kRgb888, 52); }, 32, BI_BITFIELDS},
    {"32-bit blue-green-red bitfields", 256, false,
     [](const Sample& s) { return Direct(s, 32, BI_BITFIELDS, {0x0000FF, 0x00FF00, 0xFF0000, 0}); }, 32, BI_RGB},
    {"32-bit bitfields top-down", 256, false,
     [](const Sample& s) { return Direct(s, 32, BI_BITFIELDS, {0xFF000000, 0xFF0000, 0xFF00, 0}, 40, true); },
     32, BI_RGB},
    {"32-bit 10-10-10-2 alpha, V5 header", 8, true,
     [](const Sample& s) {
         return Direct(s, 32, BI_BITFIELDS, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, 124);
     },
     32, BI_RGB},
    {"32-bit 8-8-8-8 alpha, V3 header", 256, false,
     [](const Sample& s) { return Direct(s, 32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 56); }, 32,
     BI_RGB},
    {"32-bit BI_ALPHABITFIELDS", 256, false,
     [](const Sample& s) { return Direct(s, 32, kBiAlphaBitfields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}); }, 32,
     BI_RGB},
    {"64-bit", 8, true, Rgba64, 32, BI_RGB},
};

TEST_F(LoaderTest, EveryFormatLoadsExactlyAtEveryWidthAndHeight) {
    std::mt19937 random(20240611);
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {2, 1}, {3, 2}, {4, 3}, {5, 1}, {6, 5}, {7, 2},
                                                    {8, 3}, {9, 1}, {15, 2}, {16, 3}, {17, 4}, {33, 7},
                                                    {47, 33}, {300, 2}};
    for (const FormatCase& format : kFormats) {
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE(std::string(format.name) + " " + std::to_string(width) + "x" + std::to_string(height));
            const Sample sample = RandomSample(&random, width, height, format.colours, format.cubeCorners);
            const BmpParts parts = format.encode(sample);
            HBITMAP bitmap = Load(BuildBmp(parts));
            ASSERT_NE(bitmap, nullptr);
            const DIBSECTION ds = SectionOf(bitmap);
            EXPECT_NE(ds.dsBm.bmBits, nullptr);
            EXPECT_EQ(ds.dsBm.bmWidth, width);
            EXPECT_EQ(ds.dsBm.bmHeight, height);
            EXPECT_EQ(ds.dsBm.bmBitsPixel, format.dibBits);
            EXPECT_EQ(ds.dsBmih.biCompression, format.dibCompression);
            // GetObject reports heights positive; GetDIBits tells the row order.
            BITMAPINFOHEADER own{};
            own.biSize = sizeof own;
            HDC dc = CreateCompatibleDC(nullptr);
            EXPECT_NE(GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&own), DIB_RGB_COLORS), 0);
            DeleteDC(dc);
            EXPECT_EQ(own.biHeight < 0, parts.height < 0) << "row order kept";
            EXPECT_EQ(FirstColourMismatch(ReadPixels(bitmap, 32), sample), -1);
            EXPECT_EQ(FirstColourMismatch(ReadPixels(bitmap, 24), sample), -1);
            DeleteObject(bitmap);
        }
    }
}

// Converted and run-length pixels are read through a window of 2 MiB that is
// refilled as they are decoded. These pictures take more than one window, so
// rows and runs straddle the refills.
TEST_F(LoaderTest, PicturesLongerThanTheReadingWindowLoadExactly) {
    constexpr std::size_t kWindowBytes = std::size_t{2} << 20;
    struct Case {
        const char* format;  // a name in kFormats
        int width, height;
    };
    const Case cases[] = {{"2-bit", 9001, 1000},   {"RLE8", 2001, 1500}, {"RLE4", 2001, 2500},
                          {"RLE24", 1001, 1000},   {"64-bit", 1001, 300},
                          {"16-bit 3-10-3 bitfields", 1001, 1100}};
    std::mt19937 random(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const FormatCase* format = nullptr;
        for (const FormatCase& f : kFormats)
            if (std::string(f.name) == c.format) format = &f;
        ASSERT_NE(format, nullptr);
        const Sample sample = RandomSample(&random, c.width, c.height, format->colours, format->cubeCorners);
        const BmpParts parts = format->encode(sample);
        ASSERT_GT(parts.pixels.size(), kWindowBytes);
        HBITMAP bitmap = Load(BuildBmp(parts));
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(SectionOf(bitmap).dsBm.bmBitsPixel, format->dibBits);
        EXPECT_EQ(FirstColourMismatch(ReadPixels(bitmap, 32), sample), -1);
        DeleteObject(bitmap);
    }
}

// ---- Channel values ------------------------------------------------------

// A one-row 32-bit or 16-bit bitfields file of the given raw pixel values.
Bytes MaskedRow(int bitCount, const Masks& masks, const std::vector<std::uint32_t>& values) {
    BmpParts p;
    p.headerSize = 124;
    p.width = static_cast<std::int32_t>(values.size());
    p.height = 1;
    p.bitCount = static_cast<std::uint16_t>(bitCount);
    p.compression = BI_BITFIELDS;
    std::copy(masks.begin(), masks.end(), p.headerMasks);
    for (std::uint32_t v : values)
        for (int b = 0; b < bitCount / 8; ++b) p.pixels.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
    p.pixels.resize((p.pixels.size() + 3) / 4 * 4, 0);
    return BuildBmp(p);
}

TEST_F(LoaderTest, ChannelsWidenToEightBitsByRepeatingTheirBitsWithAlphaInTheFourthByte) {
    struct Case {
        const char* name;
        int bitCount;
        Masks masks;
        std::vector<std::uint32_t> values;
        std::vector<RGBQUAD> expected;  // blue, green, red, alpha
    };
    const Case cases[] = {
        // 4 bits: 0x5 -> 85, 0xF -> 255; alpha likewise.
        {"4-4-4-4", 16, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x0000, 0x5F5F, 0xFA50},
         {{0, 0, 0, 0}, {255, 85, 255, 85}, {0, 85, 170, 255}}},
        // 1-bit alpha: 0 or 255. 5 bits: 16 -> 132 (10000 100); 3 -> 24,
        // 7 -> 57 and 24 -> 198, where rounding v * 255 / 31 would give 25,
        // 58 and 197.
        {"5-5-5-1", 16, {0x7C00, 0x03E0, 0x001F, 0x8000},
         {0x8000 | (16 << 10), 0x7FFF, 0x8000 | (3 << 10) | (7 << 5) | 24},
         {{0, 0, 132, 255}, {255, 255, 255, 0}, {198, 57, 24, 255}}},
        // 6-bit green 12 -> 48 (001100 00), not 49; held as a 5-6-5 section.
        {"5-6-5", 16, {0xF800, 0x07E0, 0x001F, 0}, {12 << 5}, {{0, 48, 0, 0}}},
        // Wider channels keep their top 8 bits: 10 bits 512 -> 128,
        // 1023 -> 255, 3 -> 0; 2-bit alpha 1 -> 85.
        {"10-10-10-2", 32, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
         {(1u << 30) | (512u << 20) | (1023u << 10) | 1u, 3u << 20}, {{0, 255, 128, 85}, {0, 0, 0, 0}}},
        // 18-bit green: 131071 -> 127, 131072 -> 128.
        {"7-18-7", 32, {0xFE000000, 0x01FFFF80, 0x0000007F, 0}, {131071u << 7, 131072u << 7},
         {{0, 127, 0, 0}, {0, 128, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = Load(MaskedRow(c.bitCount, c.masks, c.values));
        ASSERT_NE(bitmap, nullptr);
        const std::vector<RGBQUAD> pixels = ReadPixels(bitmap, 32);
        ASSERT_EQ(pixels.size(), c.expected.size());
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(pixels[i].rgbBlue, c.expected[i].rgbBlue);
            EXPECT_EQ(pixels[i].rgbGreen, c.expected[i].rgbGreen);
            EXPECT_EQ(pixels[i].rgbRed, c.expected[i].rgbRed);
            EXPECT_EQ(pixels[i].rgbReserved, c.expected[i].rgbReserved);
        }
        DeleteObject(bitmap);
    }
}

TEST_F(LoaderTest, LoaderAndGetDIBitsWidenFiveBitChannelsAlike) {
    // Every 5-bit value in each channel. The alpha bit makes the loader
    // widen the file's pixels itself; the 5-5-5 section's are widened by
    // GetDIBits.
    std::vector<std::uint32_t> values;
    for (std::uint32_t v = 0; v < 32; ++v) values.push_back(0x8000 | (v << 10) | (v << 5) | v);
    HBITMAP loaded = Load(MaskedRow(16, {0x7C00, 0x03E0, 0x001F, 0x8000}, values));
    ASSERT_NE(loaded, nullptr);
    testing_support::Dib section = testing_support::MakeDib(32, 1, 16);
    ASSERT_NE(section.bitmap, nullptr);
    for (std::size_t x = 0; x < values.size(); ++x) {
        section.bits[2 * x] = static_cast<std::uint8_t>(values[x]);
        section.bits[2 * x + 1] = static_cast<std::uint8_t>((values[x] >> 8) & 0x7F);
    }
    const std::vector<RGBQUAD> fromFile = ReadPixels(loaded, 32);
    const std::vector<RGBQUAD> fromSection = ReadPixels(section.bitmap, 32);
    ASSERT_EQ(fromFile.size(), 32u);
    ASSERT_EQ(fromSection.size(), 32u);
    for (std::size_t v = 0; v < 32; ++v) {
        SCOPED_TRACE(v);
        EXPECT_EQ(fromFile[v].rgbRed, fromSection[v].rgbRed);
        EXPECT_EQ(fromFile[v].rgbGreen, fromSection[v].rgbGreen);
        EXPECT_EQ(fromFile[v].rgbBlue, fromSection[v].rgbBlue);
    }
    DeleteObject(loaded);
    DeleteObject(section.bitmap);
}

TEST_F(LoaderTest, SixtyFourBitLinearLightBecomesClampedSrgb) {
    // Blue, green, red, alpha as signed 2.13: 4096 is half intensity,
    // which sRGB encodes as 188; negatives and values above 8192 clamp.
    const std::vector<std::array<std::int16_t, 4>> values = {
        {0, 8192, 4096, 8192}, {-100, 9000, 0x7FFF, 4096}, {-32768, 1, 0, 0}};
    BmpParts p;
    p.width = static_cast<std::int32_t>(values.size());
    p.height = 1;
    p.bitCount = 64;
    for (const auto& px : values)
        for (std::int16_t v : px) {
            p.pixels.push_back(static_cast<std::uint8_t>(v));
            p.pixels.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8));
        }
    HBITMAP bitmap = Load(BuildBmp(p));
    ASSERT_NE(bitmap, nullptr);
    const std::vector<RGBQUAD> pixels = ReadPixels(bitmap, 32);
    ASSERT_EQ(pixels.size(), 3u);
    const RGBQUAD expected[] = {{0, 255, 188, 255}, {0, 255, 255, 128}, {0, 0, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pixels[i].rgbBlue, expected[i].rgbBlue);
        EXPECT_EQ(pixels[i].rgbGreen, expected[i].rgbGreen);
        EXPECT_EQ(pixels[i].rgbRed, expected[i].rgbRed);
        EXPECT_EQ(pixels[i].rgbReserved, expected[i].rgbReserved);
    }
    DeleteObject(bitmap);
}

// ---- Lenient fields ------------------------------------------------------

// A 4 x 2 8-bit picture with a 4-entry table: indices 0 1 2 3 on the top
// row, 3 2 1 0 on the bottom one (which the file stores first).
BmpParts FourColourPicture() {
    Sample s;
    s.width = 4;
    s.height = 2;
    s.palette = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}, {100, 110, 120, 0}};
    s.indices = {0, 1, 2, 3, 3, 2, 1, 0};
    return Indexed(s, 8);
}

TEST_F(LoaderTest, IndicesPastTheColourTableShowBlack) {
    BmpParts parts = FourColourPicture();
    parts.pixels[0] = 200;  // bottom-left
    parts.pixels[1] = 4;    // the first entry past the table
    HBITMAP bitmap = Load(BuildBmp(parts));
    ASSERT_NE(bitmap, nullptr);
    const std::vector<RGBQUAD> pixels = ReadPixels(bitmap, 24);
    ASSERT_EQ(pixels.size(), 8u);
    EXPECT_EQ(pixels[4].rgbRed + pixels[4].rgbGreen + pixels[4].rgbBlue, 0);
    EXPECT_EQ(pixels[5].rgbRed + pixels[5].rgbGreen + pixels[5].rgbBlue, 0);
    EXPECT_EQ(pixels[0].rgbBlue, 10);
    EXPECT_EQ(pixels[3].rgbRed, 120);
    DeleteObject(bitmap);
}

TEST_F(LoaderTest, FieldsThatWritersGetWrongAreNotTrusted) {
    struct Case {
        const char* name;
        void (*spoilParts)(BmpParts*);
        void (*spoilBytes)(Bytes*);
    };
    const Case cases[] = {
        {"image size too large", [](BmpParts* p) { p->sizeImage = 0x7FFFFFF0; }, nullptr},
        {"image size too small", [](BmpParts* p) { p->sizeImage = 1; }, nullptr},
        {"colour count in the millions", [](BmpParts* p) { p->clrUsed = 305402420; }, nullptr},
        {"gap before the pixels", [](BmpParts* p) { p->gap.assign(37, 0xEE); }, nullptr},
        {"file size field wrong", nullptr, [](Bytes* f) { (*f)[2] = 26; (*f)[3] = (*f)[4] = (*f)[5] = 0; }},
        {"reserved fields set", nullptr, [](Bytes* f) { (*f)[6] = 21; (*f)[8] = 16; }},
        {"data after the pixels", nullptr, [](Bytes* f) { f->insert(f->end(), 100, 0xAB); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts parts = FourColourPicture();
        if (c.spoilParts != nullptr) c.spoilParts(&parts);
        Bytes file = BuildBmp(parts);
        if (c.spoilBytes != nullptr) c.spoilBytes(&file);
        HBITMAP bitmap = Load(file);
        ASSERT_NE(bitmap, nullptr);
        const std::vector<RGBQUAD> pixels = ReadPixels(bitmap, 24);
        ASSERT_EQ(pixels.size(), 8u);
        EXPECT_EQ(pixels[1].rgbGreen, 50);
        EXPECT_EQ(pixels[4].rgbRed, 120);
        DeleteObject(bitmap);
    }
}

TEST_F(LoaderTest, AColourTableCutShortByThePixelsIsPaddedWithBlack) {
    // The pixels start after two of the four declared entries.
    BmpParts parts = FourColourPicture();
    parts.palette.resize(2);
    HBITMAP bitmap = Load(BuildBmp(parts));
    ASSERT_NE(bitmap, nullptr);
    const std::vector<RGBQUAD> pixels = ReadPixels(bitmap, 24);
    ASSERT_EQ(pixels.size(), 8u);
    EXPECT_EQ(pixels[1].rgbGreen, 50);                                        // entry 1
    EXPECT_EQ(pixels[2].rgbRed + pixels[2].rgbGreen + pixels[2].rgbBlue, 0);  // entry 2: black
    DeleteObject(bitmap);
}

// ---- Requests ------------------------------------------------------------

BmpParts SmallPicture() {
    std::mt19937 random(7);
    return Indexed(RandomSample(&random, 5, 3, 16, false), 4);
}

TEST_F(LoaderTest, ServesFileBitmapRequestsAndRefusesEverythingElse) {
    const std::string path = Store(BuildBmp(SmallPicture()));
    HINSTANCE module = reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000));
    struct Case {
        const char* name;
        HINSTANCE instance;
        UINT type;
        int cx, cy;
        UINT flags;
        bool loads;
    };
    const Case cases[] = {
        {"file, DIB section", nullptr, IMAGE_BITMAP, 0, 0, kFromFile, true},
        {"file only", nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE, true},
        {"default size (icons only)", nullptr, IMAGE_BITMAP, 0, 0, kFromFile | LR_DEFAULTSIZE, true},
        {"the file's own size", nullptr, IMAGE_BITMAP, 5, 3, kFromFile, true},
        {"own width, any height", nullptr, IMAGE_BITMAP, 5, 0, kFromFile, true},
        {"another width", nullptr, IMAGE_BITMAP, 10, 0, kFromFile, true},
        {"another height", nullptr, IMAGE_BITMAP, 0, 4, kFromFile, true},
        {"negative size", nullptr, IMAGE_BITMAP, -5, -3, kFromFile, false},
        {"a module instance", module, IMAGE_BITMAP, 0, 0, kFromFile, false},
        {"a resource", nullptr, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION, false},
        {"an icon", nullptr, IMAGE_ICON, 0, 0, kFromFile, false},
        {"a cursor", nullptr, IMAGE_CURSOR, 0, 0, kFromFile, false},
        {"monochrome", nullptr, IMAGE_BITMAP, 0, 0, kFromFile | LR_MONOCHROME, true},
        {"transparent", nullptr, IMAGE_BITMAP, 0, 0, kFromFile | LR_LOADTRANSPARENT, false},
        {"shared", nullptr, IMAGE_BITMAP, 0, 0, kFromFile | LR_SHARED, false},
        {"unknown flag", nullptr, IMAGE_BITMAP, 0, 0, kFromFile | 0x1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        HANDLE image = LoadImageA(c.instance, path.c_str(), c.type, c.cx, c.cy, c.flags);
        EXPECT_EQ(image != nullptr, c.loads);
        if (image != nullptr) {
            EXPECT_EQ(GetObjectType(image), static_cast<DWORD>(OBJ_BITMAP));
            EXPECT_TRUE(DeleteObject(image));
        } else {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
        }
    }
}

TEST_F(LoaderTest, NamesThatAreNotReadableBitmapFilesFailWithTheirReason) {
    const std::string empty = Store({}, "empty.bmp");
    const std::string text = Store(Bytes{'h', 'e', 'l', 'l', 'o'}, "text.bmp");
    const std::string missing = dir_.File("missing.bmp");
    const std::string inMissingFolder = dir_.File("no/such/folder.bmp");
    struct Case {
        const char* name;
        const char* path;
        DWORD error;
    };
    const Case cases[] = {
        {"null name", nullptr, ERROR_PATH_NOT_FOUND},
        {"empty name", "", ERROR_PATH_NOT_FOUND},
        {"missing file", missing.c_str(), ERROR_FILE_NOT_FOUND},
        {"missing folder", inMissingFolder.c_str(), ERROR_FILE_NOT_FOUND},
        {"a folder", dir_.path().c_str(), ERROR_ACCESS_DENIED},
        {"empty file", empty.c_str(), ERROR_INVALID_DATA},
        {"not a bitmap", text.c_str(), ERROR_INVALID_DATA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(LoadImageA(nullptr, c.path, IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(LoaderTest, AFileAboveTheSizeCapIsRefusedWithoutReadingIt) {
    // Sparse: the length is there, the blocks are not.
    const std::string path = Store(BuildBmp(SmallPicture()), "huge.bmp");
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 30) + (std::uintmax_t{4} << 20));
    SetLastError(0);
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST_F(LoaderTest, InjectedFailuresReturnNullAndTheNextCallWorks) {
    const std::string path = Store(BuildBmp(SmallPicture()));
    for (standin::Call call : {standin::Call::LoadImageA, standin::Call::CreateDIBSection}) {
        SCOPED_TRACE(static_cast<int>(call));
        standin::FailNthCall(call, 1);
        EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
        HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kFromFile);
        EXPECT_NE(image, nullptr);
        DeleteObject(image);
    }
    standin::ClearFaults();
}

TEST_F(LoaderTest, AnInjectedFailureComesBeforeTheFileIsOpened) {
    // A missing file would fail with ERROR_FILE_NOT_FOUND once opened.
    standin::FailNthCall(standin::Call::LoadImageA, 1);
    SetLastError(0);
    EXPECT_EQ(LoadImageA(nullptr, dir_.File("missing.bmp").c_str(), IMAGE_BITMAP, 0, 0, kFromFile), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    standin::ClearFaults();
}

}  // namespace

// LoadImageA's options on a small picture: requested sizes, black and white,
// and DIB sections against device-dependent bitmaps, each checked for its
// description and every pixel.
#include "bmp_builder.h"
#include "resource_guard.h"
#include "test_support.h"

#include <standin/testing.h>

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace bmp_builder;
using testing_support::ReadPixels;

constexpr UINT kFile = LR_LOADFROMFILE;
constexpr UINT kDib = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

// Which source pixel a stretched pixel shows: the one under its centre.
int SourceOf(int d, int source, int target) {
    return static_cast<int>((2 * std::int64_t{d} + 1) * source / (2 * std::int64_t{target}));
}

// The nearer of black and white; a tie goes to black.
RGBQUAD BlackOrWhite(const RGBQUAD& c) {
    auto squared = [](int v) { return v * v; };
    int toBlack = squared(c.rgbRed) + squared(c.rgbGreen) + squared(c.rgbBlue);
    int toWhite = squared(255 - c.rgbRed) + squared(255 - c.rgbGreen) + squared(255 - c.rgbBlue);
    BYTE level = toWhite < toBlack ? 255 : 0;
    return RGBQUAD{level, level, level, 0};
}

TEST(LoadOptions, SizesColoursAndKindsOfBitmap) {
    std::mt19937 random(12);
    const Sample sample = RandomSample(&random, 5, 3, 16, false);
    BmpParts fourBit;
    fourBit.width = sample.width;
    fourBit.height = sample.height;
    fourBit.bitCount = 4;
    fourBit.palette = sample.palette;
    fourBit.pixels = IndexedRows(sample, 4, false);
    const std::uint32_t rgb[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    BmpParts direct = fourBit;
    direct.bitCount = 24;
    direct.palette.clear();
    direct.pixels = DirectRows(sample, 3, rgb, false);

    struct Case {
        const char* name;
        const BmpParts* file;
        int cx, cy;
        UINT flags;
        int width, height, bitCount;
        bool dibSection;
    };
    const Case cases[] = {
        {"file size, DIB section", &fourBit, 0, 0, kDib, 5, 3, 4, true},
        {"doubled, palette kept", &fourBit, 10, 6, kDib, 10, 6, 4, true},
        {"width only", &fourBit, 12, 0, kDib, 12, 3, 4, true},
        {"height only", &direct, 0, 7, kDib, 5, 7, 24, true},
        {"shrunk", &direct, 3, 2, kDib, 3, 2, 24, true},
        {"default size is for icons", &direct, 0, 0, kDib | LR_DEFAULTSIZE, 5, 3, 24, true},
        {"compatible, file size", &fourBit, 0, 0, kFile, 5, 3, 32, false},
        {"compatible, stretched", &direct, 9, 4, kFile, 9, 4, 32, false},
        {"monochrome compatible", &direct, 0, 0, kFile | LR_MONOCHROME, 5, 3, 1, false},
        {"monochrome compatible, stretched", &fourBit, 8, 5, kFile | LR_MONOCHROME, 8, 5, 1, false},
        {"monochrome DIB section", &fourBit, 0, 0, kDib | LR_MONOCHROME, 5, 3, 1, true},
        {"monochrome DIB section, shrunk", &direct, 2, 2, kDib | LR_MONOCHROME, 2, 2, 1, true},
    };
    testing_support::ResourceGuard guard;
    testing_support::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("a.bmp");
        testing_support::WriteBytes(path, BuildBmp(*c.file));
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, c.cx, c.cy, c.flags));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION ds{};
        EXPECT_EQ(GetObjectA(bitmap, sizeof ds, &ds), c.dibSection ? sizeof(DIBSECTION) : sizeof(BITMAP));
        EXPECT_EQ(ds.dsBm.bmType, 0);
        EXPECT_EQ(ds.dsBm.bmWidth, c.width);
        EXPECT_EQ(ds.dsBm.bmHeight, c.height);
        EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bitCount);
        EXPECT_EQ(ds.dsBm.bmBits != nullptr, c.dibSection);

        const std::vector<RGBQUAD> pixels = ReadPixels(bitmap, 32);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(c.width * c.height));
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                RGBQUAD want = sample.At(SourceOf(x, 5, c.width), SourceOf(y, 3, c.height));
                if (c.bitCount == 1) want = BlackOrWhite(want);
                const RGBQUAD& got = pixels[static_cast<std::size_t>(y * c.width + x)];
                ASSERT_TRUE(got.rgbRed == want.rgbRed && got.rgbGreen == want.rgbGreen &&
                            got.rgbBlue == want.rgbBlue)
                    << "pixel " << x << "," << y;
            }
        }
        DeleteObject(bitmap);
    }
}

TEST(LoadOptions, FailuresReturnNullAndReleaseEverything) {
    testing_support::ResourceGuard guard;
    testing_support::TempDir dir;
    BmpParts small;
    small.pixels.assign(4, 0);
    const std::string path = dir.File("a.bmp");
    testing_support::WriteBytes(path, BuildBmp(small));
    struct Case {
        int cx;
        UINT flags;
        standin::Call failing;  // Call::Count: none
        DWORD error;
    };
    const Case cases[] = {
        {1 << 20, kFile, standin::Call::Count, ERROR_INVALID_PARAMETER},
        {1 << 20, kDib | LR_MONOCHROME, standin::Call::Count, ERROR_INVALID_PARAMETER},
        {4, kDib, standin::Call::StretchBlt, ERROR_NOT_ENOUGH_MEMORY},
        {0, kFile | LR_MONOCHROME, standin::Call::SetDIBits, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        if (c.failing != standin::Call::Count) standin::FailNthCall(c.failing, 1);
        SetLastError(0);
        EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, c.cx, 1, c.flags), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
        standin::ClearFaults();
    }
}

}  // namespace

// The writer's file layout at every depth, and its refusals of bitmaps it
// cannot describe.
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace testing_support;

namespace {

constexpr std::size_t kHeadersBytes = 54;

struct LayoutCase {
    int bitCount;
    std::uint32_t offBits;
};

// A picture whose rows and columns all differ, so flips, swaps and padding
// mistakes show. Every byte a pixel touches is filled, so at 1 and 4 bits
// the last byte's unused bits are set too.
void Scribble(const Dib& dib, int width, int height, int bitCount) {
    int pixelBytes = (width * bitCount + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < pixelBytes; ++x) dib.bits[y * dib.stride + x] = static_cast<std::uint8_t>(y * 37 + x * 11 + 1);
}

// Whether two rows hold the same first `width` pixels.
bool SamePixels(const std::uint8_t* a, const std::uint8_t* b, int width, int bitCount) {
    const int bits = width * bitCount;
    if (std::memcmp(a, b, std::size_t(bits / 8)) != 0) return false;
    if (bits % 8 == 0) return true;
    const unsigned covered = (0xFF00u >> (bits % 8)) & 0xFFu;
    return ((a[bits / 8] ^ b[bits / 8]) & covered) == 0;
}

TEST(Save, LayoutAtEveryDepth) {
    const LayoutCase cases[] = {{1, 62}, {4, 118}, {8, 1078}, {16, 54}, {24, 54}, {32, 54}};
    const int width = 5, height = 3;
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.bitCount);
        TempDir dir;
        std::vector<RGBQUAD> colors;
        for (int i = 0; i < 256; ++i) colors.push_back(RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 3), 0});
        Dib dib = MakeDib(width, height, c.bitCount, colors);
        ASSERT_NE(dib.bitmap, nullptr);
        Scribble(dib, width, height, c.bitCount);
        ASSERT_TRUE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), dib.bitmap));

        std::vector<std::uint8_t> file = ReadBytes(dir.File("a.bmp"));
        std::uint32_t imageBytes = static_cast<std::uint32_t>(dib.stride * height);
        ASSERT_EQ(file.size(), c.offBits + imageBytes);
        EXPECT_EQ(U32At(file, 2), file.size());
        EXPECT_EQ(U32At(file, 10), c.offBits);
        EXPECT_EQ(U32At(file, 18), std::uint32_t(width));
        EXPECT_EQ(U32At(file, 22), std::uint32_t(height));
        EXPECT_EQ(U16At(file, 28), c.bitCount);
        EXPECT_EQ(U32At(file, 30), 0u);
        EXPECT_EQ(U32At(file, 34), imageBytes);
        if (c.bitCount <= 8) {
            for (int i = 0; i < (1 << c.bitCount); ++i)
                ASSERT_EQ(0, std::memcmp(&file[kHeadersBytes + 4 * i], &colors[i], 3)) << "entry " << i;
        }
        // The bitmap is bottom-up, as the file is: rows go out as stored.
        // Only the pixels are compared: the bits that pad a row's last byte
        // (1 and 4 bits a pixel) need not survive.
        for (int y = 0; y < height; ++y)
            EXPECT_TRUE(SamePixels(&file[c.offBits + std::size_t(y) * dib.stride], dib.bits + y * dib.stride, width,
                                   c.bitCount))
                << "row " << y;
        DeleteObject(dib.bitmap);
    }
}

TEST(Save, TopDownBitmapIsStoredBottomUp) {
    TempDir dir;
    const int width = 3, height = 4;
    Dib dib = MakeDib(width, -height, 24);
    ASSERT_NE(dib.bitmap, nullptr);
    Scribble(dib, width, height, 24);
    ASSERT_TRUE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), dib.bitmap));
    std::vector<std::uint8_t> file = ReadBytes(dir.File("a.bmp"));
    ASSERT_EQ(file.size(), kHeadersBytes + std::size_t(dib.stride * height));
    EXPECT_EQ(static_cast<std::int32_t>(U32At(file, 22)), height);
    for (int y = 0; y < height; ++y) {
        // File row y counts from the bottom; memory row y from the top.
        const std::uint8_t* fileRow = &file[kHeadersBytes + std::size_t(y * dib.stride)];
        const std::uint8_t* memoryRow = dib.bits + (height - 1 - y) * dib.stride;
        EXPECT_EQ(0, std::memcmp(fileRow, memoryRow, width * 3)) << "row " << y;
    }
    DeleteObject(dib.bitmap);
}

TEST(Save, OddWidthRowsArePadded) {
    TempDir dir;
    Dib dib = MakeDib(47, 33, 24);
    ASSERT_NE(dib.bitmap, nullptr);
    Scribble(dib, 47, 33, 24);
    ASSERT_TRUE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), dib.bitmap));
    std::vector<std::uint8_t> file = ReadBytes(dir.File("a.bmp"));
    ASSERT_EQ(file.size(), kHeadersBytes + 144u * 33u);  // 47 * 3 = 141, padded to 144
    EXPECT_EQ(U32At(file, 34), 144u * 33u);
    DeleteObject(dib.bitmap);
}

TEST(Save, HandlesThatAreNoBitmapWriteNothing) {
    TempDir dir;
    Dib deleted = MakeDib(2, 2, 24);
    DeleteObject(deleted.bitmap);
    HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP handles[] = {nullptr, deleted.bitmap, reinterpret_cast<HBITMAP>(dc),
                               reinterpret_cast<HBITMAP>(GetStockObject(BLACK_PEN))};
    for (HBITMAP handle : handles) {
        EXPECT_FALSE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), handle));
        EXPECT_FALSE(FileExists(dir.File("a.bmp")));
    }
    DeleteDC(dc);
}

}  // namespace

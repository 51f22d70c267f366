// The writer's file layout at every depth, and its refusals of bitmaps it
// cannot describe.
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

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

// 16-bit BI_RGB means 5-5-5, so a section with other masks keeps them in the
// file (BI_BITFIELDS, masks after the info header) and no bit is lost; a
// 5-5-5 one is stored as plain BI_RGB.
TEST(Save, SixteenBitMasksSurviveInTheFile) {
    struct MaskCase {
        DWORD masks[3];
        DWORD compression;
        std::uint32_t offBits;
    };
    const MaskCase cases[] = {{{0xF800, 0x07E0, 0x001F}, BI_BITFIELDS, 66}, {{0x7C00, 0x03E0, 0x001F}, BI_RGB, 54}};
    const int width = 3, height = 2;
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.masks[1]);
        TempDir dir;
        BitmapInfoBuffer info = MakeInfo(width, height, 16, BI_BITFIELDS);
        std::memcpy(info.colors, c.masks, sizeof c.masks);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap, nullptr);
        const std::size_t imageBytes = 8 * height;
        // Pixels that use every bit of the masks; bit 15 (in no 5-5-5 mask)
        // and the row padding stay zero.
        std::uint8_t* pixels = static_cast<std::uint8_t*>(bits);
        for (std::size_t i = 0; i < imageBytes; ++i) pixels[i] = static_cast<std::uint8_t>((i * 53 + 7) & (i % 2 ? 0x7F : 0xFF));
        for (int y = 0; y < height; ++y) std::memset(pixels + y * 8 + 6, 0, 2);
        ASSERT_TRUE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), bitmap));

        std::vector<std::uint8_t> file = ReadBytes(dir.File("a.bmp"));
        ASSERT_EQ(file.size(), c.offBits + imageBytes);
        EXPECT_EQ(U32At(file, 10), c.offBits);
        EXPECT_EQ(U32At(file, 30), c.compression);
        for (int i = 0; c.compression == BI_BITFIELDS && i < 3; ++i) {
            EXPECT_EQ(U32At(file, kHeadersBytes + 4 * i), c.masks[i]);
        }
        EXPECT_EQ(0, std::memcmp(&file[c.offBits], bits, imageBytes));
        DeleteObject(bitmap);
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
    // Both are bottom-up: file row y holds bitmap row y, then three zero
    // bytes of padding.
    for (int y = 0; y < 33; ++y) {
        const std::uint8_t* fileRow = &file[kHeadersBytes + 144u * y];
        EXPECT_EQ(0, std::memcmp(fileRow, dib.bits + y * dib.stride, 141)) << "row " << y;
        EXPECT_EQ(0, fileRow[141] | fileRow[142] | fileRow[143]) << "padding of row " << y;
    }
    DeleteObject(dib.bitmap);
}

// A device-dependent bitmap reports rows padded to 16 bits; the file's rows
// are padded to 32 whatever it reports. Width 5 tells the two apart.
TEST(Save, CompatibleBitmapsAreStoredWithTheirPixels) {
    const int width = 5, height = 2;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    const HDC devices[] = {screen, memory};  // 32 bits; monochrome
    for (HDC device : devices) {
        TempDir dir;
        HBITMAP ddb = CreateCompatibleBitmap(device, width, height);
        BITMAP bm;
        ASSERT_EQ(GetObjectA(ddb, sizeof bm, &bm), static_cast<int>(sizeof bm));
        SCOPED_TRACE(bm.bmBitsPixel);
        HGDIOBJ old = SelectObject(memory, ddb);
        for (int x = 0; x < width; ++x) SetPixel(memory, x, 0, x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        SelectObject(memory, old);
        ASSERT_TRUE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), ddb));

        std::vector<std::uint8_t> file = ReadBytes(dir.File("a.bmp"));
        const std::size_t stride = (width * bm.bmBitsPixel + 31) / 32 * 4;
        const std::uint32_t offBits = U32At(file, 10);
        ASSERT_EQ(file.size(), offBits + stride * height);
        EXPECT_EQ(U16At(file, 28), bm.bmBitsPixel);
        // The top row is the file's last: white at odd columns.
        const std::uint8_t* top = &file[offBits + stride];
        for (int x = 0; x < width; ++x) {
            bool white = bm.bmBitsPixel == 1 ? (top[0] >> (7 - x)) & 1 : top[x * 4] == 255;
            EXPECT_EQ(white, x % 2 == 1) << "column " << x;
        }
        DeleteObject(ddb);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// A save writes beside the name and replaces what was there only once the
// new file is whole: a refused save leaves the earlier file as it was (or no
// file, where there was none), a whole one replaces it, and no temporary
// file stays behind either way.
TEST(Save, TheEarlierFileIsReplacedOnlyByAWholeOne) {
    TempDir dir;
    Dib deleted = MakeDib(2, 2, 24);
    DeleteObject(deleted.bitmap);
    Dib good = MakeDib(8, 8, 24);
    HDC dc = CreateCompatibleDC(nullptr);
    struct Case {
        HBITMAP handle;
        bool earlierFile;
        std::size_t bytesAfter;  // 0: no file
    };
    const Case cases[] = {
        {nullptr, false, 0},
        {deleted.bitmap, false, 0},
        {reinterpret_cast<HBITMAP>(dc), true, 300},
        {reinterpret_cast<HBITMAP>(GetStockObject(BLACK_PEN)), true, 300},
        {good.bitmap, false, 246},
        {good.bitmap, true, 246},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytesAfter);
        std::string path = dir.File("a.bmp");
        std::filesystem::remove(path);
        if (c.earlierFile) WriteBytes(path, std::vector<std::uint8_t>(300, 0x5A));
        EXPECT_EQ(SaveBitmapToFileA(path.c_str(), c.handle), c.handle == good.bitmap);
        EXPECT_EQ(FileExists(path), c.bytesAfter != 0);
        std::vector<std::uint8_t> bytes = ReadBytes(path);
        EXPECT_EQ(bytes.size(), c.bytesAfter);
        if (c.bytesAfter == 300) {
            EXPECT_EQ(bytes, std::vector<std::uint8_t>(300, 0x5A));
        }
        std::size_t names = 0;
        for (auto it = std::filesystem::directory_iterator(dir.path()); it != std::filesystem::directory_iterator(); ++it) ++names;
        EXPECT_EQ(names, c.bytesAfter != 0 ? 1u : 0u) << "nothing but the name";
    }
    DeleteDC(dc);
    DeleteObject(good.bitmap);
}

}  // namespace

// A file of several megabytes is read into a block of its own kind (aligned
// for huge pages); its pixels must come through exactly as in a small one.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace testing_support;

namespace {

// 1300 x 1300 at 24 bits: a 5 MiB file, past the large-block threshold.
constexpr int kSide = 1300;

TEST(LargeFile, LoadsEveryPixelOfAFileOfSeveralMegabytes) {
    ResourceGuard guard;
    TempDir dir;
    const std::size_t stride = (kSide * 3 + 3) / 4 * 4;
    const std::size_t offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    std::vector<std::uint8_t> file(offset + stride * kSide);
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(file.size());
    fileHeader.bfOffBits = static_cast<DWORD>(offset);
    const BITMAPINFOHEADER info = MakeInfo(kSide, kSide, 24).header;
    std::memcpy(&file[0], &fileHeader, sizeof fileHeader);
    std::memcpy(&file[sizeof fileHeader], &info, sizeof info);
    std::mt19937 random(7);
    for (std::size_t i = offset; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(random());
    WriteBytes(dir.File("large.bmp"), file);

    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, dir.File("large.bmp").c_str(), IMAGE_BITMAP, 0, 0,
                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION section;
    ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
    ASSERT_EQ(section.dsBm.bmBitsPixel, 24);
    EXPECT_EQ(0, std::memcmp(section.dsBm.bmBits, &file[offset], stride * kSide));
    DeleteObject(bitmap);
}

}  // namespace

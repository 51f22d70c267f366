// Device-dependent bitmaps: CreateBitmap's depths, their word-aligned bits
// top row first, CreateBitmapIndirect's stride, CreateDIBitmap, the
// physical dimension and which bitmaps SelectObject takes.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace testing_support;

namespace {

TEST(DeviceBitmap, CreateBitmapTakesPlanesTimesBitsWhenItIsADepth) {
    ResourceGuard guard;
    // {width, height, planes, bits, bmBitsPixel (0: refused), bmWidthBytes}; width 17 pads to a word.
    const int cases[][6] = {{17, 3, 1, 1, 1, 4},   {17, 3, 1, 8, 8, 18},  {17, 3, 1, 24, 24, 52}, {17, 3, 1, 32, 32, 68},
                            {17, 3, 4, 1, 4, 10},  {0, 3, 1, 32, 1, 2},   {17, 0, 1, 8, 1, 2},    {17, 3, 1, 2, 0, 0},
                            {17, 3, 1, 33, 0, 0},  {17, 3, 0, 8, 0, 0},   {-1, 3, 1, 1, 0, 0},    {60000, 60000, 1, 32, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << " x " << c[1] << ", " << c[2] << " x " << c[3]);
        HBITMAP bitmap = CreateBitmap(c[0], c[1], static_cast<UINT>(c[2]), static_cast<UINT>(c[3]), nullptr);
        ASSERT_EQ(bitmap != nullptr, c[4] != 0);
        if (bitmap == nullptr) continue;
        BITMAP bm{};
        GetObjectA(bitmap, sizeof bm, &bm);
        EXPECT_EQ(bm.bmBitsPixel, c[4]);
        EXPECT_EQ(bm.bmWidthBytes, c[5]);
        EXPECT_EQ(bm.bmBits, nullptr);
        DeleteObject(bitmap);
    }
}

TEST(DeviceBitmap, BitsAreWordAlignedRowsTopRowFirst) {
    ResourceGuard guard;
    // 17 x 3 monochrome: three bytes of pixels and one of padding a row.
    const std::vector<BYTE> bits = {0x80, 0x00, 0x80, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x01, 0x02, 0x00, 0x00};
    HBITMAP bitmap = CreateBitmap(17, 3, 1, 1, bits.data());
    std::vector<BYTE> back(16, 0xAA);
    EXPECT_EQ(GetBitmapBits(bitmap, 16, back.data()), 12) << "never more than the bitmap holds";
    EXPECT_EQ(std::vector<BYTE>(back.begin(), back.begin() + 12), bits);
    EXPECT_EQ(GetBitmapBits(bitmap, 0, nullptr), 12) << "no buffer: the byte count";
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 16, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 15, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 14, 2), RGB(255, 255, 255)) << "the last row last";
    SelectObject(dc, old);
    // A short count moves the leading bytes only; the shared stock bitmap's bits stay.
    const BYTE change[5] = {0x0F, 0xF0, 0x0F, 0x00, 0x33};
    EXPECT_EQ(SetBitmapBits(bitmap, 5, change), 5);
    EXPECT_EQ(GetBitmapBits(bitmap, 16, back.data()), 12);
    EXPECT_EQ(back[4], 0x33);
    EXPECT_EQ(back[5], 0xFF);
    EXPECT_EQ(SetBitmapBits(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)), 2, change), 0);
    EXPECT_EQ(SetBitmapBits(bitmap, 0, change), 0);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_EQ(GetBitmapBits(bitmap, 16, back.data()), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(DeviceBitmap, CreateBitmapIndirectReadsRowsAtTheCallersStride) {
    ResourceGuard guard;
    // 2 x 2 at 32 bits, four spare bytes a row.
    BYTE rows[24] = {1, 2, 3, 0, 4, 5, 6, 0, 9, 9, 9, 9, 7, 8, 9, 0, 10, 11, 12, 0, 9, 9, 9, 9};
    const BITMAP bm{0, 2, 2, 12, 1, 32, rows};
    HBITMAP bitmap = CreateBitmapIndirect(&bm);
    std::vector<BYTE> back(16);
    EXPECT_EQ(GetBitmapBits(bitmap, 16, back.data()), 16);
    EXPECT_EQ(back, (std::vector<BYTE>{1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0}));
    DeleteObject(bitmap);
    for (const BITMAP& refused : {BITMAP{1, 2, 2, 8, 1, 32, nullptr}, BITMAP{0, 2, 2, 6, 1, 32, rows},
                                  BITMAP{0, 3, 2, 3, 1, 8, rows}})
        EXPECT_EQ(CreateBitmapIndirect(&refused), nullptr) << refused.bmType << " " << refused.bmWidthBytes;
}

TEST(DeviceBitmap, DimensionIsKeptAndReported) {
    ResourceGuard guard;
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    SIZE size{-1, -1};
    EXPECT_TRUE(SetBitmapDimensionEx(bitmap, 254, -100, &size));
    EXPECT_EQ(size.cx, 0) << "none at first";
    EXPECT_TRUE(GetBitmapDimensionEx(bitmap, &size));
    EXPECT_EQ(size.cx, 254);
    EXPECT_EQ(size.cy, -100);
    DeleteObject(bitmap);
    EXPECT_FALSE(GetBitmapDimensionEx(bitmap, &size));
}

TEST(DeviceBitmap, SelectObjectTakesEachKindWhereItFits) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
    const struct {
        HBITMAP bitmap;
        bool selectable;
    } cases[] = {{CreateBitmap(2, 2, 1, 1, nullptr), true},  {CreateBitmap(2, 2, 1, 32, nullptr), true},
                 {CreateBitmap(2, 2, 1, 8, nullptr), false}, {CreateBitmap(2, 2, 1, 24, nullptr), false},
                 {MakeDib(2, 2, 8).bitmap, true}};
    for (const auto& c : cases) {
        HGDIOBJ old = SelectObject(first, c.bitmap);
        EXPECT_EQ(old != nullptr, c.selectable);
        EXPECT_EQ(SelectObject(second, c.bitmap), nullptr) << "one context at a time, and only a format it takes";
        EXPECT_EQ(SelectObject(screen, c.bitmap), nullptr);
        if (old != nullptr) SelectObject(first, old);
        EXPECT_TRUE(DeleteObject(c.bitmap));
    }
    DeleteDC(first);
    DeleteDC(second);
    ReleaseDC(nullptr, screen);
}

TEST(DeviceBitmap, CreateDIBitmapMakesTheContextsFormatFromADib) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(nullptr);
    // 2 x 2 at 8 bits, bottom row first: red, green; then black, white.
    BitmapInfoBuffer info = MakeInfo(2, 2, 8);
    info.colors[1] = RGBQUAD{0, 0, 255, 0};
    info.colors[2] = RGBQUAD{0, 255, 0, 0};
    info.colors[3] = RGBQUAD{255, 255, 255, 0};
    const BYTE rows[8] = {1, 2, 0, 0, 0, 3, 0, 0};
    BitmapInfoBuffer indices = info;  // DIB_PAL_COLORS: black, dark red, dark green, white of the default palette
    const WORD table[4] = {0, 1, 2, 19};
    std::memcpy(indices.colors, table, sizeof table);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    const struct {
        HDC dc;
        DWORD init;
        BitmapInfoBuffer* bits;
        UINT usage;
        int bitsPixel;
        COLORREF pixels[4];  // top row first
    } cases[] = {
        {screen, CBM_INIT, &info, DIB_RGB_COLORS, 32, {black, white, RGB(255, 0, 0), RGB(0, 255, 0)}},
        {screen, CBM_INIT, &indices, DIB_PAL_COLORS, 32, {black, white, RGB(128, 0, 0), RGB(0, 128, 0)}},
        {screen, 0, &info, DIB_RGB_COLORS, 32, {black, black, black, black}},
        {memory, CBM_INIT, &info, DIB_RGB_COLORS, 1, {black, white, black, black}},  // red, green: nearer black
        {nullptr, CBM_INIT, &info, DIB_RGB_COLORS, 1, {black, white, black, black}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        HBITMAP bitmap = CreateDIBitmap(c.dc, &c.bits->header, c.init, rows, c.bits->info(), c.usage);
        BITMAP bm{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmBitsPixel, c.bitsPixel);
        const std::vector<RGBQUAD> got = ReadPixels(bitmap, 32);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(RGB(got[i].rgbRed, got[i].rgbGreen, got[i].rgbBlue), c.pixels[i]) << "pixel " << i;
        DeleteObject(bitmap);
    }
    // Bits SetDIBits refuses leave nothing behind; so do missing ones.
    BitmapInfoBuffer bad = MakeInfo(2, 2, 7);
    EXPECT_EQ(CreateDIBitmap(screen, &info.header, CBM_INIT, rows, bad.info(), DIB_RGB_COLORS), nullptr);
    EXPECT_EQ(CreateDIBitmap(screen, &info.header, CBM_INIT, nullptr, info.info(), DIB_RGB_COLORS), nullptr);
    EXPECT_EQ(CreateDIBitmap(screen, nullptr, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace

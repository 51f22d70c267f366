// Device-dependent bitmaps: CreateBitmap and CreateBitmapIndirect, their
// word-aligned bits, CreateDIBitmap, the physical dimension and which
// bitmaps SelectObject takes into which context.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

using namespace testing_support;

namespace {

BITMAP Describe(HBITMAP bitmap) {
    BITMAP bm{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    return bm;
}

TEST(DeviceBitmap, CreateBitmapTakesTheDepthOfPlanesTimesBits) {
    ResourceGuard guard;
    struct Case {
        int width, height;
        UINT planes, bits;
        int bitsPixel;  // 0: refused with ERROR_INVALID_PARAMETER
        LONG widthBytes;
    };
    // Width 17 pads each row to a 16-bit word.
    const Case cases[] = {
        {17, 3, 1, 1, 1, 4},   {17, 3, 1, 4, 4, 10},   {17, 3, 1, 8, 8, 18},   {17, 3, 1, 16, 16, 34},
        {17, 3, 1, 24, 24, 52}, {17, 3, 1, 32, 32, 68}, {17, 3, 4, 1, 4, 10},   {17, 3, 2, 4, 8, 18},
        {17, 3, 1, 2, 0, 0},   {17, 3, 1, 5, 0, 0},    {17, 3, 3, 5, 0, 0},    {17, 3, 1, 31, 0, 0},
        {0, 3, 1, 32, 1, 2},   {17, 0, 1, 32, 1, 2},   // a zero side: 1 x 1 monochrome
        {17, 3, 1, 0, 0, 0},   {17, 3, 0, 8, 0, 0},    {17, 3, 1, 33, 0, 0},   {17, 3, 0x10000, 0x10000, 0, 0},
        {-1, 3, 1, 1, 0, 0},   {17, -3, 1, 1, 0, 0},   {1 << 20, 1, 1, 1, 0, 0}, {60000, 60000, 1, 32, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", " << c.planes << " x " << c.bits);
        SetLastError(0);
        HBITMAP bitmap = CreateBitmap(c.width, c.height, c.planes, c.bits, nullptr);
        if (c.bitsPixel == 0) {
            EXPECT_EQ(bitmap, nullptr);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
            continue;
        }
        ASSERT_NE(bitmap, nullptr);
        const BITMAP bm = Describe(bitmap);
        EXPECT_EQ(bm.bmBitsPixel, c.bitsPixel);
        EXPECT_EQ(bm.bmPlanes, 1);
        EXPECT_EQ(bm.bmWidthBytes, c.widthBytes);
        EXPECT_EQ(bm.bmBits, nullptr) << "a device-dependent bitmap hands out no bits";
        EXPECT_EQ(GetBitmapBits(bitmap, 0, nullptr), bm.bmWidthBytes * bm.bmHeight);
        DeleteObject(bitmap);
    }
}

TEST(DeviceBitmap, BitsAreWordAlignedRowsTopRowFirst) {
    ResourceGuard guard;
    // 17 x 3 monochrome: 3 bytes of pixels and a byte of padding a row.
    const std::vector<BYTE> bits = {0x80, 0x00, 0x80, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0x01, 0x02, 0x00, 0x00};
    HBITMAP bitmap = CreateBitmap(17, 3, 1, 1, bits.data());
    ASSERT_NE(bitmap, nullptr);
    std::vector<BYTE> back(bits.size() + 4, 0xAA);
    EXPECT_EQ(GetBitmapBits(bitmap, static_cast<LONG>(back.size()), back.data()), 12);
    EXPECT_EQ(std::vector<BYTE>(back.begin(), back.begin() + 12), bits);
    EXPECT_EQ(back[12], 0xAA) << "nothing written past the bits";
    // The top row first: pixels 0 and 16 of row 0 are white, row 2 black but for pixels 7 and 14.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ASSERT_NE(old, nullptr);
    struct Pixel {
        int x, y;
        COLORREF colour;
    };
    for (const Pixel& p : {Pixel{0, 0, RGB(255, 255, 255)}, Pixel{1, 0, RGB(0, 0, 0)}, Pixel{16, 0, RGB(255, 255, 255)},
                           Pixel{16, 1, RGB(255, 255, 255)}, Pixel{7, 2, RGB(255, 255, 255)},
                           Pixel{14, 2, RGB(255, 255, 255)}, Pixel{15, 2, RGB(0, 0, 0)}})
        EXPECT_EQ(GetPixel(dc, p.x, p.y), p.colour) << p.x << ", " << p.y;
    SelectObject(dc, old);
    DeleteDC(dc);

    // Shorter counts move the leading bytes only, in both directions.
    EXPECT_EQ(GetBitmapBits(bitmap, 5, back.data()), 5);
    const std::vector<BYTE> change = {0x0F, 0xF0, 0x0F, 0x00, 0x33};
    EXPECT_EQ(SetBitmapBits(bitmap, static_cast<DWORD>(change.size()), change.data()), 5);
    EXPECT_EQ(SetBitmapBits(bitmap, 1000, bits.data()), 12) << "never more than the bitmap holds";
    std::fill(back.begin(), back.end(), 0);
    EXPECT_EQ(GetBitmapBits(bitmap, 12, back.data()), 12);
    EXPECT_EQ(std::vector<BYTE>(back.begin(), back.begin() + 12), bits);
    DeleteObject(bitmap);
}

TEST(DeviceBitmap, BitsCallsRefuseBadArguments) {
    ResourceGuard guard;
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    HBITMAP deleted = CreateBitmap(1, 1, 1, 1, nullptr);
    DeleteObject(deleted);
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP stock = static_cast<HBITMAP>(GetCurrentObject(memory, OBJ_BITMAP));
    HBITMAP brush = reinterpret_cast<HBITMAP>(GetStockObject(WHITE_BRUSH));
    BYTE buffer[64] = {};
    struct Case {
        const char* name;
        std::function<LONG()> call;
        DWORD error;
    };
    const Case cases[] = {
        {"GetBitmapBits of nothing", [&] { return GetBitmapBits(nullptr, 64, buffer); }, ERROR_INVALID_HANDLE},
        {"GetBitmapBits of a deleted bitmap", [&] { return GetBitmapBits(deleted, 64, buffer); }, ERROR_INVALID_HANDLE},
        {"GetBitmapBits of a brush", [&] { return GetBitmapBits(brush, 64, buffer); }, ERROR_INVALID_HANDLE},
        {"GetBitmapBits into no room", [&] { return GetBitmapBits(bitmap, 0, buffer); }, ERROR_INVALID_PARAMETER},
        {"SetBitmapBits of a deleted bitmap", [&] { return SetBitmapBits(deleted, 64, buffer); }, ERROR_INVALID_HANDLE},
        {"SetBitmapBits from nothing", [&] { return SetBitmapBits(bitmap, 64, nullptr); }, ERROR_INVALID_PARAMETER},
        {"SetBitmapBits of no bytes", [&] { return SetBitmapBits(bitmap, 0, buffer); }, ERROR_INVALID_PARAMETER},
        {"SetBitmapBits of the shared stock bitmap", [&] { return SetBitmapBits(stock, 2, buffer); },
         ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(c.call(), 0);
        EXPECT_EQ(GetLastError(), c.error);
    }
    buffer[0] = 0xAA;
    EXPECT_EQ(GetBitmapBits(stock, 2, buffer), 2) << "the stock bitmap reads as its black pixel";
    EXPECT_EQ(buffer[0], 0);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

TEST(DeviceBitmap, CreateBitmapIndirectReadsRowsAtTheCallersStride) {
    ResourceGuard guard;
    // 2 x 2 at 32 bits with 4 spare bytes a row.
    const std::vector<BYTE> rows = {1, 2, 3, 0, 4, 5, 6, 0, 9, 9, 9, 9, 7, 8, 9, 0, 10, 11, 12, 0, 9, 9, 9, 9};
    BITMAP bm{0, 2, 2, 12, 1, 32, const_cast<BYTE*>(rows.data())};
    HBITMAP bitmap = CreateBitmapIndirect(&bm);
    ASSERT_NE(bitmap, nullptr);
    std::vector<BYTE> back(16);
    EXPECT_EQ(GetBitmapBits(bitmap, 16, back.data()), 16);
    EXPECT_EQ(back, (std::vector<BYTE>{1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0}));
    DeleteObject(bitmap);

    struct Case {
        const char* name;
        BITMAP bm;
    };
    const Case refused[] = {
        {"a type other than 0", {1, 2, 2, 8, 1, 32, nullptr}},
        {"rows narrower than the picture", {0, 2, 2, 6, 1, 32, const_cast<BYTE*>(rows.data())}},
        {"rows not word aligned", {0, 3, 2, 3, 1, 8, const_cast<BYTE*>(rows.data())}},
        {"no depth", {0, 2, 2, 8, 1, 0, nullptr}},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CreateBitmapIndirect(&c.bm), nullptr);
    }
    EXPECT_EQ(CreateBitmapIndirect(nullptr), nullptr);
    const BITMAP empty{0, 0, 5, 0, 1, 32, nullptr};
    HBITMAP one = CreateBitmapIndirect(&empty);
    EXPECT_EQ(Describe(one).bmBitsPixel, 1) << "a zero side gives 1 x 1 monochrome";
    DeleteObject(one);
}

TEST(DeviceBitmap, DimensionIsKeptAndReported) {
    ResourceGuard guard;
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    SIZE size{-1, -1};
    EXPECT_TRUE(GetBitmapDimensionEx(bitmap, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    EXPECT_TRUE(SetBitmapDimensionEx(bitmap, 254, -100, nullptr));
    EXPECT_TRUE(SetBitmapDimensionEx(bitmap, 10, 20, &size));
    EXPECT_EQ(size.cx, 254) << "the previous dimension";
    EXPECT_EQ(size.cy, -100);
    EXPECT_TRUE(GetBitmapDimensionEx(bitmap, &size));
    EXPECT_EQ(size.cx, 10);
    EXPECT_EQ(size.cy, 20);
    EXPECT_FALSE(GetBitmapDimensionEx(bitmap, nullptr));
    DeleteObject(bitmap);
    EXPECT_FALSE(GetBitmapDimensionEx(bitmap, &size));
    EXPECT_FALSE(SetBitmapDimensionEx(bitmap, 1, 1, &size));
}

TEST(DeviceBitmap, SelectObjectTakesEachKindWhereItFits) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
    Dib dib8 = MakeDib(2, 2, 8);
    struct Case {
        const char* name;
        HBITMAP bitmap;
        bool selectable;
    };
    const Case cases[] = {
        {"monochrome from CreateBitmap", CreateBitmap(2, 2, 1, 1, nullptr), true},
        {"32 bits from CreateBitmap: the screen's format", CreateBitmap(2, 2, 1, 32, nullptr), true},
        {"32 bits from CreateCompatibleBitmap", CreateCompatibleBitmap(screen, 2, 2), true},
        {"8 bits from CreateBitmap", CreateBitmap(2, 2, 1, 8, nullptr), false},
        {"16 bits from CreateBitmap", CreateBitmap(2, 2, 1, 16, nullptr), false},
        {"24 bits from CreateBitmap", CreateBitmap(2, 2, 1, 24, nullptr), false},
        {"an 8-bit DIB section", dib8.bitmap, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.bitmap, nullptr);
        SetLastError(0);
        HGDIOBJ old = SelectObject(first, c.bitmap);
        EXPECT_EQ(old != nullptr, c.selectable);
        if (old == nullptr) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        } else {
            EXPECT_EQ(SelectObject(second, c.bitmap), nullptr) << "one context at a time";
            EXPECT_FALSE(DeleteObject(c.bitmap)) << "not while selected";
            SelectObject(first, old);
            EXPECT_NE(SelectObject(second, c.bitmap), nullptr) << "free once deselected";
            SelectObject(second, old);
        }
        EXPECT_EQ(SelectObject(screen, c.bitmap), nullptr) << "never into the screen's context";
        // Every kind keeps its bits through GetDIBits and SetDIBits.
        BitmapInfoBuffer info = MakeInfo(2, 2, 32);
        const DWORD in[4] = {0x00FFFFFF, 0, 0, 0x00FFFFFF};
        DWORD out[4] = {};
        EXPECT_EQ(SetDIBits(nullptr, c.bitmap, 0, 2, in, info.info(), DIB_RGB_COLORS), 2);
        EXPECT_EQ(GetDIBits(first, c.bitmap, 0, 2, out, info.info(), DIB_RGB_COLORS), 2);
        EXPECT_EQ(out[0] & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(out[1] & 0xFFFFFF, 0u);
        EXPECT_TRUE(DeleteObject(c.bitmap));
    }
    DeleteDC(first);
    DeleteDC(second);
    ReleaseDC(nullptr, screen);
}

TEST(DeviceBitmap, CreateDIBitmapMakesTheContextsFormatFromADib) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    // A 2 x 2 bottom-up 8-bit picture: indices 1, 2 in the bottom row, 0, 3 in the top.
    BitmapInfoBuffer info = MakeInfo(2, 2, 8);
    info.colors[0] = RGBQUAD{0, 0, 0, 0};
    info.colors[1] = RGBQUAD{0, 0, 255, 0};
    info.colors[2] = RGBQUAD{0, 255, 0, 0};
    info.colors[3] = RGBQUAD{255, 255, 255, 0};
    const BYTE rows[8] = {1, 2, 0, 0, 0, 3, 0, 0};
    // The same picture with a DIB_PAL_COLORS table: indices into the default palette.
    BitmapInfoBuffer palInfo = info;
    const WORD indices[4] = {0, 1, 2, 19};  // black, dark red, dark green, white
    std::memcpy(palInfo.colors, indices, sizeof indices);
    struct Case {
        const char* name;
        HDC dc;
        DWORD init;
        BitmapInfoBuffer* bits;
        UINT usage;
        int bitsPixel;
        std::vector<COLORREF> pixels;  // top row first; empty: left zero
    };
    const Case cases[] = {
        {"the screen, CBM_INIT", screen, CBM_INIT, &info, DIB_RGB_COLORS, 32,
         {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 255, 0)}},
        {"the screen, DIB_PAL_COLORS", screen, CBM_INIT, &palInfo, DIB_PAL_COLORS, 32,
         {RGB(0, 0, 0), RGB(255, 255, 255), RGB(128, 0, 0), RGB(0, 128, 0)}},
        {"the screen, not initialised", screen, 0, &info, DIB_RGB_COLORS, 32, {}},
        // Pure red and green lie nearer black than white.
        {"a memory context: monochrome", memory, CBM_INIT, &info, DIB_RGB_COLORS, 1,
         {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0)}},
        {"no context: monochrome", nullptr, CBM_INIT, &info, DIB_RGB_COLORS, 1,
         {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = CreateDIBitmap(c.dc, &c.bits->header, c.init, rows, c.bits->info(), c.usage);
        ASSERT_NE(bitmap, nullptr);
        const BITMAP bm = Describe(bitmap);
        EXPECT_EQ(bm.bmBitsPixel, c.bitsPixel);
        EXPECT_EQ(bm.bmWidth, 2);
        EXPECT_EQ(bm.bmHeight, 2);
        EXPECT_EQ(bm.bmBits, nullptr);
        const std::vector<RGBQUAD> got = ReadPixels(bitmap, 32);
        ASSERT_EQ(got.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            const COLORREF want = c.pixels.empty() ? RGB(0, 0, 0) : c.pixels[i];
            EXPECT_EQ(RGB(got[i].rgbRed, got[i].rgbGreen, got[i].rgbBlue), want) << "pixel " << i;
        }
        DeleteObject(bitmap);
    }

    BitmapInfoBuffer bad = MakeInfo(2, 2, 7);
    BITMAPINFOHEADER core = info.header;
    core.biSize = 12;
    BITMAPINFOHEADER wide = info.header;
    wide.biWidth = -2;
    struct Refusal {
        const char* name;
        HDC dc;
        const BITMAPINFOHEADER* header;
        const void* bits;
        const BITMAPINFO* bitsInfo;
        DWORD error;
    };
    HDC deletedDc = CreateCompatibleDC(nullptr);
    DeleteDC(deletedDc);
    const Refusal refusals[] = {
        {"a deleted context", deletedDc, &info.header, rows, info.info(), ERROR_INVALID_HANDLE},
        {"no header", screen, nullptr, rows, info.info(), ERROR_INVALID_PARAMETER},
        {"a header size SetDIBits does not take", screen, &core, rows, info.info(), ERROR_INVALID_PARAMETER},
        {"a negative width", screen, &wide, rows, info.info(), ERROR_INVALID_PARAMETER},
        {"CBM_INIT without bits", screen, &info.header, nullptr, info.info(), ERROR_INVALID_PARAMETER},
        {"CBM_INIT without their description", screen, &info.header, rows, nullptr, ERROR_INVALID_PARAMETER},
        {"CBM_INIT with bits SetDIBits refuses", screen, &info.header, rows, bad.info(), ERROR_INVALID_PARAMETER},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        SetLastError(0);
        EXPECT_EQ(CreateDIBitmap(r.dc, r.header, CBM_INIT, r.bits, r.bitsInfo, DIB_RGB_COLORS), nullptr);
        EXPECT_EQ(GetLastError(), r.error);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace

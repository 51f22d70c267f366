// CreateCompatibleBitmap and the screen's context: the format each context
// gives, what GetObjectA reports of the result, and the refusals.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(CompatibleBitmap, TakesTheFormatOfTheContextsDevice) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 2, 2), mono = CreateCompatibleBitmap(memory, 2, 2);
    Dib dib8 = MakeDib(2, 2, 8), topDown24 = MakeDib(2, -2, 24);
    struct Case {
        const char* name;
        HDC dc;
        HBITMAP selected;  // into `memory` for the call
        int cx, bitCount;
        LONG widthBytes;
        bool dibSection;
    };
    // Width 17 pads rows to 16-bit words in compatible bitmaps, to 32-bit
    // words in DIB sections.
    const Case cases[] = {
        {"the screen", screen, nullptr, 17, 32, 68, false},
        {"a new memory context (1 x 1 monochrome)", memory, nullptr, 17, 1, 4, false},
        {"a 32-bit compatible bitmap selected", memory, colour, 17, 32, 68, false},
        {"a monochrome compatible bitmap selected", memory, mono, 17, 1, 4, false},
        {"an 8-bit DIB section selected", memory, dib8.bitmap, 17, 8, 20, true},
        {"a top-down 24-bit DIB section selected", memory, topDown24.bitmap, 17, 24, 52, true},
        {"zero width: 1 x 1 monochrome", screen, nullptr, 0, 1, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HGDIOBJ old = c.selected != nullptr ? SelectObject(memory, c.selected) : nullptr;
        HBITMAP bitmap = CreateCompatibleBitmap(c.dc, c.cx, 3);
        if (old != nullptr) SelectObject(memory, old);
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION ds{};
        EXPECT_EQ(GetObjectA(bitmap, sizeof ds, &ds), c.dibSection ? sizeof(DIBSECTION) : sizeof(BITMAP));
        EXPECT_EQ(ds.dsBm.bmType, 0);
        EXPECT_EQ(ds.dsBm.bmWidth, c.cx != 0 ? c.cx : 1);
        EXPECT_EQ(ds.dsBm.bmHeight, c.cx != 0 ? 3 : 1);
        EXPECT_EQ(ds.dsBm.bmWidthBytes, c.widthBytes);
        EXPECT_EQ(ds.dsBm.bmPlanes, 1);
        EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bitCount);
        EXPECT_EQ(ds.dsBm.bmBits != nullptr, c.dibSection);
        EXPECT_EQ(ds.dsBmih.biHeight, c.dibSection ? 3 : 0) << "positive, whatever the row order";
        // A DIB section's copy keeps its colour table (MakeDib's grey ramp).
        BitmapInfoBuffer info = MakeInfo(17, 3, 8);
        EXPECT_NE(GetDIBits(memory, bitmap, 0, 3, nullptr, info.info(), DIB_RGB_COLORS), 0);
        EXPECT_EQ(info.colors[200].rgbRed == 200, c.bitCount == 8);
        DeleteObject(bitmap);
    }
    for (HBITMAP made : {colour, mono, dib8.bitmap, topDown24.bitmap}) DeleteObject(made);
    DeleteDC(memory);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(CompatibleBitmap, RefusesBadContextsAndSizes) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    struct Case {
        HDC dc;
        int cx, cy;
        DWORD error;
    };
    const Case cases[] = {
        {nullptr, 4, 4, ERROR_INVALID_HANDLE},
        {reinterpret_cast<HDC>(GetStockObject(WHITE_BRUSH)), 4, 4, ERROR_INVALID_HANDLE},
        {screen, -1, 4, ERROR_INVALID_PARAMETER},
        {screen, 4, -1, ERROR_INVALID_PARAMETER},
        {screen, 1 << 20, 1, ERROR_INVALID_PARAMETER},
        {screen, 60000, 60000, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(CreateCompatibleBitmap(c.dc, c.cx, c.cy), nullptr) << c.cx << " x " << c.cy;
        EXPECT_EQ(GetLastError(), c.error);
    }
    // The screen's context holds no bitmap and is released, not deleted.
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
    EXPECT_EQ(SelectObject(screen, bitmap), nullptr);
    EXPECT_EQ(GetObjectType(screen), static_cast<DWORD>(OBJ_DC));
    EXPECT_FALSE(DeleteDC(screen));
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(screen)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0) << "released once";
    DeleteObject(bitmap);
}

}  // namespace

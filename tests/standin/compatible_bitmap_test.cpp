// CreateCompatibleBitmap and the screen's device context: the format each
// context gives, what GetObjectA reports of the result, and device-dependent
// bitmaps as sources and destinations of every pixel path.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;

namespace {

// Width 17 pads rows differently at every depth: to 16-bit words for
// device-dependent bitmaps, to 32-bit words for DIB sections.
constexpr int kWidth = 17, kHeight = 3;

struct Expected {
    int bitCount;
    LONG widthBytes;
    bool dibSection;
    bool topDown;
};

TEST(CompatibleBitmap, TakesTheFormatOfTheContextsDevice) {
    struct Case {
        const char* name;
        // Puts what the case needs into the memory context; returns the
        // context to ask, which may be another.
        std::function<HDC(HDC memory, HDC screen, std::vector<HBITMAP>* made)> prepare;
        int cx, cy;
        Expected want;
    };
    auto selectNew = [](HDC memory, HBITMAP bitmap, std::vector<HBITMAP>* made) {
        made->push_back(bitmap);
        SelectObject(memory, bitmap);
        return memory;
    };
    const Case cases[] = {
        {"the screen", [](HDC, HDC screen, auto*) { return screen; }, kWidth, kHeight, {32, 68, false, false}},
        {"a new memory context (1 x 1 monochrome)", [](HDC memory, HDC, auto*) { return memory; },
         kWidth, kHeight, {1, 4, false, false}},
        {"a 32-bit compatible bitmap selected",
         [&](HDC memory, HDC screen, auto* made) {
             return selectNew(memory, CreateCompatibleBitmap(screen, 2, 2), made);
         },
         kWidth, kHeight, {32, 68, false, false}},
        {"a monochrome compatible bitmap selected",
         [&](HDC memory, HDC, auto* made) {
             return selectNew(memory, CreateCompatibleBitmap(memory, 2, 2), made);
         },
         kWidth, kHeight, {1, 4, false, false}},
        {"an 8-bit DIB section selected",
         [&](HDC memory, HDC, auto* made) { return selectNew(memory, MakeDib(2, 2, 8).bitmap, made); },
         kWidth, kHeight, {8, 20, true, false}},
        {"a top-down 24-bit DIB section selected",
         [&](HDC memory, HDC, auto* made) { return selectNew(memory, MakeDib(2, -2, 24).bitmap, made); },
         kWidth, kHeight, {24, 52, true, true}},
        {"zero width", [](HDC, HDC screen, auto*) { return screen; }, 0, kHeight, {1, 2, false, false}},
        {"zero height", [](HDC, HDC screen, auto*) { return screen; }, kWidth, 0, {1, 2, false, false}},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(nullptr);
        std::vector<HBITMAP> made;
        HBITMAP bitmap = CreateCompatibleBitmap(c.prepare(memory, screen, &made), c.cx, c.cy);
        ASSERT_NE(bitmap, nullptr);
        const bool zero = c.cx == 0 || c.cy == 0;

        DIBSECTION ds{};
        const int size = c.want.dibSection ? sizeof(DIBSECTION) : sizeof(BITMAP);
        EXPECT_EQ(GetObjectA(bitmap, sizeof ds, &ds), size);
        EXPECT_EQ(ds.dsBm.bmType, 0);
        EXPECT_EQ(ds.dsBm.bmWidth, zero ? 1 : kWidth);
        EXPECT_EQ(ds.dsBm.bmHeight, zero ? 1 : kHeight);
        EXPECT_EQ(ds.dsBm.bmWidthBytes, c.want.widthBytes);
        EXPECT_EQ(ds.dsBm.bmPlanes, 1);
        EXPECT_EQ(ds.dsBm.bmBitsPixel, c.want.bitCount);
        EXPECT_EQ(ds.dsBm.bmBits != nullptr, c.want.dibSection);
        if (c.want.dibSection) {
            EXPECT_EQ(ds.dsBmih.biHeight < 0, c.want.topDown);
        }

        // An 8-bit section's copy keeps its colour table.
        InfoBuffer info = MakeInfo(kWidth, kHeight, c.want.bitCount == 8 ? 8 : 32);
        DeleteDC(memory);
        HDC work = CreateCompatibleDC(nullptr);
        if (!zero) {
            EXPECT_EQ(GetDIBits(work, bitmap, 0, kHeight, nullptr, info.info(), DIB_RGB_COLORS), kHeight);
        }
        if (c.want.bitCount == 8) {
            EXPECT_EQ(info.colors[200].rgbRed, 200) << "grey ramp";
        }
        DeleteDC(work);
        EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
        DeleteObject(bitmap);
        for (HBITMAP m : made) DeleteObject(m);
    }
}

TEST(CompatibleBitmap, RefusesBadContextsAndSizes) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    struct Case {
        const char* name;
        HDC dc;
        int cx, cy;
        DWORD error;
    };
    const Case cases[] = {
        {"no context", nullptr, 4, 4, ERROR_INVALID_HANDLE},
        {"a bitmap for a context", reinterpret_cast<HDC>(GetStockObject(WHITE_BRUSH)), 4, 4, ERROR_INVALID_HANDLE},
        {"negative width", screen, -1, 4, ERROR_INVALID_PARAMETER},
        {"negative height", memory, 4, -1, ERROR_INVALID_PARAMETER},
        {"beyond the side limit", screen, 1 << 20, 1, ERROR_INVALID_PARAMETER},
        {"beyond the area limit", screen, 60000, 60000, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(CreateCompatibleBitmap(c.dc, c.cx, c.cy), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    // The screen's context holds no bitmap and is given back, not deleted.
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
    EXPECT_EQ(SelectObject(screen, bitmap), nullptr);
    EXPECT_EQ(GetObjectType(screen), static_cast<DWORD>(OBJ_DC));
    EXPECT_EQ(GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_FALSE(DeleteDC(screen));
    EXPECT_EQ(ReleaseDC(nullptr, memory), 0);
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(memory)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0) << "released once";
    DeleteDC(memory);
    DeleteObject(bitmap);
}

TEST(CompatibleBitmap, DrawsBlitsAndTransfersPixelsLikeADibSection) {
    ResourceGuard guard;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    const COLORREF colours[] = {RGB(10, 20, 30), RGB(200, 100, 50), RGB(255, 255, 255), RGB(0, 0, 0)};
    for (int bitCount : {32, 1}) {
        SCOPED_TRACE(bitCount);
        HBITMAP ddb = CreateCompatibleBitmap(bitCount == 32 ? screen : memory, 4, 2);
        HGDIOBJ old = SelectObject(memory, ddb);
        for (int x = 0; x < 4; ++x) SetPixel(memory, x, 0, colours[x]);
        // Copied down a row by BitBlt, then read back through a DIB section.
        EXPECT_TRUE(BitBlt(memory, 0, 1, 4, 1, memory, 0, 0, SRCCOPY));
        Dib dib = MakeDib(4, 2, 32);
        HDC other = CreateCompatibleDC(nullptr);
        SelectObject(other, dib.bitmap);
        EXPECT_TRUE(StretchBlt(other, 0, 0, 4, 2, memory, 0, 0, 4, 2, SRCCOPY));
        SelectObject(memory, old);
        DeleteDC(other);
        std::vector<RGBQUAD> viaBlit = ReadPixels(dib.bitmap, 32);
        std::vector<RGBQUAD> viaGetDIBits = ReadPixels(ddb, 32);
        ASSERT_EQ(viaBlit.size(), 8u);
        for (int i = 0; i < 8; ++i) {
            COLORREF c = colours[i % 4];
            // Monochrome keeps the nearer of black and white.
            BYTE grey = GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 127 ? 255 : 0;
            BYTE r = bitCount == 32 ? GetRValue(c) : grey, b = bitCount == 32 ? GetBValue(c) : grey;
            EXPECT_EQ(viaBlit[i].rgbRed, r) << i;
            EXPECT_EQ(viaBlit[i].rgbBlue, b) << i;
            EXPECT_EQ(viaGetDIBits[i].rgbRed, r) << i;
        }
        DeleteObject(dib.bitmap);
        DeleteObject(ddb);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace

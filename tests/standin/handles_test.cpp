// Handle misuse of every kind fails cleanly, stock objects survive deletion,
// and selection follows the platform's ownership rules.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(Handles, NullStaleAndForeignHandlesFailEverywhere) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    Dib dib = MakeDib(4, 4, 24);
    HDC staleDc = CreateCompatibleDC(nullptr);
    DeleteDC(staleDc);
    Dib stale = MakeDib(4, 4, 24);
    DeleteObject(stale.bitmap);
    RECT rect{0, 0, 2, 2};
    const HDC badDcs[] = {nullptr, staleDc, reinterpret_cast<HDC>(dib.bitmap),
                          reinterpret_cast<HDC>(GetStockObject(WHITE_BRUSH)),
                          reinterpret_cast<HDC>(std::uintptr_t{0x12345678})};
    for (HDC bad : badDcs) {
        EXPECT_FALSE(DeleteDC(bad));
        EXPECT_EQ(SelectObject(bad, dib.bitmap), nullptr);
        EXPECT_EQ(FillRect(bad, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
        EXPECT_FALSE(MoveToEx(bad, 0, 0, nullptr));
        EXPECT_FALSE(LineTo(bad, 1, 1));
        EXPECT_EQ(SetStretchBltMode(bad, HALFTONE), 0);
        EXPECT_FALSE(StretchBlt(bad, 0, 0, 1, 1, dc, 0, 0, 1, 1, SRCCOPY));
        EXPECT_EQ(GetPixel(bad, 0, 0), CLR_INVALID);
    }
    const HBITMAP badBitmaps[] = {nullptr, stale.bitmap, reinterpret_cast<HBITMAP>(dc),
                                  reinterpret_cast<HBITMAP>(std::uintptr_t{0x12345678})};
    for (HBITMAP bad : badBitmaps) {
        BITMAP bm;
        EXPECT_EQ(GetObjectA(bad, sizeof bm, &bm), 0);
        EXPECT_EQ(SelectObject(dc, bad), nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        EXPECT_EQ(GetDIBits(dc, bad, 0, 1, nullptr, &info, DIB_RGB_COLORS), 0);
    }
    EXPECT_FALSE(DeleteObject(stale.bitmap));
    EXPECT_FALSE(DeleteObject(dc)) << "contexts are released with DeleteDC";
    EXPECT_FALSE(CloseHandle(dc)) << "a context is no kernel handle";
    DeleteObject(dib.bitmap);
    DeleteDC(dc);
}

TEST(Handles, ReusedSlotsDoNotRevivePastHandles) {
    Dib first = MakeDib(2, 2, 24);
    HBITMAP old = first.bitmap;
    DeleteObject(old);
    Dib second = MakeDib(2, 2, 24);
    EXPECT_NE(second.bitmap, old);
    BITMAP bm;
    EXPECT_EQ(GetObjectA(old, sizeof bm, &bm), 0);
    EXPECT_FALSE(DeleteObject(old));
    EXPECT_TRUE(DeleteObject(second.bitmap));
}

TEST(Handles, StockObjectsSurviveDeletion) {
    ResourceGuard guard;
    for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN,
                  BLACK_PEN, NULL_PEN}) {
        HGDIOBJ stock = GetStockObject(i);
        ASSERT_NE(stock, nullptr) << i;
        EXPECT_EQ(GetStockObject(i), stock);
        EXPECT_TRUE(DeleteObject(stock));
        EXPECT_NE(GetObjectType(stock), 0u) << "stock object " << i << " must survive";
    }
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(9), nullptr);
}

TEST(Handles, NewContextHoldsTheStockMonochromeBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ initial = GetCurrentObject(dc, OBJ_BITMAP);
    BITMAP bm;
    ASSERT_EQ(GetObjectA(initial, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_TRUE(DeleteObject(initial));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), initial);
    EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
    DeleteDC(dc);
}

TEST(Handles, ABitmapLivesInOneContextAndCannotBeDeletedThere) {
    ResourceGuard guard;
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    Dib dib = MakeDib(4, 4, 24);
    HGDIOBJ previous = SelectObject(a, dib.bitmap);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(SelectObject(b, dib.bitmap), nullptr) << "already selected elsewhere";
    EXPECT_EQ(SelectObject(a, dib.bitmap), dib.bitmap) << "reselecting returns itself";
    EXPECT_FALSE(DeleteObject(dib.bitmap)) << "still selected";
    EXPECT_EQ(SelectObject(a, previous), dib.bitmap);
    EXPECT_NE(SelectObject(b, dib.bitmap), nullptr);
    // Deleting the context releases the selection, not the bitmap.
    EXPECT_TRUE(DeleteDC(b));
    EXPECT_TRUE(DeleteObject(dib.bitmap));
    DeleteDC(a);
}

TEST(Handles, PensAndBrushesInUseCannotBeDeleted) {
    ResourceGuard guard;
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ previous = SelectObject(dc, pen);
    EXPECT_EQ(previous, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen));
    SelectObject(dc, previous);
    EXPECT_TRUE(DeleteObject(pen));
    LOGBRUSH lb;
    HBRUSH brush = CreateSolidBrush(RGB(9, 8, 7));
    ASSERT_EQ(GetObjectA(brush, sizeof lb, &lb), int(sizeof lb));
    EXPECT_EQ(lb.lbColor, RGB(9, 8, 7));
    EXPECT_TRUE(DeleteObject(brush));
    DeleteDC(dc);
}

TEST(Handles, StretchModesAreValidatedAndTheOldOneReturned) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetStretchBltMode(dc, HALFTONE), BLACKONWHITE);
    EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), HALFTONE);
    EXPECT_EQ(SetStretchBltMode(dc, WHITEONBLACK), COLORONCOLOR);
    EXPECT_EQ(SetStretchBltMode(dc, 0), 0);
    EXPECT_EQ(SetStretchBltMode(dc, 5), 0);
    EXPECT_EQ(GetStretchBltMode(dc), WHITEONBLACK);
    DeleteDC(dc);
}

}  // namespace

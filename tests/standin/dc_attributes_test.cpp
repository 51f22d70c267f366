// Text and background colours, background mode and brush origin: documented
// defaults, each setter returns the previous value, and bad handles fail.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(DcAttributes, DefaultsRoundTripsAndBadHandles) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const struct {
        const char* name;
        COLORREF (WINAPI* set)(HDC, COLORREF);
        COLORREF (WINAPI* get)(HDC);
        COLORREF initial;
    } colours[] = {{"background", SetBkColor, GetBkColor, RGB(255, 255, 255)},
                   {"text", SetTextColor, GetTextColor, RGB(0, 0, 0)}};
    for (const auto& c : colours) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.get(dc), c.initial);
        EXPECT_EQ(c.set(dc, RGB(1, 2, 3)), c.initial);
        EXPECT_EQ(c.set(dc, RGB(4, 5, 6)), RGB(1, 2, 3));
        EXPECT_EQ(c.get(dc), RGB(4, 5, 6));
        EXPECT_EQ(c.set(nullptr, 0), CLR_INVALID);
        EXPECT_EQ(c.get(nullptr), CLR_INVALID);
    }
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, 3), 0) << "no such mode";
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(SetBkMode(nullptr, OPAQUE), 0);

    POINT origin{-1, -1};
    ASSERT_TRUE(GetBrushOrgEx(dc, &origin));
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_TRUE(SetBrushOrgEx(dc, 5, -3, nullptr));
    EXPECT_TRUE(SetBrushOrgEx(dc, 2, 7, &origin));
    EXPECT_EQ(origin.x, 5);
    EXPECT_EQ(origin.y, -3);
    ASSERT_TRUE(GetBrushOrgEx(dc, &origin));
    EXPECT_EQ(origin.x, 2);
    EXPECT_EQ(origin.y, 7);
    EXPECT_FALSE(GetBrushOrgEx(dc, nullptr));
    EXPECT_FALSE(SetBrushOrgEx(nullptr, 0, 0, &origin));
    DeleteDC(dc);
    EXPECT_EQ(GetBkColor(dc), CLR_INVALID) << "deleted context";
}

}  // namespace

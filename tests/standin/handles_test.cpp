#include <windows.h>
#include <standin/testing.h>

#include <gtest/gtest.h>

TEST(Handles, NullHandlesFailCleanly) {
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
}

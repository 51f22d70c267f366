// MulDiv, ExitProcess and the environment's macros as a C++ file sees them.
#include <windows.h>
#include <tchar.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>

namespace {

TEST(MulDiv, RoundsToNearestAndReportsOverflow) {
    const struct {
        int number, numerator, denominator, expected;
    } cases[] = {
        {10, 3, 4, 8},  // 7.5: halves away from zero
        {-10, 3, 4, -8},
        {10, -3, 4, -8},
        {10, 3, -4, -8},
        {-10, -3, -4, -8},
        {-10, -3, 4, 8},
        {7, 1, 3, 2},  // 2.33
        {8, 1, 3, 3},  // 2.67
        {0, 5, 3, 0},
        {1920, 96, 72, 2560},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 62 bits
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
        {INT_MIN, 1, 1, INT_MIN},
        {INT_MIN, -1, 1, -1},  // 2^31 overflows
        {INT_MAX, 2, 1, -1},
        {INT_MAX, 2, 2, INT_MAX},
        {5, 7, 0, -1},  // no denominator
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
    }
}

TEST(ExitProcess, EndsTheProcessWithTheCode) {
    EXPECT_EXIT(ExitProcess(3), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(ExitProcess(0), ::testing::ExitedWithCode(0), "");
}

// The platform's macros; constant expressions, so checked when built.
static_assert(LOWORD(0x12345678) == 0x5678 && HIWORD(0x12345678) == 0x1234, "words");
static_assert(LOBYTE(0x1234) == 0x34 && HIBYTE(0x1234) == 0x12, "bytes");
static_assert(MAKEWORD(0x34, 0x12) == 0x1234, "MAKEWORD");
static_assert(MAKELONG(0x5678, 0x1234) == 0x12345678, "MAKELONG");
static_assert(HIWORD(-1) == 0xFFFF && LOWORD(-2) == 0xFFFE, "negative values take their low bits");

TEST(Macros, MinAndMaxLeaveTheStandardLibraryAlone) {
    // With <windows.h> included, the standard library's names still work...
    EXPECT_EQ(std::min(3, 4), 3);
    EXPECT_EQ((std::max)(3, 4), 4);
    EXPECT_EQ(std::numeric_limits<int>::max(), INT_MAX);
    // ...and Win32 code's min and max take operands of different types, as
    // the platform's macros do, with their common type.
    EXPECT_EQ(min(2, 7L), 2L);
    EXPECT_EQ(max(2.5, 1), 2.5);
    using std::max;
    EXPECT_EQ(max(5, 6), 6);
}

TEST(Macros, MemoryMacros) {
    unsigned char a[8];
    FillMemory(a, sizeof a, 0x5A);
    EXPECT_EQ(a[7], 0x5A);
    ZeroMemory(a, 4);
    EXPECT_EQ(a[3], 0);
    EXPECT_EQ(a[4], 0x5A);
    unsigned char b[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    CopyMemory(a, b, sizeof a);
    EXPECT_EQ(a[7], 8);
    MoveMemory(b + 1, b, 4);  // overlapping
    EXPECT_EQ(b[1], 1);
    EXPECT_EQ(b[4], 4);
    EXPECT_EQ(ARRAYSIZE(b), 8u);
}

}  // namespace

// PatBlt over every raster operation that reads no source, at every depth:
// each result bit is the operation's truth table at the brush's bit and the
// destination's, worked out here from the code alone.
#include "paint_canvas.h"
#include "resource_guard.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kWidth = 13;  // odd, so sub-byte rows end mid-byte

bool ReadsSource(int code) { return ((code >> 2) ^ code) & 0x33; }

std::uint32_t ValueAt(const std::uint8_t* row, int bitCount, int x) {
    if (bitCount < 8) {
        const int bit = x * bitCount;
        return (row[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
    }
    std::uint32_t value = 0;
    for (int b = 0; b < bitCount / 8; ++b) value |= std::uint32_t{row[x * bitCount / 8 + b]} << (8 * b);
    return value;
}

// The truth table applied bit by bit, the source bit 0 (unread).
std::uint32_t Expected(int code, std::uint32_t pattern, std::uint32_t dest, int bitCount) {
    std::uint32_t out = 0;
    const int bits = bitCount == 32 ? 32 : bitCount;
    for (int i = 0; i < bits; ++i) {
        const int p = (pattern >> i) & 1, d = (dest >> i) & 1;
        out |= std::uint32_t((code >> (p << 2 | d)) & 1) << i;
    }
    return out;
}

struct DepthCase {
    int bitCount;
    COLORREF brush;       // a colour the destination stores exactly
    std::uint32_t value;  // and the value it stores for it
};

// Tables at 8 bits or fewer: entry k is blue k, so RGB(0, 0, k) is index k.
std::vector<RGBQUAD> BlueRamp() {
    std::vector<RGBQUAD> colors(256);
    for (int k = 0; k < 256; ++k) colors[static_cast<std::size_t>(k)] = RGBQUAD{static_cast<BYTE>(k), 0, 0, 0};
    return colors;
}

TEST(PatBlt, EveryOperationWithoutASourceAtEveryDepth) {
    ResourceGuard guard;
    const DepthCase depths[] = {{1, RGB(0, 0, 1), 1},
                                {4, RGB(0, 0, 9), 9},
                                {8, RGB(0, 0, 0xA5), 0xA5},
                                {16, RGB(0x28, 0x50, 0x78), (5u << 10) | (10u << 5) | 15u},
                                {24, RGB(0x12, 0x34, 0x56), 0x123456},
                                {32, RGB(0x12, 0x34, 0x56), 0x00123456}};
    std::mt19937 random(18);
    for (const DepthCase& depth : depths) {
        PaintCanvas canvas(kWidth, -1, depth.bitCount, BlueRamp());
        canvas.Use(CreateSolidBrush(depth.brush));
        const int rowBytes = (kWidth * depth.bitCount + 31) / 32 * 4;
        for (int code = 0; code < 256; ++code) {
            if (ReadsSource(code)) continue;
            SCOPED_TRACE(testing::Message() << depth.bitCount << " bits, code " << code);
            std::vector<std::uint8_t> before(static_cast<std::size_t>(rowBytes));
            for (auto& b : before) b = static_cast<std::uint8_t>(random());
            std::memcpy(canvas.dib().bits, before.data(), before.size());
            // Columns 1 to 11: the first and last pixels must stay.
            ASSERT_TRUE(PatBlt(canvas.dc(), 1, 0, kWidth - 2, 1, static_cast<DWORD>(code) << 16));
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t was = ValueAt(before.data(), depth.bitCount, x);
                const std::uint32_t want = x == 0 || x == kWidth - 1 ? was : Expected(code, depth.value, was, depth.bitCount);
                ASSERT_EQ(ValueAt(canvas.dib().bits, depth.bitCount, x), want) << "x " << x;
            }
        }
    }
}

// An operation that reads a source is refused; a bad context fails; the
// negative extent covers the start pixel and those before it, as BitBlt's
// does.
TEST(PatBlt, RefusalsAndNegativeExtents) {
    ResourceGuard guard;
    PaintCanvas canvas(4, 2);
    canvas.Fill(RGB(255, 255, 255));
    EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(PatBlt(nullptr, 0, 0, 4, 2, PATCOPY));
    EXPECT_TRUE(PatBlt(canvas.dc(), 2, 1, -2, -1, BLACKNESS));  // columns 1-2 of row 1
    EXPECT_EQ(canvas.Picture(BasicLegend()), "....\n.##.\n");
    EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 4, 2, DSTINVERT));
    EXPECT_EQ(canvas.Picture(BasicLegend()), "####\n#..#\n");
}

}  // namespace

// The 24- and 32-bit row conversions move pixels in blocks (sixteen, then
// four at a time) before a pixel-by-pixel tail. These cases drive every
// route that reaches them -- GetDIBits, SetDIBits and BitBlt between the two
// depths, at random widths, offsets and row orders -- and compare each byte
// with a plain per-pixel model of the same conversion. Large transfers take
// streaming stores after a few pixels that reach an aligned address; they
// are driven at every alignment a caller's buffer can have.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kTrials = 300;
constexpr int kMaxWidth = 80;  // several sixteen-pixel blocks and every tail length
constexpr int kMaxHeight = 3;
constexpr int kDepths[] = {24, 32};

// Blue, green, red and the fourth byte, which 24-bit pixels do not have.
using Pixel = std::array<std::uint8_t, 4>;

Pixel PixelAt(const std::uint8_t* row, int x, int bitCount) {
    const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bitCount / 8);
    return Pixel{p[0], p[1], p[2], bitCount == 32 ? p[3] : std::uint8_t{0}};
}

void PutPixel(const Pixel& pixel, int x, int bitCount, std::uint8_t* row) {
    std::memcpy(row + static_cast<std::size_t>(x) * (bitCount / 8), pixel.data(), bitCount / 8);
}

std::size_t Stride(int width, int bitCount) { return static_cast<std::size_t>(width * bitCount + 31) / 32 * 4; }

// Picture row y (counted from the top) of rows stored in either order.
std::uint8_t* RowOf(std::uint8_t* bits, std::size_t stride, int height, bool topDown, int y) {
    return bits + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
}

struct Buffer {
    BITMAPINFO info;
    std::vector<std::uint8_t> bytes;
    std::size_t stride;
};

Buffer MakeBuffer(int width, int height, bool topDown, int bitCount) {
    Buffer buffer;
    std::memset(&buffer.info, 0, sizeof buffer.info);
    buffer.info.bmiHeader = MakeInfo(width, topDown ? -height : height, bitCount).header;
    buffer.stride = Stride(width, bitCount);
    buffer.bytes.resize(buffer.stride * static_cast<std::size_t>(height));
    return buffer;
}

void Randomize(std::mt19937& random, std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(random());
}

int Between(std::mt19937& random, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(random);
}

// One bitmap of a random size, depth and row order, filled with noise.
struct Subject {
    int width, height, bitCount;
    bool topDown;
    Dib dib;
    std::uint8_t* Row(int y) const {
        return RowOf(dib.bits, static_cast<std::size_t>(dib.stride), height, topDown, y);
    }
    std::size_t Bytes() const { return static_cast<std::size_t>(dib.stride) * height; }
};

Subject RandomSubject(std::mt19937& random, int width, int height) {
    Subject s{width, height, kDepths[random() % 2], random() % 2 == 0, {}};
    s.dib = MakeDib(width, s.topDown ? -height : height, s.bitCount);
    Randomize(random, s.dib.bits, s.Bytes());
    return s;
}

class SpeedPaths : public ::testing::Test {
protected:
    ~SpeedPaths() override { DeleteDC(dc_); }
    ResourceGuard guard_;
    HDC dc_ = CreateCompatibleDC(nullptr);
    std::mt19937 random_{20240611};
};

TEST_F(SpeedPaths, GetDIBitsConvertsEveryPixelAsThePlainModelDoes) {
    for (int trial = 0; trial < kTrials; ++trial) {
        const int height = Between(random_, 1, kMaxHeight);
        Subject bitmap = RandomSubject(random_, Between(random_, 1, kMaxWidth), height);
        const int bufferWidth = Between(random_, 1, kMaxWidth);
        const int bufferBits = kDepths[random_() % 2];
        const bool bufferTopDown = random_() % 2 == 0;
        SCOPED_TRACE(::testing::Message() << "bitmap " << bitmap.width << " at " << bitmap.bitCount
                                          << ", buffer " << bufferWidth << " at " << bufferBits);
        Buffer buffer = MakeBuffer(bufferWidth, height, bufferTopDown, bufferBits);
        Randomize(random_, buffer.bytes.data(), buffer.bytes.size());

        // Expected: the shared columns converted, everything else in a row cleared.
        std::vector<std::uint8_t> expected(buffer.bytes.size(), 0);
        const int columns = std::min(bufferWidth, bitmap.width);
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = RowOf(expected.data(), buffer.stride, height, bufferTopDown, y);
            for (int x = 0; x < columns; ++x)
                PutPixel(PixelAt(bitmap.Row(y), x, bitmap.bitCount), x, bufferBits, row);
        }
        ASSERT_EQ(GetDIBits(dc_, bitmap.dib.bitmap, 0, height, buffer.bytes.data(), &buffer.info,
                            DIB_RGB_COLORS),
                  height);
        ASSERT_EQ(buffer.bytes, expected);
        DeleteObject(bitmap.dib.bitmap);
    }
}

TEST_F(SpeedPaths, SetDIBitsConvertsEveryPixelAsThePlainModelDoes) {
    for (int trial = 0; trial < kTrials; ++trial) {
        const int height = Between(random_, 1, kMaxHeight);
        Subject bitmap = RandomSubject(random_, Between(random_, 1, kMaxWidth), height);
        const int bufferWidth = Between(random_, 1, kMaxWidth);
        const int bufferBits = kDepths[random_() % 2];
        const bool bufferTopDown = random_() % 2 == 0;
        SCOPED_TRACE(::testing::Message() << "buffer " << bufferWidth << " at " << bufferBits
                                          << ", bitmap " << bitmap.width << " at " << bitmap.bitCount);
        Buffer buffer = MakeBuffer(bufferWidth, height, bufferTopDown, bufferBits);
        Randomize(random_, buffer.bytes.data(), buffer.bytes.size());

        // Expected: the shared columns converted; the rest of each row, its
        // padding included, untouched.
        std::vector<std::uint8_t> expected(bitmap.dib.bits, bitmap.dib.bits + bitmap.Bytes());
        const int columns = std::min(bufferWidth, bitmap.width);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* from = RowOf(buffer.bytes.data(), buffer.stride, height, bufferTopDown, y);
            std::uint8_t* row = RowOf(expected.data(), static_cast<std::size_t>(bitmap.dib.stride), height,
                                      bitmap.topDown, y);
            for (int x = 0; x < columns; ++x) PutPixel(PixelAt(from, x, bufferBits), x, bitmap.bitCount, row);
        }
        ASSERT_EQ(SetDIBits(dc_, bitmap.dib.bitmap, 0, height, buffer.bytes.data(), &buffer.info,
                            DIB_RGB_COLORS),
                  height);
        ASSERT_EQ(std::vector<std::uint8_t>(bitmap.dib.bits, bitmap.dib.bits + bitmap.Bytes()), expected);
        DeleteObject(bitmap.dib.bitmap);
    }
}

// Copying or XORing a rectangle between the depths converts whole rows that
// start at any column, on both the reading and the writing side.
TEST_F(SpeedPaths, BlitsBetweenDepthsConvertEveryPixelAsThePlainModelDoes) {
    HDC sourceDc = CreateCompatibleDC(nullptr);
    for (int trial = 0; trial < kTrials; ++trial) {
        const int width = Between(random_, 1, kMaxWidth);
        const int height = Between(random_, 1, kMaxHeight);
        Subject source = RandomSubject(random_, Between(random_, width, kMaxWidth + 8), height);
        Subject target = RandomSubject(random_, Between(random_, width, kMaxWidth + 8), height);
        const int xSource = Between(random_, 0, source.width - width);
        const int xTarget = Between(random_, 0, target.width - width);
        const bool xor_ = random_() % 2 == 0;
        SCOPED_TRACE(::testing::Message() << width << " pixels from column " << xSource << " at "
                                          << source.bitCount << " to column " << xTarget << " at "
                                          << target.bitCount << (xor_ ? ", XOR" : ", copy"));

        std::vector<std::uint8_t> expected(target.dib.bits, target.dib.bits + target.Bytes());
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = RowOf(expected.data(), static_cast<std::size_t>(target.dib.stride), height,
                                      target.topDown, y);
            for (int x = 0; x < width; ++x) {
                Pixel pixel = PixelAt(source.Row(y), xSource + x, source.bitCount);
                const Pixel old = PixelAt(row, xTarget + x, target.bitCount);
                if (xor_)
                    for (int c = 0; c < 4; ++c) pixel[c] = static_cast<std::uint8_t>(pixel[c] ^ old[c]);
                PutPixel(pixel, xTarget + x, target.bitCount, row);
            }
        }
        HGDIOBJ oldSource = SelectObject(sourceDc, source.dib.bitmap);
        HGDIOBJ oldTarget = SelectObject(dc_, target.dib.bitmap);
        ASSERT_TRUE(BitBlt(dc_, xTarget, 0, width, height, sourceDc, xSource, 0, xor_ ? SRCINVERT : SRCCOPY));
        SelectObject(sourceDc, oldSource);
        SelectObject(dc_, oldTarget);
        ASSERT_EQ(std::vector<std::uint8_t>(target.dib.bits, target.dib.bits + target.Bytes()), expected);
        DeleteObject(source.dib.bitmap);
        DeleteObject(target.dib.bitmap);
    }
    DeleteDC(sourceDc);
}

// Transfers of 8 MiB or more. The odd width gives every row its own
// alignment, and the buffer is placed at byte offsets that a plain store
// copes with and an aligned streaming store must work around.
TEST_F(SpeedPaths, LargeTransfersConvertEveryPixelAtEveryBufferAlignment) {
    constexpr int kWidth = 2051, kHeight = 1400;
    constexpr std::size_t kOffsets[] = {0, 1, 4, 8};
    for (int bitmapBits : kDepths) {
        const int bufferBits = bitmapBits == 24 ? 32 : 24;
        Subject bitmap{kWidth, kHeight, bitmapBits, false, MakeDib(kWidth, kHeight, bitmapBits)};
        Randomize(random_, bitmap.dib.bits, bitmap.Bytes());
        Buffer buffer = MakeBuffer(kWidth, kHeight, false, bufferBits);
        std::vector<std::uint8_t> expected(buffer.bytes.size(), 0);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = RowOf(expected.data(), buffer.stride, kHeight, false, y);
            for (int x = 0; x < kWidth; ++x)
                PutPixel(PixelAt(bitmap.Row(y), x, bitmapBits), x, bufferBits, row);
        }
        for (std::size_t offset : kOffsets) {
            SCOPED_TRACE(::testing::Message() << bitmapBits << " to " << bufferBits << " bits, offset "
                                              << offset);
            // The buffer starts `offset` bytes past a 16-byte boundary.
            std::vector<std::uint8_t> space(buffer.bytes.size() + offset + 16);
            const std::size_t aligned = 16 - reinterpret_cast<std::uintptr_t>(space.data()) % 16;
            std::uint8_t* bits = space.data() + aligned + offset;
            ASSERT_EQ(GetDIBits(dc_, bitmap.dib.bitmap, 0, kHeight, bits, &buffer.info, DIB_RGB_COLORS),
                      kHeight);
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), bits));
        }
        // And back: the buffer's pixels written over a cleared bitmap give
        // the picture again, less what 24 bits lack: the fourth byte, and
        // the row padding, which stays clear.
        std::vector<std::uint8_t> picture(bitmap.Bytes(), 0);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                Pixel pixel = PixelAt(bitmap.Row(y), x, bitmapBits);
                pixel[3] = 0;
                PutPixel(pixel, x, bitmapBits, picture.data() + (bitmap.Row(y) - bitmap.dib.bits));
            }
        std::memset(bitmap.dib.bits, 0, bitmap.Bytes());
        ASSERT_EQ(
            SetDIBits(dc_, bitmap.dib.bitmap, 0, kHeight, expected.data(), &buffer.info, DIB_RGB_COLORS),
            kHeight);
        ASSERT_TRUE(std::equal(picture.begin(), picture.end(), bitmap.dib.bits));
        DeleteObject(bitmap.dib.bitmap);
    }
}

}  // namespace

// Colour masks of 16- and 32-bit pixels (BI_BITFIELDS and
// BI_ALPHABITFIELDS), reduced once to a shift and a width per channel.
#ifndef STANDIN_BMP_BITFIELDS_H
#define STANDIN_BMP_BITFIELDS_H

#include "pixels/pixel_format.h"

#include <array>
#include <cstdint>

namespace standin {
namespace bmp {

// A channel's mask, shift and width; a width of 0 means the channel is
// absent.
using Channel = ChannelMask;

struct Bitfields {
    Channel red, green, blue, alpha;
};

// Reduces red, green, blue and alpha masks (alpha 0 when there is none).
// Refuses an empty colour mask, a mask that is not one run of set bits,
// masks that overlap and bits beyond the pixel's `bitCount`.
bool MakeBitfields(const std::uint32_t masks[4], int bitCount, Bitfields* out);

// Whether the layout is one that a DIB section holds as it is: 5-5-5 or
// 5-6-5 at 16 bits, 8-8-8 (red highest) at 32, with no alpha.
bool IsDirectLayout(const Bitfields& fields, int bitCount);

// Takes one channel out of a pixel and scales it to 8 bits, rounding to
// nearest, so the largest n-bit value becomes 255.
class ChannelWidener {
public:
    explicit ChannelWidener(const Channel& channel);
    std::uint8_t operator()(std::uint32_t pixel) const {
        std::uint32_t value = (pixel & channel_.mask) >> channel_.shift;
        if (channel_.bits <= kTableBits) return table_[value];
        return static_cast<std::uint8_t>((std::uint64_t{value} * 255 + max_ / 2) / max_);
    }

private:
    static constexpr int kTableBits = 8;
    Channel channel_;
    std::uint32_t max_ = 0;
    std::array<std::uint8_t, 1u << kTableBits> table_{};
};

// Converts rows of masked 16- or 32-bit pixels to 32-bit blue, green, red,
// alpha (0 when the layout has no alpha).
class BitfieldsRowConverter {
public:
    BitfieldsRowConverter(const Bitfields& fields, int bitCount);
    void Convert(const std::uint8_t* src, int width, std::uint8_t* dst) const;

private:
    int bytesPerPixel_;
    bool hasAlpha_;
    ChannelWidener red_, green_, blue_, alpha_;
};

}  // namespace bmp
}  // namespace standin

#endif

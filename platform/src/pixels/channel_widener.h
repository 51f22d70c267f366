// The one rule for turning an n-bit colour channel into 8 bits: the
// value's bits are repeated (5-bit 10110 becomes 10110101), so 0 stays 0 and
// the largest n-bit value becomes 255, as GetDIBits widens 5-5-5 pixels.
// A channel wider than 8 bits keeps its top 8 bits, which is where the
// repetition stops.
#ifndef STANDIN_CHANNEL_WIDENER_H
#define STANDIN_CHANNEL_WIDENER_H

#include "pixels/pixel_format.h"

#include <array>
#include <cstdint>

namespace standin {

// `value` of a `bits`-wide channel (1 to 32) as 8 bits.
std::uint8_t WidenChannel(std::uint32_t value, int bits);

// Takes one channel out of a 16- or 32-bit pixel and widens it to 8 bits;
// a channel of 8 bits or fewer through a table made once. An absent
// channel (0 bits) reads 0.
class ChannelWidener {
public:
    ChannelWidener() = default;
    explicit ChannelWidener(const ChannelMask& channel);

    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint32_t value = (pixel & channel_.mask) >> channel_.shift;
        if (channel_.bits <= kTableBits) return table_[value];
        return static_cast<std::uint8_t>(value >> (channel_.bits - 8));
    }

private:
    static constexpr int kTableBits = 8;
    ChannelMask channel_;
    std::array<std::uint8_t, 1u << kTableBits> table_{};
};

}  // namespace standin

#endif

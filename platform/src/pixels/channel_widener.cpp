#include "pixels/channel_widener.h"

namespace standin {

std::uint8_t WidenChannel(std::uint32_t value, int bits) {
    if (bits >= 8) return static_cast<std::uint8_t>(value >> (bits - 8));
    std::uint32_t result = 0;
    int filled = 0;
    while (filled < 8) {
        result = (result << bits) | value;
        filled += bits;
    }
    return static_cast<std::uint8_t>(result >> (filled - 8));
}

ChannelWidener::ChannelWidener(const ChannelMask& channel) : channel_(channel) {
    if (channel.bits == 0 || channel.bits > kTableBits) return;
    for (std::uint32_t v = 0; v < (1u << channel.bits); ++v) table_[v] = WidenChannel(v, channel.bits);
}

}  // namespace standin

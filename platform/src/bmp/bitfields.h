// Colour masks of 16- and 32-bit pixels (BI_BITFIELDS and
// BI_ALPHABITFIELDS), reduced once to a shift and a width per channel.
#ifndef STANDIN_BMP_BITFIELDS_H
#define STANDIN_BMP_BITFIELDS_H

#include "pixels/channel_widener.h"
#include "pixels/pixel_format.h"

#include <cstdint>

namespace standin {
namespace bmp {

// Each channel's mask, shift and width; a width of 0 means the channel is
// absent.
struct Bitfields {
    ChannelMask red, green, blue, alpha;
};

// Reduces red, green, blue and alpha masks (alpha 0 when there is none),
// refusing what MakeChannelMasks refuses.
bool MakeBitfields(const std::uint32_t masks[kMaskCount], int bitCount, Bitfields* out);

// Whether the layout is one that a DIB section holds as it is: 5-5-5 or
// 5-6-5 at 16 bits, 8-8-8 (red highest) at 32, with no alpha.
bool IsDirectLayout(const Bitfields& fields, int bitCount);

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

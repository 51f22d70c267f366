#include "bmp/bitfields.h"

namespace standin {
namespace bmp {
namespace {

bool Matches(const ChannelMask& channel, std::uint32_t mask) { return channel.mask == mask; }

std::uint32_t ReadPixel(const std::uint8_t* p, int bytesPerPixel) {
    std::uint32_t pixel = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8);
    if (bytesPerPixel == 4) pixel |= (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
    return pixel;
}

}  // namespace

bool MakeBitfields(const std::uint32_t masks[kMaskCount], int bitCount, Bitfields* out) {
    ChannelMask channels[kMaskCount];
    if (!MakeChannelMasks(masks, bitCount, channels)) return false;
    *out = Bitfields{channels[kRedMask], channels[kGreenMask], channels[kBlueMask], channels[kAlphaMask]};
    return true;
}

bool IsDirectLayout(const Bitfields& fields, int bitCount) {
    if (fields.alpha.bits != 0) return false;
    if (bitCount == 16) {
        bool rgb555 = Matches(fields.red, 0x7C00) && Matches(fields.green, 0x03E0);
        bool rgb565 = Matches(fields.red, 0xF800) && Matches(fields.green, 0x07E0);
        return (rgb555 || rgb565) && Matches(fields.blue, 0x001F);
    }
    return bitCount == 32 && Matches(fields.red, 0xFF0000) && Matches(fields.green, 0x00FF00) &&
           Matches(fields.blue, 0x0000FF);
}

BitfieldsRowConverter::BitfieldsRowConverter(const Bitfields& fields, int bitCount)
    : bytesPerPixel_(bitCount / 8),
      hasAlpha_(fields.alpha.bits != 0),
      red_(fields.red),
      green_(fields.green),
      blue_(fields.blue),
      alpha_(fields.alpha) {}

void BitfieldsRowConverter::Convert(const std::uint8_t* src, int width, std::uint8_t* dst) const {
    for (int x = 0; x < width; ++x, src += bytesPerPixel_, dst += 4) {
        const std::uint32_t pixel = ReadPixel(src, bytesPerPixel_);
        dst[0] = blue_(pixel);
        dst[1] = green_(pixel);
        dst[2] = red_(pixel);
        dst[3] = hasAlpha_ ? alpha_(pixel) : 0;
    }
}

}  // namespace bmp
}  // namespace standin

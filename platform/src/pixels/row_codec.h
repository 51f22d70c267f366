// Converts rows of any supported pixel format to and from a common working
// form: four bytes a pixel, blue, green, red and a fourth byte (kept only by
// 32-bit BI_RGB, zero elsewhere). All per-pixel work happens in tight loops
// over a whole run of a row; the format is decided once per codec.
#ifndef STANDIN_ROW_CODEC_H
#define STANDIN_ROW_CODEC_H

#include "pixels/channel_widener.h"
#include "pixels/palette_matcher.h"
#include "pixels/pixel_format.h"
#include "support/streaming_stores.h"

#include <cstdint>

namespace standin {

constexpr int kWorkBytesPerPixel = 4;

class RowCodec {
public:
    // `colors` must hold `colorCount` entries; used at 8 bits or fewer.
    RowCodec(const PixelFormat& format, const RGBQUAD* colors, int colorCount);

    // Reads `count` pixels from column `x0` of `row` into `out`.
    void Unpack(const std::uint8_t* row, int x0, int count, std::uint8_t* out,
                Stores stores = Stores::Cached) const;
    // Writes `count` working pixels into `row` from column `x0`; at 8 bits or
    // fewer each becomes the nearest colour-table entry.
    void Pack(const std::uint8_t* in, int x0, int count, std::uint8_t* row, Stores stores = Stores::Cached);
    // Streaming stores are used where they pay (the 24-bit conversions);
    // a caller that asks for them calls FinishStreamingStores when done.

private:
    std::uint32_t PackChannels(const std::uint8_t* px) const;

    PixelFormat format_;
    const RGBQUAD* colors_;
    int colorCount_;
    PaletteMatcher matcher_;
    // The masked channels of 16- and 32-bit bitfield pixels.
    ChannelWidener red_, green_, blue_;
};

}  // namespace standin

#endif

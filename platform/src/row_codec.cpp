#include "row_codec.h"

#include <cstring>

namespace standin {
namespace {

// Widens an n-bit channel value to 8 bits by repeating its bits, so the
// largest n-bit value becomes 255 (a bare shift would give 248 for 5 bits).
std::uint8_t WidenByReplication(std::uint32_t value, int bits) {
    std::uint32_t result = 0;
    int filled = 0;
    while (filled < 8) {
        result = (result << bits) | value;
        filled += bits;
    }
    return static_cast<std::uint8_t>(result >> (filled - 8));
}

void FillWidenTable(const ChannelMask& channel, std::array<std::uint8_t, 256>* table) {
    if (channel.bits == 0 || channel.bits > 8) return;
    for (std::uint32_t v = 0; v < (1u << channel.bits); ++v)
        (*table)[v] = WidenByReplication(v, channel.bits);
}

std::uint8_t ExtractChannel(std::uint32_t pixel, const ChannelMask& channel,
                            const std::array<std::uint8_t, 256>& widen) {
    std::uint32_t value = (pixel & channel.mask) >> channel.shift;
    if (channel.bits <= 8) return widen[value];
    return static_cast<std::uint8_t>(value >> (channel.bits - 8));
}

std::uint32_t NarrowChannel(std::uint8_t value, const ChannelMask& channel) {
    std::uint32_t v;
    if (channel.bits <= 8) {
        v = value >> (8 - channel.bits);
    } else {
        std::uint32_t max = (channel.bits >= 32) ? 0xFFFFFFFFu : (1u << channel.bits) - 1;
        v = static_cast<std::uint32_t>((std::uint64_t{value} * max + 127) / 255);
    }
    return (v << channel.shift) & channel.mask;
}

}  // namespace

PaletteMatcher::PaletteMatcher(const RGBQUAD* colors, int count)
    : colors_(colors), count_(count) {
    cacheKey_.fill(0xFFFFFFFFu);
}

std::uint8_t PaletteMatcher::Nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    std::uint32_t key = (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
    std::uint32_t slot = (key ^ (key >> 12) ^ (key >> 20)) & (kCacheSlots - 1);
    if (cacheKey_[slot] == key) return cacheIndex_[slot];
    int best = 0;
    std::uint32_t bestDistance = 0xFFFFFFFFu;
    for (int i = 0; i < count_; ++i) {
        int db = int{colors_[i].rgbBlue} - b;
        int dg = int{colors_[i].rgbGreen} - g;
        int dr = int{colors_[i].rgbRed} - r;
        std::uint32_t distance = static_cast<std::uint32_t>(db * db + dg * dg + dr * dr);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    cacheKey_[slot] = key;
    cacheIndex_[slot] = static_cast<std::uint8_t>(best);
    return static_cast<std::uint8_t>(best);
}

RowCodec::RowCodec(const PixelFormat& format, const RGBQUAD* colors, int colorCount)
    : format_(format), colors_(colors), colorCount_(colorCount), matcher_(colors, colorCount) {
    FillWidenTable(format.red, &widenRed_);
    FillWidenTable(format.green, &widenGreen_);
    FillWidenTable(format.blue, &widenBlue_);
}

void RowCodec::Unpack(const std::uint8_t* row, int x0, int count, std::uint8_t* out) const {
    switch (format_.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = format_.bitCount;
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int i = 0; i < count; ++i, out += 4) {
                int x = x0 + i;
                int shift = (perByte - 1 - x % perByte) * bits;
                unsigned index = (row[x / perByte] >> shift) & mask;
                // Tables shorter than the index range leave the rest black.
                RGBQUAD c = static_cast<int>(index) < colorCount_ ? colors_[index] : RGBQUAD{0, 0, 0, 0};
                out[0] = c.rgbBlue;
                out[1] = c.rgbGreen;
                out[2] = c.rgbRed;
                out[3] = 0;
            }
            return;
        }
        case 24: {
            const std::uint8_t* src = row + static_cast<std::size_t>(x0) * 3;
            for (int i = 0; i < count; ++i, src += 3, out += 4) {
                out[0] = src[0];
                out[1] = src[1];
                out[2] = src[2];
                out[3] = 0;
            }
            return;
        }
        case 32:
            if (!format_.bitfields) {
                std::memcpy(out, row + static_cast<std::size_t>(x0) * 4,
                            static_cast<std::size_t>(count) * 4);
                return;
            }
            for (int i = 0; i < count; ++i, out += 4) {
                std::uint32_t px;
                std::memcpy(&px, row + static_cast<std::size_t>(x0 + i) * 4, 4);
                out[0] = ExtractChannel(px, format_.blue, widenBlue_);
                out[1] = ExtractChannel(px, format_.green, widenGreen_);
                out[2] = ExtractChannel(px, format_.red, widenRed_);
                out[3] = 0;
            }
            return;
        case 16:
            for (int i = 0; i < count; ++i, out += 4) {
                const std::uint8_t* p = row + static_cast<std::size_t>(x0 + i) * 2;
                std::uint32_t px = p[0] | (std::uint32_t{p[1]} << 8);
                out[0] = ExtractChannel(px, format_.blue, widenBlue_);
                out[1] = ExtractChannel(px, format_.green, widenGreen_);
                out[2] = ExtractChannel(px, format_.red, widenRed_);
                out[3] = 0;
            }
            return;
    }
}

std::uint32_t RowCodec::PackChannels(const std::uint8_t* px) const {
    return NarrowChannel(px[0], format_.blue) | NarrowChannel(px[1], format_.green) |
           NarrowChannel(px[2], format_.red);
}

void RowCodec::Pack(const std::uint8_t* in, int x0, int count, std::uint8_t* row) {
    switch (format_.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = format_.bitCount;
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int i = 0; i < count; ++i, in += 4) {
                int x = x0 + i;
                int shift = (perByte - 1 - x % perByte) * bits;
                unsigned index = matcher_.Nearest(in[0], in[1], in[2]);
                std::uint8_t& byte = row[x / perByte];
                byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | (index << shift));
            }
            return;
        }
        case 24: {
            std::uint8_t* dst = row + static_cast<std::size_t>(x0) * 3;
            for (int i = 0; i < count; ++i, dst += 3, in += 4) {
                dst[0] = in[0];
                dst[1] = in[1];
                dst[2] = in[2];
            }
            return;
        }
        case 32:
            if (!format_.bitfields) {
                std::memcpy(row + static_cast<std::size_t>(x0) * 4, in,
                            static_cast<std::size_t>(count) * 4);
                return;
            }
            for (int i = 0; i < count; ++i, in += 4) {
                std::uint32_t px = PackChannels(in);
                std::memcpy(row + static_cast<std::size_t>(x0 + i) * 4, &px, 4);
            }
            return;
        case 16:
            for (int i = 0; i < count; ++i, in += 4) {
                std::uint32_t px = PackChannels(in);
                std::uint8_t* p = row + static_cast<std::size_t>(x0 + i) * 2;
                p[0] = static_cast<std::uint8_t>(px);
                p[1] = static_cast<std::uint8_t>(px >> 8);
            }
            return;
    }
}

}  // namespace standin

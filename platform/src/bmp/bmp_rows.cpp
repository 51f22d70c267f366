#include "bmp_rows.h"

#include <array>
#include <cmath>
#include <cstring>

namespace standin {
namespace bmp {
namespace {

// 64-bit pixels hold blue, green, red and alpha as signed 2.13 fixed-point
// numbers of linear light: 8192 is full intensity, values outside 0..8192
// are clamped.
constexpr int kLinearOne = 8192;

// Linear intensity 0..8192 to an 8-bit sRGB value.
const std::array<std::uint8_t, kLinearOne + 1>& LinearToSrgbTable() {
    static const auto table = [] {
        std::array<std::uint8_t, kLinearOne + 1> t{};
        for (int v = 0; v <= kLinearOne; ++v) {
            double linear = static_cast<double>(v) / kLinearOne;
            double encoded = linear <= 0.0031308 ? 12.92 * linear
                                                 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
            t[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::lround(encoded * 255.0));
        }
        return t;
    }();
    return table;
}

int ClampLinear(const std::uint8_t* p) {
    const int value = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    return value < 0 ? 0 : value > kLinearOne ? kLinearOne : value;
}

void Rgba64Row(const std::uint8_t* src, int width, std::uint8_t* dst) {
    const auto& srgb = LinearToSrgbTable();
    for (int x = 0; x < width; ++x, src += 8, dst += 4) {
        dst[0] = srgb[static_cast<std::size_t>(ClampLinear(src))];
        dst[1] = srgb[static_cast<std::size_t>(ClampLinear(src + 2))];
        dst[2] = srgb[static_cast<std::size_t>(ClampLinear(src + 4))];
        // Alpha is a proportion, not light: scaled without the sRGB curve.
        dst[3] = static_cast<std::uint8_t>((ClampLinear(src + 6) * 255 + kLinearOne / 2) / kLinearOne);
    }
}

// 2-bit indices become 4-bit ones; the colour table stays as it is.
void Expand2To4Row(const std::uint8_t* src, int width, std::uint8_t* dst) {
    for (int x = 0; x < width; x += 2) {
        const std::uint8_t byte = src[x / 4];
        const int shift = 6 - 2 * (x % 4);
        const std::uint8_t first = (byte >> shift) & 0x03;
        const std::uint8_t second = x + 1 < width ? (byte >> (shift - 2)) & 0x03 : 0;
        dst[x / 2] = static_cast<std::uint8_t>((first << 4) | second);
    }
}

template <class RowFunction>
void ForEachRow(const BmpImage& image, std::uint8_t* dst, std::size_t dstStride, RowFunction convert) {
    for (std::int32_t y = 0; y < image.height; ++y) {
        convert(image.pixels.data + static_cast<std::size_t>(y) * image.sourceStride,
                dst + static_cast<std::size_t>(y) * dstStride);
    }
}

}  // namespace

void WriteUncompressedRows(const BmpImage& image, std::uint8_t* dst, std::size_t dstStride) {
    const int width = image.width;
    switch (image.layout) {
        case PixelLayout::Indexed2:
            ForEachRow(image, dst, dstStride,
                       [width](const std::uint8_t* s, std::uint8_t* d) { Expand2To4Row(s, width, d); });
            return;
        case PixelLayout::Rgba64:
            ForEachRow(image, dst, dstStride,
                       [width](const std::uint8_t* s, std::uint8_t* d) { Rgba64Row(s, width, d); });
            return;
        case PixelLayout::Bitfields:
            if (!image.output.bitfields) {
                BitfieldsRowConverter converter(image.fields, image.bitCount);
                ForEachRow(image, dst, dstStride, [&converter, width](const std::uint8_t* s, std::uint8_t* d) {
                    converter.Convert(s, width, d);
                });
                return;
            }
            break;
        default:
            break;
    }
    // Same format on both sides: rows padded alike, copied whole.
    const std::size_t rowBytes = image.sourceStride < dstStride ? image.sourceStride : dstStride;
    ForEachRow(image, dst, dstStride,
               [rowBytes](const std::uint8_t* s, std::uint8_t* d) { std::memcpy(d, s, rowBytes); });
}

}  // namespace bmp
}  // namespace standin

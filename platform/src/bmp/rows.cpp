#include "bmp/rows.h"

#include <array>
#include <cmath>
#include <memory>

namespace standin {
namespace bmp {
namespace {

// 64-bit pixels hold blue, green, red and alpha as signed 2.13 fixed-point
// numbers of linear light: 8192 is full intensity, values outside 0..8192
// are clamped.
constexpr int kLinearOne = 8192;
constexpr std::size_t kSampleValues = 1u << 16;

// Every 16-bit sample pattern, read as a signed 2.13 number, mapped to 8 bits:
// colour channels through the sRGB curve, alpha (a proportion, not light)
// linearly. Built once; a pixel is then four lookups with no comparisons.
struct Rgba64Tables {
    std::array<std::uint8_t, kSampleValues> colour{};
    std::array<std::uint8_t, kSampleValues> alpha{};
};

const Rgba64Tables& SampleTables() {
    static const auto tables = [] {
        auto t = std::make_unique<Rgba64Tables>();
        for (std::size_t pattern = 0; pattern < kSampleValues; ++pattern) {
            const int signedValue = static_cast<std::int16_t>(static_cast<std::uint16_t>(pattern));
            const int v = signedValue < 0 ? 0 : signedValue > kLinearOne ? kLinearOne : signedValue;
            const double linear = static_cast<double>(v) / kLinearOne;
            const double encoded = linear <= 0.0031308 ? 12.92 * linear
                                                       : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
            t->colour[pattern] = static_cast<std::uint8_t>(std::lround(encoded * 255.0));
            t->alpha[pattern] = static_cast<std::uint8_t>((v * 255 + kLinearOne / 2) / kLinearOne);
        }
        return t;
    }();
    return *tables;
}

std::size_t Sample(const std::uint8_t* p) { return static_cast<std::size_t>(p[0] | (p[1] << 8)); }

void Rgba64Row(const std::uint8_t* src, int width, std::uint8_t* dst) {
    const Rgba64Tables& tables = SampleTables();
    for (int x = 0; x < width; ++x, src += 8, dst += 4) {
        dst[0] = tables.colour[Sample(src)];
        dst[1] = tables.colour[Sample(src + 2)];
        dst[2] = tables.colour[Sample(src + 4)];
        dst[3] = tables.alpha[Sample(src + 6)];
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
bool ForEachRow(const BmpImage& image, WindowReader* rows, std::uint8_t* dst, std::size_t dstStride,
                RowFunction convert) {
    for (std::int32_t y = 0; y < image.height; ++y) {
        ByteSpan row;
        if (!rows->ReadSpan(image.sourceStride, &row)) return false;
        convert(row.data, dst + static_cast<std::size_t>(y) * dstStride);
    }
    return true;
}

}  // namespace

bool StoredAsHeld(const BmpImage& image) {
    switch (image.layout) {
        case PixelLayout::Indexed2:
        case PixelLayout::Rgba64: return false;
        case PixelLayout::Bitfields: return image.output.bitfields;
        default: return !IsRunLength(image.layout);
    }
}

bool ConvertUncompressedRows(const BmpImage& image, WindowReader* rows, std::uint8_t* dst,
                             std::size_t dstStride) {
    const int width = image.width;
    switch (image.layout) {
        case PixelLayout::Indexed2:
            return ForEachRow(image, rows, dst, dstStride,
                              [width](const std::uint8_t* s, std::uint8_t* d) { Expand2To4Row(s, width, d); });
        case PixelLayout::Rgba64:
            return ForEachRow(image, rows, dst, dstStride,
                              [width](const std::uint8_t* s, std::uint8_t* d) { Rgba64Row(s, width, d); });
        default: {
            const BitfieldsRowConverter converter(image.fields, image.bitCount);
            return ForEachRow(image, rows, dst, dstStride,
                              [&converter, width](const std::uint8_t* s, std::uint8_t* d) {
                                  converter.Convert(s, width, d);
                              });
        }
    }
}

}  // namespace bmp
}  // namespace standin

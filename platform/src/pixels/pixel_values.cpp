#include "pixels/pixel_values.h"

#include "pixels/row_codec.h"

#include <cstring>

namespace standin {
namespace {

template <int Bits>
void ReadIndices(const std::uint8_t* row, int x0, int count, std::uint32_t* out) {
    constexpr int kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    for (int i = 0; i < count; ++i) {
        const int x = x0 + i;
        const int shift = (kPerByte - 1 - x % kPerByte) * Bits;
        out[i] = (row[x / kPerByte] >> shift) & kMask;
    }
}

template <int Bits>
void WriteIndices(const std::uint32_t* values, int x0, int count, std::uint8_t* row) {
    constexpr int kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    for (int i = 0; i < count; ++i) {
        const int x = x0 + i;
        const int shift = (kPerByte - 1 - x % kPerByte) * Bits;
        std::uint8_t& byte = row[x / kPerByte];
        byte = static_cast<std::uint8_t>((byte & ~(kMask << shift)) | ((values[i] & kMask) << shift));
    }
}

template <int Bytes>
void ReadWords(const std::uint8_t* row, int x0, int count, std::uint32_t* out) {
    const std::uint8_t* p = row + static_cast<std::size_t>(x0) * Bytes;
    for (int i = 0; i < count; ++i, p += Bytes) {
        std::uint32_t v = 0;
        for (int b = 0; b < Bytes; ++b) v |= std::uint32_t{p[b]} << (8 * b);
        out[i] = v;
    }
}

template <int Bytes>
void WriteWords(const std::uint32_t* values, int x0, int count, std::uint8_t* row) {
    std::uint8_t* p = row + static_cast<std::size_t>(x0) * Bytes;
    for (int i = 0; i < count; ++i, p += Bytes)
        for (int b = 0; b < Bytes; ++b) p[b] = static_cast<std::uint8_t>(values[i] >> (8 * b));
}

// One pixel of `colour` packed into a row of this description.
void PackOne(const DibDescription& dib, COLORREF colour, std::uint8_t row[4]) {
    const std::uint8_t work[kWorkBytesPerPixel] = {GetBValue(colour), GetGValue(colour),
                                                   GetRValue(colour), 0};
    RowCodec codec(dib.format, dib.colors.data(), dib.colorCount);
    std::memset(row, 0, 4);
    codec.Pack(work, 0, 1, row);
}

}  // namespace

void ReadPixelValues(const PixelFormat& format, const std::uint8_t* row, int x0, int count,
                     std::uint32_t* out) {
    switch (format.bitCount) {
        case 1: return ReadIndices<1>(row, x0, count, out);
        case 4: return ReadIndices<4>(row, x0, count, out);
        case 8: return ReadWords<1>(row, x0, count, out);
        case 16: return ReadWords<2>(row, x0, count, out);
        case 24: return ReadWords<3>(row, x0, count, out);
        default: return ReadWords<4>(row, x0, count, out);
    }
}

void WritePixelValues(const PixelFormat& format, const std::uint32_t* values, int x0, int count,
                      std::uint8_t* row) {
    switch (format.bitCount) {
        case 1: return WriteIndices<1>(values, x0, count, row);
        case 4: return WriteIndices<4>(values, x0, count, row);
        case 8: return WriteWords<1>(values, x0, count, row);
        case 16: return WriteWords<2>(values, x0, count, row);
        case 24: return WriteWords<3>(values, x0, count, row);
        default: return WriteWords<4>(values, x0, count, row);
    }
}

std::uint32_t ColourValue(const DibDescription& dib, COLORREF colour) {
    std::uint8_t row[4];
    PackOne(dib, colour, row);
    std::uint32_t value = 0;
    ReadPixelValues(dib.format, row, 0, 1, &value);
    return value;
}

RGBQUAD StoredColour(const DibDescription& dib, COLORREF colour) {
    std::uint8_t row[4];
    PackOne(dib, colour, row);
    std::uint8_t work[kWorkBytesPerPixel];
    RowCodec(dib.format, dib.colors.data(), dib.colorCount).Unpack(row, 0, 1, work);
    return RGBQUAD{work[0], work[1], work[2], 0};
}

bool IsMonochrome(const DibDescription& dib) {
    auto is = [](const RGBQUAD& c, BYTE level) {
        return c.rgbBlue == level && c.rgbGreen == level && c.rgbRed == level;
    };
    return dib.format.bitCount == 1 && dib.colorCount == 2 && is(dib.colors[0], 0) &&
           is(dib.colors[1], 255);
}

}  // namespace standin

#include "pixels/pixel_format.h"

#include <climits>
#include <cstring>

namespace standin {
namespace {

constexpr DWORD kInfoHeaderBytes = sizeof(BITMAPINFOHEADER);  // 40
// The info header followed by the three colour masks, then the alpha mask.
constexpr DWORD kV2HeaderBytes = kInfoHeaderBytes + 3 * sizeof(DWORD);  // 52
constexpr DWORD kV3HeaderBytes = kInfoHeaderBytes + 4 * sizeof(DWORD);  // 56
constexpr DWORD kV4HeaderBytes = sizeof(BITMAPV4HEADER);       // 108
constexpr DWORD kV5HeaderBytes = sizeof(BITMAPV5HEADER);       // 124

bool IsSupportedBitCount(int bitCount) {
    switch (bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: return true;
        default: return false;
    }
}

// Bitfield masks sit right after the 40-byte info header: in the three
// DWORDs that follow a plain one, or in the larger headers' own fields at
// that same offset.
static_assert(offsetof(BITMAPV4HEADER, bV4RedMask) == kInfoHeaderBytes, "masks follow the info header");
void ReadMasks(const BITMAPINFO* info, std::uint32_t masks[3]) {
    std::memcpy(masks, reinterpret_cast<const BYTE*>(info) + kInfoHeaderBytes, 3 * sizeof(std::uint32_t));
}

bool MakeBitfieldFormat(const std::uint32_t masks[3], int bitCount, PixelFormat* format) {
    format->bitCount = bitCount;
    format->bitfields = true;
    if (!MakeChannelMask(masks[0], &format->red) || !MakeChannelMask(masks[1], &format->green) ||
        !MakeChannelMask(masks[2], &format->blue)) {
        return false;
    }
    std::uint64_t limit = bitCount == 32 ? 0xFFFFFFFFull : 0xFFFFull;
    bool overlap = (masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2]);
    return !overlap && (masks[0] | masks[1] | masks[2]) <= limit;
}

}  // namespace

bool IsSupportedHeaderSize(DWORD size) {
    return size == kInfoHeaderBytes || size == kV2HeaderBytes || size == kV3HeaderBytes ||
           size == kV4HeaderBytes || size == kV5HeaderBytes;
}

std::int64_t DibStride(std::int64_t width, int bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

bool MakeChannelMask(std::uint32_t mask, ChannelMask* out) {
    if (mask == 0) return false;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    int bits = 0;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1u) != 0) ++bits;
    std::uint64_t run = ((std::uint64_t{1} << bits) - 1) << shift;
    if (run != mask) return false;
    *out = ChannelMask{mask, shift, bits};
    return true;
}

PixelFormat RgbFormat(int bitCount) {
    PixelFormat format;
    format.bitCount = bitCount;
    if (bitCount == 16) {
        MakeChannelMask(0x7C00, &format.red);
        MakeChannelMask(0x03E0, &format.green);
        MakeChannelMask(0x001F, &format.blue);
    } else if (bitCount == 32) {
        MakeChannelMask(0xFF0000, &format.red);
        MakeChannelMask(0x00FF00, &format.green);
        MakeChannelMask(0x0000FF, &format.blue);
    }
    return format;
}

int ColorTableEntries(int bitCount, DWORD clrUsed) {
    if (bitCount > 8) return 0;
    int full = 1 << bitCount;
    return clrUsed == 0 || clrUsed > static_cast<DWORD>(full) ? full : static_cast<int>(clrUsed);
}

bool DescribeDib(const BITMAPINFO* info, UINT usage, DibDescription* out) {
    if (info == nullptr || usage != DIB_RGB_COLORS) return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (!IsSupportedHeaderSize(h.biSize) || h.biPlanes != 1 || !IsSupportedBitCount(h.biBitCount))
        return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT_MIN) return false;
    std::int64_t width = h.biWidth;
    std::int64_t height = h.biHeight < 0 ? -std::int64_t{h.biHeight} : h.biHeight;
    if (width > kMaxDimension || height > kMaxDimension) return false;
    std::int64_t stride = DibStride(width, h.biBitCount);
    if (stride * height > kMaxImageBytes) return false;
    if (h.biBitCount <= 8 && h.biClrUsed > (1u << h.biBitCount)) return false;

    DibDescription d;
    d.width = static_cast<std::int32_t>(width);
    d.height = static_cast<std::int32_t>(height);
    d.topDown = h.biHeight < 0;
    d.stride = static_cast<std::size_t>(stride);
    d.imageBytes = static_cast<std::size_t>(stride * height);

    if (h.biCompression == BI_RGB) {
        d.format = RgbFormat(h.biBitCount);
    } else if (h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32)) {
        std::uint32_t masks[3];
        ReadMasks(info, masks);
        if (!MakeBitfieldFormat(masks, h.biBitCount, &d.format)) return false;
    } else {
        return false;
    }

    if (d.format.indexed()) {
        // Entries beyond biClrUsed are not part of the caller's table; they
        // stay black.
        int given = ColorTableEntries(h.biBitCount, h.biClrUsed);
        const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(
            reinterpret_cast<const BYTE*>(info) + h.biSize);
        for (int i = 0; i < given; ++i) d.colors[i] = table[i];
        d.colorCount = 1 << h.biBitCount;
    }
    *out = d;
    return true;
}

}  // namespace standin

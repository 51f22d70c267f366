#include "pixels/pixel_format.h"

#include "pixels/bitmap_info.h"

#include <climits>
#include <cstring>

namespace standin {
namespace {

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

bool MakeBitfieldFormat(const std::uint32_t colourMasks[3], int bitCount, PixelFormat* format) {
    const std::uint32_t masks[kMaskCount] = {colourMasks[0], colourMasks[1], colourMasks[2], 0};
    ChannelMask channels[kMaskCount];
    // A caller's masks may have gaps, as the platform's calls take them.
    if (!MakeChannelMasks(masks, bitCount, channels, true)) return false;
    format->bitCount = bitCount;
    format->bitfields = true;
    format->red = channels[kRedMask];
    format->green = channels[kGreenMask];
    format->blue = channels[kBlueMask];
    return true;
}

}  // namespace

bool IsSupportedHeaderSize(DWORD size) {
    return size >= kInfoHeaderBytes && size <= kMaxInfoHeaderBytes;
}

std::int64_t DibStride(std::int64_t width, int bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

bool MakeChannelMask(std::uint32_t mask, ChannelMask* out, bool gaps) {
    if (mask == 0) return false;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    int bits = 0;
    if (gaps) {
        while (shift + bits < 32 && (mask >> (shift + bits)) != 0) ++bits;
    } else {
        while (shift + bits < 32 && ((mask >> (shift + bits)) & 1u) != 0) ++bits;
    }
    std::uint64_t run = ((std::uint64_t{1} << bits) - 1) << shift;
    if (!gaps && run != mask) return false;
    *out = ChannelMask{mask, shift, bits};
    return true;
}

bool MakeChannelMasks(const std::uint32_t masks[kMaskCount], int bitCount, ChannelMask out[kMaskCount],
                      bool gaps) {
    if (bitCount != 16 && bitCount != 32) return false;
    ChannelMask channels[kMaskCount];
    for (int i = kRedMask; i <= kBlueMask; ++i)
        if (!MakeChannelMask(masks[i], &channels[i], gaps)) return false;
    if (masks[kAlphaMask] != 0 && !MakeChannelMask(masks[kAlphaMask], &channels[kAlphaMask], gaps))
        return false;
    std::uint32_t seen = 0;
    for (int i = 0; i < kMaskCount; ++i) {
        if ((seen & masks[i]) != 0) return false;
        seen |= masks[i];
    }
    const std::uint64_t pixelBits = bitCount == 32 ? 0xFFFFFFFFull : 0xFFFFull;
    if (seen > pixelBits) return false;
    for (int i = 0; i < kMaskCount; ++i) out[i] = channels[i];
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

namespace {

// Reads a caller's colour table: RGBQUADs, or palette indices.
void ReadColorTable(const BITMAPINFO* info, UINT usage, int given, const LogicalColors& logical,
                    RGBQUAD* colors) {
    const BYTE* table = reinterpret_cast<const BYTE*>(info) + info->bmiHeader.biSize;
    for (int i = 0; i < given; ++i) {
        if (usage == DIB_RGB_COLORS) {
            std::memcpy(&colors[i], table + i * sizeof(RGBQUAD), sizeof(RGBQUAD));
            continue;
        }
        WORD index;
        std::memcpy(&index, table + i * sizeof(WORD), sizeof index);
        colors[i] = index < logical.count ? logical.colors[index] : RGBQUAD{0, 0, 0, 0};
    }
}

bool PlanesAccepted(const BITMAPINFOHEADER& h, DibRules rules) {
    if (rules == DibRules::Transfer) return h.biPlanes != 0;
    return h.biPlanes == 1 || (h.biPlanes > 1 && h.biPlanes * h.biBitCount <= 16);
}

bool IsRunLength(const BITMAPINFOHEADER& h, DibRules rules) {
    return rules == DibRules::Transfer && ((h.biCompression == BI_RLE8 && h.biBitCount == 8) ||
                                           (h.biCompression == BI_RLE4 && h.biBitCount == 4));
}

}  // namespace

bool DescribeDib(const BITMAPINFO* info, UINT usage, DibDescription* out, const LogicalColors& logical,
                 DibRules rules) {
    if (info == nullptr || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (!IsSupportedHeaderSize(h.biSize) || !PlanesAccepted(h, rules) || !IsSupportedBitCount(h.biBitCount))
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
    } else if (IsRunLength(h, rules)) {
        // Run-length rows are bottom-up only, and the stream's length is
        // the only bound on reading it.
        if (d.topDown || h.biSizeImage == 0) return false;
        d.format = RgbFormat(h.biBitCount);
        d.runLength = h.biCompression;
        d.streamBytes = h.biSizeImage;
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
        ReadColorTable(info, usage, ColorTableEntries(h.biBitCount, h.biClrUsed), logical,
                       d.colors.data());
        d.colorCount = 1 << h.biBitCount;
    }
    *out = d;
    return true;
}

}  // namespace standin

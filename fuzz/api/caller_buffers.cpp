#include "caller_buffers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace apifuzz {
namespace {

constexpr DWORD kInfoHeaderBytes = sizeof(BITMAPINFOHEADER);
// The largest biSize the stand-in reads a header of.
constexpr DWORD kTakenHeaderBytes = 4096;
constexpr unsigned kSmallSide = 48;

// Sides of a small bitmap, either way up, and sides that must be refused.
LONG Side(Input& in) {
    static const LONG kRefused[] = {65537, 1 << 20, INT_MAX, INT_MIN, -65537, -(1 << 20)};
    const std::uint8_t kind = in.Byte();
    if (kind < 216) return static_cast<LONG>(in.Byte() % 81) - 16;
    if (kind < 248) return in.Pick(kRefused);
    return static_cast<LONG>(in.U32());
}

DWORD HeaderSize(Input& in) {
    static const DWORD kSizes[] = {40, 40, 40, 40, 40, 40, 12, 52, 56, 108, 124, 64, 0x1000, 0, 39, 41};
    return in.Below(16) == 0 ? in.U32() : in.Pick(kSizes);
}

WORD BitCount(Input& in) {
    static const WORD kCounts[] = {1, 4, 8, 16, 24, 32, 1, 4, 8, 16, 24, 32, 0, 2, 64, 0xFFFF};
    return in.Below(32) == 0 ? static_cast<WORD>(in.U32()) : in.Pick(kCounts);
}

DWORD Compression(Input& in) {
    static const DWORD kKinds[] = {BI_RGB, BI_RGB, BI_RGB, BI_RGB, BI_BITFIELDS, BI_BITFIELDS,
                                   BI_RLE8, BI_RLE4, BI_JPEG, BI_PNG, 6, 0xFFFFFFFF};
    return in.Pick(kKinds);
}

void Masks(Input& in, DWORD masks[3]) {
    static const DWORD kSets[][3] = {{0x7C00, 0x03E0, 0x001F}, {0xF800, 0x07E0, 0x001F},
                                     {0xFF0000, 0x00FF00, 0x0000FF}, {0x0000FF, 0x00FF00, 0xFF0000},
                                     {0x3FF00000, 0x000FFC00, 0x000003FF}, {0xF800, 0xF800, 0x001F}};
    const unsigned kind = in.Below(8);
    if (kind < 6) {
        std::memcpy(masks, kSets[kind], sizeof kSets[kind]);
    } else {
        for (int i = 0; i < 3; ++i) masks[i] = in.U32();
    }
}

DWORD ColorsUsed(Input& in) {
    const std::uint8_t kind = in.Byte();
    if (kind < 192) return 0;
    if (kind < 240) return in.Byte() % 260;
    return in.U32();
}

// Colour table entries a header with this bit count and biClrUsed carries.
std::size_t TableEntries(WORD bitCount, DWORD clrUsed) {
    if (bitCount == 0 || bitCount > 8) return 0;
    const DWORD full = 1u << bitCount;
    return clrUsed == 0 || clrUsed > full ? full : clrUsed;
}

// A small picture described as a careful caller would.
void Plausible(Input& in, BITMAPV5HEADER* h, DWORD masks[3]) {
    static const DWORD kSizes[] = {40, 40, 40, 40, 40, 52, 108, 124};
    static const WORD kCounts[] = {1, 4, 8, 16, 24, 32, 24, 32};  // same-depth pairs take the direct paths
    h->bV5Size = in.Pick(kSizes);
    h->bV5Width = static_cast<LONG>(in.Below(kSmallSide)) + 1;
    h->bV5Height = (static_cast<LONG>(in.Below(kSmallSide)) + 1) * (in.Bool() ? -1 : 1);
    h->bV5Planes = 1;
    h->bV5BitCount = in.Pick(kCounts);
    const bool masked = (h->bV5BitCount == 16 || h->bV5BitCount == 32) && in.Below(3) == 0;
    h->bV5Compression = masked ? BI_BITFIELDS : BI_RGB;
    // Now and then a run-length stream of a few bytes, bottom-up as it must be.
    if ((h->bV5BitCount == 8 || h->bV5BitCount == 4) && in.Below(4) == 0) {
        h->bV5Compression = h->bV5BitCount == 8 ? BI_RLE8 : BI_RLE4;
        h->bV5Height = h->bV5Height < 0 ? -h->bV5Height : h->bV5Height;
        h->bV5SizeImage = in.Below(256) + 1;
    }
    h->bV5ClrUsed = h->bV5BitCount <= 8 && in.Below(4) == 0 ? in.Below(1u << h->bV5BitCount) : 0;
    Masks(in, masks);
    if (h->bV5BitCount == 16 && masks[0] > 0xFFFF) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
}

void Adversarial(Input& in, BITMAPV5HEADER* h, DWORD masks[3]) {
    h->bV5Size = HeaderSize(in);
    h->bV5Width = Side(in);
    h->bV5Height = Side(in);
    h->bV5Planes = in.Below(16) == 0 ? static_cast<WORD>(in.Byte()) : WORD{1};
    h->bV5BitCount = BitCount(in);
    h->bV5Compression = Compression(in);
    h->bV5SizeImage = in.Below(8) == 0 ? in.U32() : 0;
    h->bV5ClrUsed = ColorsUsed(in);
    Masks(in, masks);
}

}  // namespace

std::vector<std::uint8_t> MakeBitmapInfo(Input& in, bool plausible) {
    BITMAPV5HEADER h;
    std::memset(&h, 0, sizeof h);
    DWORD masks[3];
    if (plausible) {
        Plausible(in, &h, masks);
    } else {
        Adversarial(in, &h, masks);
    }
    h.bV5RedMask = masks[0];
    h.bV5GreenMask = masks[1];
    h.bV5BlueMask = masks[2];

    const DWORD size = h.bV5Size;
    // Any header size from 40 bytes up to kTakenHeaderBytes is read, the
    // colour table after it; a larger one gets only the 40-byte header's room.
    const std::size_t headerRoom = size <= kTakenHeaderBytes ? std::max<DWORD>(size, sizeof(DWORD)) : kInfoHeaderBytes;
    // Masks sit 40 bytes in: after a 40-byte header, inside a larger one
    // (room after a 41- to 51-byte one for the bytes it lacks).
    const std::size_t maskRoom = size >= kInfoHeaderBytes && size < kInfoHeaderBytes + sizeof masks &&
                                         h.bV5Compression == BI_BITFIELDS
                                     ? kInfoHeaderBytes + sizeof masks - size
                                     : 0;
    const std::size_t tableRoom = TableEntries(h.bV5BitCount, h.bV5ClrUsed) * sizeof(RGBQUAD);
    std::vector<std::uint8_t> info(headerRoom + maskRoom + tableRoom);
    std::memcpy(info.data(), &h, std::min(headerRoom, sizeof h));
    if (maskRoom != 0) std::memcpy(info.data() + kInfoHeaderBytes, masks, sizeof masks);
    const std::uint8_t seed = in.Byte();
    for (std::size_t i = headerRoom + maskRoom; i < info.size(); ++i) info[i] = static_cast<std::uint8_t>(seed * i);
    return info;
}

BITMAPINFOHEADER HeaderOf(const std::vector<std::uint8_t>& info) {
    BITMAPINFOHEADER header;
    std::memset(&header, 0, sizeof header);
    std::memcpy(&header, info.data(), std::min(info.size(), sizeof header));
    return header;
}

std::size_t DeclaredPixelBytes(const BITMAPINFOHEADER& header) {
    if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4)
        return header.biSizeImage > kMaxPixelBuffer ? 0 : header.biSizeImage;
    if (header.biWidth <= 0 || header.biBitCount == 0 || header.biBitCount > 32) return 0;
    const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(static_cast<long long>(header.biHeight)));
    const std::uint64_t stride = (static_cast<std::uint64_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const std::uint64_t bytes = stride * rows;
    return bytes == 0 || bytes > kMaxPixelBuffer ? 0 : static_cast<std::size_t>(bytes);
}

}  // namespace apifuzz

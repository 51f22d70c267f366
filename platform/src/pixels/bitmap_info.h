// The BITMAPINFO block as the stand-in reads and writes it: the sizes of
// the header versions, the buffer that holds a header with a full colour
// table or its masks, and the header that describes a bitmap.
#ifndef STANDIN_BITMAP_INFO_H
#define STANDIN_BITMAP_INFO_H

#include "pixels/pixel_format.h"

#include <windows.h>

#include <cstdint>

namespace standin {

// Bitmap header versions, named by their sizes in bytes. Each is the one
// before it with more fields at the end.
constexpr std::uint32_t kCoreHeaderBytes = 12;      // OS/2 1.x: 16-bit sizes
constexpr std::uint32_t kOs2ShortHeaderBytes = 16;  // OS/2 2.x cut after the bit count
constexpr std::uint32_t kInfoHeaderBytes = 40;      // BITMAPINFOHEADER
constexpr std::uint32_t kV2HeaderBytes = 52;        // + red, green, blue masks
constexpr std::uint32_t kV3HeaderBytes = 56;        // + alpha mask
constexpr std::uint32_t kOs2HeaderBytes = 64;       // OS/2 2.x in full
constexpr std::uint32_t kV4HeaderBytes = 108;       // BITMAPV4HEADER: + colour space
constexpr std::uint32_t kV5HeaderBytes = 124;       // BITMAPV5HEADER: + intent and profile

static_assert(kInfoHeaderBytes == sizeof(BITMAPINFOHEADER), "info header size");
static_assert(kV4HeaderBytes == sizeof(BITMAPV4HEADER), "V4 header size");
static_assert(kV5HeaderBytes == sizeof(BITMAPV5HEADER), "V5 header size");

// A 40-byte header followed by room for a full colour table or three
// bitfield masks: 1064 bytes, the largest BITMAPINFO the stand-in makes.
struct BitmapInfoBuffer {
    BITMAPINFOHEADER header;
    RGBQUAD colors[kMaxColors];

    const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};
static_assert(sizeof(BitmapInfoBuffer) == 1064, "BITMAPINFO with a full colour table");

// The 40-byte header of a `width` x `height` bitmap in `format` (rows
// bottom-up unless `topDown`): image size filled in, no colour count, no
// resolution.
BITMAPINFOHEADER MakeInfoHeader(std::int32_t width, std::int32_t height, bool topDown,
                                const PixelFormat& format);

// Puts the red, green and blue masks of a bitfield `format` after the
// header, where a 40-byte header's masks go.
void PutMasks(const PixelFormat& format, BitmapInfoBuffer* buffer);

}  // namespace standin

#endif

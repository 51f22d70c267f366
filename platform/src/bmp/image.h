// A BMP file taken apart and checked: geometry, how its pixels are stored,
// their colour table or masks and where they lie, and the DIB format they
// will be held in. Nothing here owns memory.
#ifndef STANDIN_BMP_IMAGE_H
#define STANDIN_BMP_IMAGE_H

#include "bmp/bitfields.h"
#include "bmp/palette.h"
#include "bmp/byte_reader.h"

#include "pixels/pixel_format.h"

#include <standin/testing.h>

#include <cstddef>
#include <cstdint>

namespace standin {
namespace bmp {

// How the file stores its pixels.
enum class PixelLayout {
    Indexed,    // 1, 4 or 8 bits, colour table
    Indexed2,   // 2 bits, colour table
    Rgb16,      // 5-5-5
    Rgb24,
    Rgb32,      // 8-8-8 and an unused byte
    Bitfields,  // 16 or 32 bits, masks
    Rgba64,     // 16-bit linear channels
    Rle8,
    Rle4,
    Rle24,
};

struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;  // row count
    bool topDown = false;
    int bitCount = 0;         // the file's
    PixelLayout layout = PixelLayout::Indexed;
    Palette palette;          // layouts with a colour table
    Bitfields fields;         // PixelLayout::Bitfields
    // Where the pixels lie in the file. Uncompressed: exactly the rows,
    // `sourceStride` bytes each. Run-length encoded: everything from the
    // pixel offset to the end of the file.
    std::uint64_t pixelOffset = 0;
    std::uint64_t pixelBytes = 0;
    std::size_t sourceStride = 0;
    PixelFormat output;       // the DIB section's format
};

bool IsRunLength(PixelLayout layout);

// The first bytes of a file that hold every header, the masks and a full
// colour table, wherever the pixels start.
constexpr std::size_t kHeadBytes = 4096;

// Takes apart a file of `fileSize` bytes from `head`, its first
// min(fileSize, kHeadBytes) bytes. Says why when anything is missing,
// inconsistent or beyond the limits (None otherwise); no pixel memory is
// allocated here.
BmpRefusal ParseBmp(ByteSpan head, std::uint64_t fileSize, BmpImage* out);

}  // namespace bmp
}  // namespace standin

#endif

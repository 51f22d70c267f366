// Run-length encoded pixels: RLE8 and RLE4 (Windows) and RLE24 (OS/2).
#ifndef STANDIN_BMP_RLE_H
#define STANDIN_BMP_RLE_H

#include "bmp/window_reader.h"

#include <cstddef>
#include <cstdint>

namespace standin {
namespace bmp {

enum class RleKind { Rle8, Rle4, Rle24 };

// Where decoded pixels go: a bottom-up block of 8-, 4- or 24-bit rows
// (matching the kind), zeroed beforehand. Pixels the stream skips keep 0.
struct RleTarget {
    std::uint8_t* pixels = nullptr;
    std::size_t stride = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The largest picture a run-length stream may declare: kRleFreePixels plus
// kRlePixelsPerStreamByte for each byte of the stream. A stream that ends
// early leaves the rest of the picture at index 0, so a few bytes can
// legally declare a large picture; past this bound the file is refused
// before any pixel memory is allocated, so a 60-byte file cannot make the
// loader allocate a gigabyte. The longest run, 255 pixels in two bytes of
// RLE8 or RLE4, gives under 128 pixels a byte; ImageMagick's RLE8 writer
// codes a blank row in 255-pixel runs and an end-of-line code, about 113.
constexpr std::int64_t kRleFreePixels = std::int64_t{1} << 22;  // 2048 x 2048
constexpr std::int64_t kRlePixelsPerStreamByte = 256;

bool RleStreamMayDeclare(std::uint64_t streamBytes, std::int64_t pixels);

// Decodes `data` into `target`. A run that reaches past the end of its row
// keeps the pixels that fit. Fails on a run above the last row, a move that
// leaves the picture and a stream that ends before reaching either an
// end-of-bitmap code or the end of the last row. Every step consumes input,
// so the work is bounded by the length of `data`.
bool DecodeRle(WindowReader* data, RleKind kind, const RleTarget& target);

}  // namespace bmp
}  // namespace standin

#endif

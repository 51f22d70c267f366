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

// Decodes the stream `data` holds into `target`. Fails on a run or move
// that leaves the picture and on a stream that ends before reaching either an end-of-bitmap
// code or the end of the last row. Every step consumes input, so the work
// is bounded by the length of `data`.
bool DecodeRle(WindowReader* data, RleKind kind, const RleTarget& target);

}  // namespace bmp
}  // namespace standin

#endif

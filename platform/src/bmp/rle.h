// Run-length encoded files: how large a picture a stream may declare, and
// the decoder (pixels/run_length.h) fed through the file's reading window.
#ifndef STANDIN_BMP_RLE_H
#define STANDIN_BMP_RLE_H

#include "bmp/window_reader.h"

#include "pixels/run_length.h"

#include <cstddef>
#include <cstdint>

namespace standin {
namespace bmp {

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

// Decodes the stream read through `data` into `target` (pixels/run_length.h).
bool DecodeRle(WindowReader* data, RleKind kind, const RleTarget& target);

}  // namespace bmp
}  // namespace standin

#endif

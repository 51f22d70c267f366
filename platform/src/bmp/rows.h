// Uncompressed pixel rows from the file into the DIB section, converted
// where the DIB holds them in another format.
#ifndef STANDIN_BMP_ROWS_H
#define STANDIN_BMP_ROWS_H

#include "bmp/image.h"
#include "bmp/window_reader.h"

#include <cstddef>
#include <cstdint>

namespace standin {
namespace bmp {

// Whether the file's rows are stored exactly as the DIB section holds them
// (uncompressed, same depth and layout, padded alike), so they can be read
// straight into it.
bool StoredAsHeld(const BmpImage& image);

// For the other uncompressed layouts (2 and 64 bits, bitfields that widen):
// reads every row of `image` from `rows` and writes it into `dst` (rows of
// `dstStride` bytes, in the file's order, in the format of `image.output`).
// False when the rows could not all be read.
bool ConvertUncompressedRows(const BmpImage& image, WindowReader* rows, std::uint8_t* dst,
                             std::size_t dstStride);

}  // namespace bmp
}  // namespace standin

#endif

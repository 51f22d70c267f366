// Uncompressed pixel rows from the file into the DIB section, converted
// where the DIB holds them in another format.
#ifndef STANDIN_BMP_ROWS_H
#define STANDIN_BMP_ROWS_H

#include "bmp/image.h"

#include <cstddef>
#include <cstdint>

namespace standin {
namespace bmp {

// Writes every row of `image` into `dst` (rows of `dstStride` bytes, in the
// same order as the file's, in the format of `image.output`).
void WriteUncompressedRows(const BmpImage& image, std::uint8_t* dst, std::size_t dstStride);

}  // namespace bmp
}  // namespace standin

#endif

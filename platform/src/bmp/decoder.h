// Turns a parsed BMP file into a DIB section through the public GDI calls,
// reading its pixels from the file as they are written.
#ifndef STANDIN_BMP_DECODER_H
#define STANDIN_BMP_DECODER_H

#include "bmp/image.h"

#include "kernel/read_only_file.h"

#include <windows.h>

namespace standin {
namespace bmp {

// Makes a DIB section in `image.output` format, with the file's row order,
// and reads the picture from `file` into it. Null (with the last error set)
// when the section cannot be made, the run-length stream is bad or the file
// cannot be read.
HBITMAP CreateBitmapFromBmp(const kernel::ReadOnlyFile& file, const BmpImage& image);

}  // namespace bmp
}  // namespace standin

#endif

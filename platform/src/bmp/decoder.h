// Turns a parsed BMP file into a DIB section through the public GDI calls,
// reading its pixels from the file as they are written.
#ifndef STANDIN_BMP_DECODER_H
#define STANDIN_BMP_DECODER_H

#include "bmp/image.h"

#include "kernel/read_only_file.h"

#include <windows.h>

namespace standin {
namespace bmp {

// Reads the first bytes of `file` and takes its headers apart. False when
// they cannot be read; otherwise `*refusal` says why the file is refused, or
// None.
bool ParseBmpFile(const kernel::ReadOnlyFile& file, BmpImage* image, BmpRefusal* refusal);

// Makes a DIB section in `image.output` format, with the file's row order,
// and reads the picture from `file` into it. Null (with the last error set)
// when the section cannot be made, the run-length stream is bad or the file
// cannot be read; `refusal`, when given, is then BadRunLength for a bad
// stream and None otherwise.
HBITMAP CreateBitmapFromBmp(const kernel::ReadOnlyFile& file, const BmpImage& image,
                            BmpRefusal* refusal = nullptr);

}  // namespace bmp
}  // namespace standin

#endif

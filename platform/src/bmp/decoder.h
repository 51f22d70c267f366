// Turns a parsed BMP file into a DIB section through the public GDI calls.
#ifndef STANDIN_BMP_DECODER_H
#define STANDIN_BMP_DECODER_H

#include "bmp/image.h"

#include <windows.h>

namespace standin {
namespace bmp {

// Makes a DIB section in `image.output` format, with the file's row order,
// and writes the picture into it. Null (with the last error set) when the
// section cannot be made or the run-length stream is bad; `refusal`, when
// given, is then BadRunLength for the latter and None otherwise.
HBITMAP CreateBitmapFromBmp(const BmpImage& image, BmpRefusal* refusal = nullptr);

}  // namespace bmp
}  // namespace standin

#endif

// What LoadImageA does with a decoded bitmap file at the caller's request:
// the size, black and white, and the kind of bitmap handed back.
#ifndef STANDIN_BMP_LOAD_OPTIONS_H
#define STANDIN_BMP_LOAD_OPTIONS_H

#include <windows.h>

namespace standin {
namespace bmp {

// Takes `decoded` (a DIB section selected nowhere) and returns the bitmap
// the request asks for:
// - non-zero cx and cy are its width and height, a zero one keeps the
//   file's; the picture is stretched in COLORONCOLOR mode, so every pixel
//   is one of the file's colours, never a blend;
// - LR_MONOCHROME makes it 1 bit per pixel, black and white, each colour
//   becoming the nearer of the two (as SetDIBits converts);
// - with LR_CREATEDIBSECTION it is a DIB section (in the decoded format,
//   unless monochrome), else a device-dependent bitmap compatible with the
//   32-bit screen, or a monochrome one.
// `decoded` itself is returned when nothing changes; otherwise it is
// deleted, on failure too (null, with the last error set).
HBITMAP ApplyLoadOptions(HBITMAP decoded, int cx, int cy, UINT fuLoad);

}  // namespace bmp
}  // namespace standin

#endif

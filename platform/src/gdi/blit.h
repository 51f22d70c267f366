// Blits onto a device context from pixels that no context holds: a caller's
// device-independent bits (StretchDIBits, SetDIBitsToDevice). They go
// through the same operands, clipping and pixel routines as StretchBlt.
#ifndef STANDIN_GDI_BLIT_H
#define STANDIN_GDI_BLIT_H

#include "pixels/pixel_format.h"

#include <cstdint>

namespace standin {

// Source pixels laid out as `dib` describes, rows addressed from the top
// whatever their order; read only.
struct SourceImage {
    std::uint8_t* pixels = nullptr;
    DibDescription dib;
};

// StretchBlt onto `hdcDest` from `image`, whose rows the source rectangle
// counts from the top, in the destination context's stretching mode. The
// image's colours are its table's: no context colours take part. Fails with
// ERROR_INVALID_HANDLE for a context that cannot be drawn on and with
// ERROR_INVALID_PARAMETER beyond the coordinate limits; `rowsDrawn`
// receives the destination rows written. The caller holds the API lock.
BOOL StretchDibOnto(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, const SourceImage& image, int xSrc,
                    int ySrc, int wSrc, int hSrc, DWORD rop, std::int32_t* rowsDrawn);

// SetDIBitsToDevice's transfer: `image`'s pixels one to one onto the
// device, only the logical origin (xDest, yDest) mapped; the picture is
// neither scaled nor mirrored. SRCCOPY, with the same failures as
// StretchDibOnto.
BOOL PixelsOnto(HDC hdcDest, int xDest, int yDest, const SourceImage& image, int xSrc, int ySrc, int width,
                int height, std::int32_t* rowsDrawn);

}  // namespace standin

#endif

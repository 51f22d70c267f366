// A rectangle of logical coordinates painted through the context's mapping
// with a brush and a ternary raster operation: FillRect's fill, and the
// frames and inversions of FrameRect and InvertRect.
#ifndef STANDIN_GDI_RECT_PAINT_H
#define STANDIN_GDI_RECT_PAINT_H

#include "gdi/gdi_objects.h"

#include <cstdint>

namespace standin {

// Paints `r` (right and bottom edges excluded) with `code` over the brush's
// pattern (none, for an operation that reads no brush); a hollow brush
// paints nothing. May throw std::bad_alloc.
void PaintLogicalRect(DeviceContext& context, Bitmap& bitmap, const RECT& r, const Brush* brush, std::uint8_t code);

}  // namespace standin

#endif

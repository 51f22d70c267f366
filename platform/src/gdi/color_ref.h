// The forms of a COLORREF that GDI objects keep and drawing resolves: plain
// RGB, PALETTEINDEX(n) (0x01000000 | n: entry n of the palette selected into
// the context) and DIBINDEX(n) (0x10FF0000 | n: entry n of the colour table
// of the bitmap drawn on).
#ifndef STANDIN_GDI_COLOR_REF_H
#define STANDIN_GDI_COLOR_REF_H

#include "gdi/gdi_objects.h"

#include <cstdint>

namespace standin {

// What a pen or brush keeps of the colour it is made with: the palette and
// colour-table index forms whole, every other value as its RGB.
COLORREF StoredColorRef(COLORREF color);

// A colour resolved for one bitmap: its RGB, and, for DIBINDEX on a bitmap
// with a colour table, the entry to store as it stands (-1 otherwise: the
// nearest entry to `rgb` is stored).
struct Ink {
    COLORREF rgb = 0;
    int index = -1;
};

// Resolves `color` for drawing on `bitmap` from `context` (whose palette
// PALETTEINDEX reads; null means the default palette). An index past the
// table or the palette gives black, as palette indices past a table do.
Ink ResolveInk(const DeviceContext* context, const Bitmap& bitmap, COLORREF color);

// The pixel value `ink` stores in `bitmap` (pixels/pixel_values.h).
std::uint32_t InkValue(const Bitmap& bitmap, const Ink& ink);

}  // namespace standin

#endif

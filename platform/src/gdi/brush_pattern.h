// A brush made ready to draw into one bitmap through one context: the tile
// of pixel values the row engine repeats (stretch/pattern.h).
//
//   solid        one pixel of the brush's colour (DC_BRUSH: the context's DC
//                brush colour)
//   hatched      an 8 x 8 tile, lines in the brush's colour, the rest in the
//                context's background colour in OPAQUE mode and left alone
//                in TRANSPARENT mode
//   pattern      the brush's picture, a monochrome one in the context's text
//                (0) and background (1) colours, a DIB_PAL_COLORS one through
//                the context's palette
//
// Colours become the target's values as every colour drawn does
// (gdi/color_ref.h): PALETTEINDEX and DIBINDEX forms resolved, then the
// nearest colour-table entry at 8 bits or fewer, the packed channels above. The tile
// is anchored at the context's brush origin.
#ifndef STANDIN_GDI_BRUSH_PATTERN_H
#define STANDIN_GDI_BRUSH_PATTERN_H

#include "gdi/gdi_objects.h"
#include "stretch/pattern.h"

#include <cstdint>
#include <memory>

namespace standin {

// Side of every hatch tile.
constexpr int kHatchSide = 8;

// Row y of a hatch style's tile, bit 7 - x set where the line passes: the
// horizontal line on row 4, the vertical one on column 4, the diagonals
// through the tile's corners. False for a style that is not one.
bool HatchRow(ULONG_PTR style, int y, std::uint8_t* bits);

// The tile for drawing `brush` into `target` through `context`; null for a
// hollow brush, which paints nothing. May throw std::bad_alloc.
SharedPattern RealizeBrush(const Brush& brush, const DeviceContext& context, const Bitmap& target);

// A brush as a LOGBRUSH describes it (CreateBrushIndirect, ExtCreatePen),
// outside the handle table; null with the last error set when refused.
// Caller holds the API lock. May throw std::bad_alloc.
std::unique_ptr<Brush> MakeBrush(const LOGBRUSH& log);

// A plain solid colour as a tile for `target`.
SharedPattern SolidColourPattern(const Bitmap& target, COLORREF colour);

}  // namespace standin

#endif

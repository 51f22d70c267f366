// One LineTo's line drawn with a pen: which pixels (cosmetic_line for
// one-pixel pens, wide_line for wider ones), which of them the pen's dash
// pattern keeps (pen_style), and what they are painted with (span_painter):
// the pen's colour, or a geometric pen's brush.
//
// One-pixel pens step their pattern along the line's major axis, a pixel a
// step, and fill the gaps with the background colour in OPAQUE mode.
// Geometric pens wider than a pixel step it along the line's length in
// logical units, draw each dash as a short line with the pen's ends, and
// leave the gaps alone. Joins (PS_JOIN_*) concern only figures drawn in one
// call; separate LineTo lines each end with the pen's ends.
#ifndef STANDIN_GDI_PEN_LINES_H
#define STANDIN_GDI_PEN_LINES_H

#include "gdi/gdi_objects.h"
#include "gdi/pen_style.h"
#include "gdi/wide_line.h"
#include "stretch/pattern.h"

#include <cstdint>

namespace standin {

// What the pen paints with: a geometric pen's brush, or its colour (the
// stock DC_PEN's being the context's DC pen colour). Null for a hollow brush.
SharedPattern PenPattern(const DeviceContext& context, const Bitmap& bitmap, const Pen& pen);

// The pen's end caps: a geometric pen's own, round for every other.
LineCap CapOf(const Pen& pen);

// The dash pattern of the pen drawn `width` device pixels wide; false for a
// pen that draws solid.
bool PatternOf(const Pen& pen, std::int64_t width, DashPattern* pattern);

// Draws the line from `from` towards `to` (device pixels) `width` device
// pixels wide (the pen's width through the mapping), clipped to the bitmap,
// and moves the context's dash position on. May throw std::bad_alloc.
void DrawPenLine(DeviceContext& context, Bitmap& bitmap, const Pen& pen, std::int64_t width, POINT from, POINT to);

}  // namespace standin

#endif

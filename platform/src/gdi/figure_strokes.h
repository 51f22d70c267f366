// Outlines of figures drawn in one call (Polyline, Polygon, PolyPolyline,
// Pie's and Chord's straight sides): lines through the caller's points with
// the selected pen.
//
// One-pixel and styled pens draw the lines one after another as LineTo
// does, each leaving out its end point, the dash pattern carrying on along
// the figure. A wide solid pen draws the figure as one shape, each pixel
// once: the lines as bands with flat ends, the pen's join where two lines
// meet (PS_JOIN_ROUND: a disc; PS_JOIN_BEVEL: the corner cut straight;
// PS_JOIN_MITER: the outer edges carried on until they meet, or cut as a
// bevel where the point would reach more than kMiterLimit half-widths from
// the corner) and, on an open figure, the pen's end caps at both ends. Pens
// made by CreatePen draw round joins and ends.
#ifndef STANDIN_GDI_FIGURE_STROKES_H
#define STANDIN_GDI_FIGURE_STROKES_H

#include "gdi/figure.h"

#include <cstddef>

namespace standin {

// Most points one call takes, all its figures together.
constexpr int kMaxFigurePoints = 1 << 18;

// The platform's default miter limit: the longest miter, in half pen widths.
constexpr double kMiterLimit = 10.0;

// The pen's join: a geometric pen's own, round for every other.
inline DWORD JoinOf(const Pen& pen) { return pen.geometric() ? pen.extendedStyle & PS_JOIN_MASK : PS_JOIN_ROUND; }

// Draws the outline through `count` points, back to the first when
// `closed`. May throw std::bad_alloc.
void StrokeFigure(FigureTools& tools, const POINT* points, std::size_t count, bool closed);

}  // namespace standin

#endif

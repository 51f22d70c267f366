// Paints an operation that reads no source (a fill, PatBlt's codes) over a
// rectangle that a rotation or shear has turned into a parallelogram.
//
// The rectangle's corners land at A, B and C (its fourth at B + C - A);
// the pixels painted are those the polygon A, B, D, C covers by
// raster/polygon.h's rule, the one Polygon and the polygon regions fill by.
// Corners are held within 2^40 pixels. Work is bounded by the bitmap's rows.
#ifndef STANDIN_GDI_TURNED_PAINT_H
#define STANDIN_GDI_TURNED_PAINT_H

#include "gdi/clipping.h"
#include "stretch/job.h"

namespace standin {

struct Corners {
    double ax, ay, bx, by, cx, cy;
};

// Each row is painted through `clip` (gdi/clipping.h).
void PaintParallelogram(const Surface& target, const DrawClip& clip, const Corners& corners, const PixelOp& op);

}  // namespace standin

#endif

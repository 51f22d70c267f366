// Paints an operation that reads no source (a fill, PatBlt's codes) over a
// rectangle that a rotation or shear has turned into a parallelogram.
//
// The rectangle's corners land at A, B and C (its fourth at B + C - A); a
// device pixel is painted when its centre P = A + s (B - A) + t (C - A) has
// 0 <= s, t < 1, the rule PlgBlt draws by (stretch/parallelogram.h), so a
// turned fill covers exactly the pixels a turned blit of the same
// rectangle writes. Work is bounded by the bitmap's rows and columns.
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

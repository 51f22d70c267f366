// PlgBlt's pixel loop: a source rectangle laid onto a parallelogram.
//
// The source rectangle's upper-left, upper-right and lower-left corners go
// to the points A, B and C, its lower-right one to D = B + C - A. A
// destination pixel is drawn when its centre P = A + s (B - A) + t (C - A)
// has 0 <= s, t < 1; it takes the source pixel (xSrc + floor(s * width),
// ySrc + floor(t * height)), the one under the centre's image, whatever the
// context's stretching mode. So a parallelogram whose points run the other
// way mirrors the picture, and one turned by a quarter rotates it exactly.
// A pixel whose source pixel lies outside the source bitmap, or whose mask
// bit (the mask repeated when smaller than the rectangle) is 0, is left
// alone. The coordinates are exact integers throughout.
#ifndef STANDIN_STRETCH_PARALLELOGRAM_H
#define STANDIN_STRETCH_PARALLELOGRAM_H

#include "stretch/job.h"

#include <cstdint>

namespace standin {

struct Parallelogram {
    std::int64_t ax, ay, bx, by, cx, cy;  // A, B, C
    std::int32_t xSrc, ySrc, width, height;  // the source rectangle, width and height > 0
};

// Whether the three points span an area (otherwise no pixel is drawn).
bool HasArea(const Parallelogram& shape);

// The job's source, target, op (any raster operation with its brush and
// monochrome conversion; PlgBlt's is SRCCOPY) and sharedPixels are used,
// and only its drawn columns and rows are written; its axis mappings are
// not used. `mask` may be null.
// With a `key` (TransparentBlt's colour, as the source stores it), a
// pixel whose source colour is the key is left alone too.
void ParallelogramBlit(const StretchJob& job, const Parallelogram& shape, const Surface* mask,
                       std::int32_t xMask, std::int32_t yMask, const RGBQUAD* key = nullptr);

}  // namespace standin

#endif

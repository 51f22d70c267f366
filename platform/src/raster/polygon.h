// Polygon interiors: which pixels a set of closed polygons covers under the
// two fill rules of the platform's polygon fill modes.
//
//   Alternate   a pixel is inside when a ray from its point crosses the
//               edges an odd number of times (ALTERNATE)
//   Winding     a pixel is inside when the edges wind round its point a
//               non-zero number of times (WINDING)
//
// Vertices are fixed-point, kSubpixel units to a pixel, so the pieces of a
// wide pen's stroke (joins, bevels) can lie between pixel centres. Pixel
// (x, y) is inside when its point (x, y) is (raster/runs.h): a point on a
// left or top edge counts, one on a right or bottom edge does not. The
// crossings are computed exactly in 128-bit arithmetic from any 32-bit
// coordinates.
#ifndef STANDIN_RASTER_POLYGON_H
#define STANDIN_RASTER_POLYGON_H

#include "raster/runs.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

constexpr std::int64_t kSubpixel = 16;

struct FixedPoint {
    std::int64_t x, y;  // in 1 / kSubpixel pixel
};

constexpr FixedPoint PixelPoint(std::int64_t x, std::int64_t y) { return FixedPoint{x * kSubpixel, y * kSubpixel}; }

enum class FillRule { Alternate, Winding };

// Scans polygons given one after another in `points`, `counts[i]` vertices
// each, every polygon closed from its last vertex back to its first. A
// polygon of fewer than two vertices has no edge. May throw std::bad_alloc.
void ScanPolygons(const FixedPoint* points, const std::size_t* counts, std::size_t polygons, FillRule rule,
                  const ScanWindow& window, RunSink& sink);

// The pixels [left, right) of row y inside one convex polygon, for a caller
// that gathers many small pieces a row at a time; false when none is.
bool ConvexRow(const FixedPoint* points, std::size_t count, std::int64_t y, std::int64_t* left,
               std::int64_t* right);

}  // namespace standin

#endif

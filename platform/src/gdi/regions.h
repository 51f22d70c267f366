// What the region and clipping calls share: making region objects, the
// CombineRgn modes, and the answers that name a region's complexity.
#ifndef STANDIN_GDI_REGIONS_H
#define STANDIN_GDI_REGIONS_H

#include "gdi/gdi_objects.h"
#include "region/region_object.h"
#include "space/affine.h"

#include <vector>

namespace standin {

// A new region object holding `shape`; null with ERROR_NOT_ENOUGH_MEMORY
// when the handle table is full or a test asked for the failure. Caller
// holds the lock.
HRGN InsertRegion(BandRegion shape);

// a combined with b by a CombineRgn mode (RGN_COPY takes a); false with the
// last error set for an unknown mode (ERROR_INVALID_PARAMETER) or a result
// beyond the region limits (ERROR_NOT_ENOUGH_MEMORY), `out` unchanged.
bool CombineByMode(const BandRegion& a, const BandRegion& b, int mode, BandRegion* out);

// The region of rectangles that a transform rotates or shears: each the
// parallelogram of its mapped corners, covering the pixels Polygon would.
// Null with the last error set: ERROR_INVALID_PARAMETER for a coefficient
// that is not finite, ERROR_NOT_ENOUGH_MEMORY beyond the limits.
HRGN TurnedRegion(const std::vector<RegionRect>& rectangles, const XFORM& transform);
// The same region as a shape, through any affine map; false with the last
// error set.
bool TurnedShape(const std::vector<RegionRect>& rectangles, const Affine& map, BandRegion* out);

// NULLREGION, SIMPLEREGION or COMPLEXREGION.
inline int ComplexityOf(const BandRegion& region) { return static_cast<int>(region.complexity()); }

inline RECT ToRect(const RegionRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// A caller's rectangle with its corners put in order.
inline RegionRect OrderedRect(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    return RegionRect{ClampRegionCoordinate(std::min(x0, x1)), ClampRegionCoordinate(std::min(y0, y1)),
                      ClampRegionCoordinate(std::max(x0, x1)), ClampRegionCoordinate(std::max(y0, y1))};
}

// The device pixels a context draws on: its bitmap's, or the screen's.
RegionRect SurfaceOf(HDC dc);

// The logical coordinates of context `dc` in device pixels, and back
// (gdi/coordinates.h): a point, and a rectangle with its corners put in
// order (a turned one as the device rectangle around its corners).
POINT DevicePoint(HDC dc, const DeviceContext& context, std::int64_t x, std::int64_t y);
RegionRect DeviceRect(HDC dc, const DeviceContext& context, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                      std::int64_t y1);
RECT LogicalRect(HDC dc, const DeviceContext& context, const RegionRect& device);

}  // namespace standin

#endif

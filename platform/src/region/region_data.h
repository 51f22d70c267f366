// The RGNDATA layout GetRegionData writes and ExtCreateRegion reads: a
// 32-byte RGNDATAHEADER (dwSize, iType = RDH_RECTANGLES, nCount, nRgnSize,
// rcBound), then nCount RECTs from dwSize bytes on.
#ifndef STANDIN_REGION_DATA_H
#define STANDIN_REGION_DATA_H

#include "region/band_region.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// Bytes of the whole record for the region: header and one RECT a rectangle.
std::size_t RegionDataBytes(const BandRegion& region);

// The record for the region, RegionDataBytes(region) bytes.
std::vector<std::uint8_t> WriteRegionData(const BandRegion& region);

// The rectangles of a record of `bytes` bytes: false when the header is
// short, names another type, or says the rectangles reach past `bytes` or
// number more than kMaxRegionRectangles. Rectangles are taken as given;
// ones whose right (bottom) edge does not lie past their left (top) one
// cover nothing.
bool ReadRegionData(const void* data, std::size_t bytes, std::vector<RegionRect>* rectangles);

// Whether a transform keeps rectangles rectangles (no rotation or shear),
// and maps such a rectangle: each edge scaled and moved, then rounded to
// the nearest pixel. False when a coefficient is not finite.
bool AxisAligned(const XFORM& transform);
bool MapRectangle(const XFORM& transform, const RegionRect& in, RegionRect* out);

// The union of rectangles in any order, overlapping or not; false beyond
// the region limits.
bool UniteRectangles(const std::vector<RegionRect>& rectangles, BandRegion* out);

}  // namespace standin

#endif

// Regions written and read as their rectangles, for the region and clipping
// tests.
#ifndef REGION_RECTS_H
#define REGION_RECTS_H

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// The region's rectangles as GetRegionData lists them, as text:
// "l,t,r,b l,t,r,b ..." ("" for an empty region, "bad" when it cannot be read).
std::string RectsOf(HRGN region);

// A region holding the rectangles (each l, t, r, b), through ExtCreateRegion.
HRGN RegionOf(const std::vector<RECT>& rects, const XFORM* transform = nullptr);

// The RGNDATA record for the rectangles, as ExtCreateRegion reads it.
std::vector<unsigned char> RecordOf(const std::vector<RECT>& rects);

}  // namespace testing_support

#endif

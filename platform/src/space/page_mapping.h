// The page-to-device half of a context's coordinate space: the mapping mode
// with its window (logical) and viewport (device) extents and origins.
//
// A page point maps to the device as
//   x' = (x - windowOrigin.x) * viewportExtent.cx / windowExtent.cx + viewportOrigin.x
// and likewise for y. MM_TEXT has extents 1 : 1. The five fixed modes take
// their extents from the device's size: the window extent is the device's
// width and height in the mode's unit, the viewport extent its width and
// height in pixels with y negated (y grows upwards). MM_ISOTROPIC starts
// with MM_LOMETRIC's extents; MM_ANISOTROPIC keeps whatever extents the
// previous mode had. In the two scalable modes the caller may set the
// extents; MM_ISOTROPIC then shrinks one viewport extent, keeping its
// sign, so that a logical unit spans the same physical length on both axes.
#ifndef STANDIN_SPACE_PAGE_MAPPING_H
#define STANDIN_SPACE_PAGE_MAPPING_H

#include "space/affine.h"

#include <windows.h>

namespace standin {

// What a device reports of its size (GetDeviceCaps HORZSIZE, VERTSIZE,
// HORZRES, VERTRES): millimetres and pixels across and down.
struct DeviceSize {
    int widthMm, heightMm, widthPixels, heightPixels;
};

struct PageMapping {
    int mode = MM_TEXT;
    SIZE windowExtent{1, 1};
    SIZE viewportExtent{1, 1};
    POINT windowOrigin{0, 0};
    POINT viewportOrigin{0, 0};
};

bool ValidMapMode(int mode);
// The modes whose extents SetWindowExtEx and SetViewportExtEx may change.
bool ScalableMode(int mode);

// Switches `page` to `mode` (a valid one) with the extents that mode takes
// on `device`; origins are kept.
void ChangeMapMode(PageMapping* page, int mode, const DeviceSize& device);

// In MM_ISOTROPIC, shrinks the viewport extent of the axis whose logical
// unit is physically longer until both are equal; nothing in other modes.
void KeepIsotropic(PageMapping* page, const DeviceSize& device);

// The page-to-device map of `page` (extents are never zero).
Affine PageToDevice(const PageMapping& page);

}  // namespace standin

#endif

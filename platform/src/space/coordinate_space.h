// A device context's whole coordinate space: the world transform (used in
// GM_ADVANCED only), the page mapping (space/page_mapping.h) and the
// layout, composed into the one map from logical coordinates to device
// pixels, and the platform's rounding of its results.
//
// LAYOUT_RTL mirrors the device's x axis after everything else: page x
// lands at device x' = width - 1 - x, so the viewport origin counts from
// the right-hand pixel. Points (a pixel to set, a line's ends) map through
// that directly. A rectangle's edges lie one further right, at width - x,
// so that a rectangle covering logical pixels [l, r) covers exactly the
// mirrored device pixels [width - r, width - l).
#ifndef STANDIN_SPACE_COORDINATE_SPACE_H
#define STANDIN_SPACE_COORDINATE_SPACE_H

#include "space/affine.h"
#include "space/page_mapping.h"

#include <windows.h>

#include <cstdint>

namespace standin {

// Largest magnitude of a device coordinate: the platform keeps device
// coordinates to 27 bits, as the stretch engine does.
constexpr std::int64_t kMaxDeviceCoordinate = std::int64_t{1} << 27;

struct CoordinateSpace {
    PageMapping page;
    int graphicsMode = GM_COMPATIBLE;
    XFORM world{1, 0, 0, 1, 0, 0};
    DWORD layout = 0;  // LAYOUT_RTL, LAYOUT_BITMAPORIENTATIONPRESERVED

    bool rightToLeft() const { return (layout & LAYOUT_RTL) != 0; }
};

Affine FromXform(const XFORM& x);
XFORM ToXform(const Affine& a);

// The map from logical points to device points of a device `deviceWidth`
// pixels wide (the width a right-to-left layout mirrors across).
Affine LogicalToDevice(const CoordinateSpace& space, std::int32_t deviceWidth);

// The map of a rectangle's edges: the point map, one pixel further right
// under a right-to-left layout.
Affine EdgesToDevice(const CoordinateSpace& space, std::int32_t deviceWidth);

// Whether logical coordinates are device pixels: MM_TEXT (or extents 1 : 1)
// with no origin offsets, no world transform in effect and no mirroring.
bool IsPlainSpace(const CoordinateSpace& space);

// The platform's rounding of a mapped coordinate: to the nearest integer,
// halves upwards. False (and *out saturated) beyond `limit` in magnitude
// or for a value that is not a number.
bool RoundCoordinate(double v, std::int64_t limit, std::int64_t* out);

}  // namespace standin

#endif

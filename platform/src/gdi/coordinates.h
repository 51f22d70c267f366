// The one way every call maps a context's logical coordinates onto the
// pixels of the bitmap it draws on, and back (space/coordinate_space.h
// holds the maths). Drawing calls take logical coordinates, map them here
// and hand device pixels to the engines; while the mapping is the identity
// (MM_TEXT, no offsets, no world transform, left to right) they keep their
// device-pixel paths unchanged.
#ifndef STANDIN_GDI_COORDINATES_H
#define STANDIN_GDI_COORDINATES_H

#include "gdi/gdi_objects.h"
#include "space/coordinate_space.h"

#include <cstdint>

namespace standin {

// The size every context reports (gdi/screen.h), from which the fixed
// mapping modes take their scales.
DeviceSize ScreenDeviceSize();

// The width a context's right-to-left layout mirrors across: its bitmap's
// (its own pixel's while the stock bitmap is selected), or the screen's
// for a context without pixels.
std::int32_t DeviceWidth(HDC dc, const DeviceContext& context);

// A blit's rectangle: an origin and signed extents, as BitBlt takes them (a
// negative extent covers its origin and the pixels before it).
struct BlitArea {
    std::int64_t x = 0, y = 0, w = 0, h = 0;
};

class LogicalMapping {
public:
    // `context`'s space on a device `deviceWidth` pixels wide.
    LogicalMapping(const DeviceContext& context, std::int32_t deviceWidth);

    // Logical coordinates are device pixels.
    bool identity() const { return identity_; }
    // A rectangle maps to a rectangle (no rotation or shear).
    bool axisAligned() const { return points_.axisAligned(); }
    const Affine& points() const { return points_; }
    const Affine& edges() const { return edges_; }

    // A logical point's device pixel; false beyond kMaxDeviceCoordinate
    // (the result then saturated).
    bool ToDevice(std::int64_t x, std::int64_t y, std::int64_t* dx, std::int64_t* dy) const;
    POINT ToDevice(POINT p) const;
    // A device point's logical one; false when it leaves LONG's range.
    bool ToLogical(POINT device, POINT* logical) const;

    // The device pixels a logical rectangle covers under an axis-aligned
    // mapping: its edges mapped and the result normalised, so the right
    // column and bottom row on the device are excluded whatever the mapping
    // (the identity keeps the rectangle as given, inverted or not).
    // Saturated to kMaxDeviceCoordinate.
    RECT RectToDevice(const RECT& logical) const;
    // The smallest logical rectangle holding the device pixels of `device`
    // (a clip box, say): its corners mapped back, normalised, each edge
    // rounded to the nearest logical unit. False when an edge leaves LONG.
    bool RectToLogical(const RECT& device, RECT* logical) const;
    // A logical rectangle's corners (edges mapped) in order: (left, top),
    // (right, top), (left, bottom), (right, bottom). Any mapping.
    void CornersToDevice(const RECT& logical, double x[4], double y[4]) const;

    // A blit rectangle on the device under an axis-aligned mapping; the
    // extents' signs follow the mapping, so an axis the mapping reverses
    // mirrors the picture, except the layout's reversal when
    // `keepOrientation` (LAYOUT_BITMAPORIENTATIONPRESERVED, NOMIRRORBITMAP).
    // False beyond kMaxDeviceCoordinate.
    bool AreaToDevice(const BlitArea& logical, bool keepOrientation, BlitArea* device) const;

    // A pen's logical width on the device: scaled by the mapping's mean
    // linear scale, at least one pixel.
    std::int64_t WidthToDevice(std::int64_t width) const;

private:
    Affine points_, edges_, backFromEdges_;
    bool identity_;
    bool rightToLeft_;
    bool invertible_;  // false only when the composite underflows to a collapse
};

// The mapping of `context` drawing on `bitmap`.
LogicalMapping MappingOnto(const DeviceContext& context, const Bitmap& bitmap);

}  // namespace standin

#endif

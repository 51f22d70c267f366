// What every blit (BitBlt, StretchBlt, AlphaBlend, TransparentBlt, MaskBlt,
// PlgBlt) finds out about its operands before any pixel moves: the context
// and the bitmap it draws on, whether coordinates are within the engine's
// limits, and how a source looks from the destination.
#ifndef STANDIN_GDI_BLIT_OPERANDS_H
#define STANDIN_GDI_BLIT_OPERANDS_H

#include "gdi/coordinates.h"
#include "gdi/gdi_objects.h"
#include "gdi/turned_paint.h"
#include "stretch/job.h"
#include "stretch/parallelogram.h"

#include <initializer_list>

namespace standin {

struct Operands {
    DeviceContext* context = nullptr;
    Bitmap* bitmap = nullptr;
};

// False (and nothing found) for a null, stale or wrong-kind handle and for a
// context without pixels (the screen's).
bool FindOperands(HDC dc, Operands* out);

// Whether every origin and extent lies within kMaxStretchCoordinate.
bool WithinStretchLimits(std::initializer_list<std::int64_t> values);

// Whether a blit onto `to` keeps its picture's orientation under a
// right-to-left layout: LAYOUT_BITMAPORIENTATIONPRESERVED, or NOMIRRORBITMAP
// in the raster operation.
bool KeepsOrientation(const DeviceContext& to, DWORD rop);

// Maps a blit's logical destination area on `to` and, when `from` is
// given, its source area on `from` to device pixels. False, with the last
// error set, when a coordinate leaves the 27-bit device range
// (ERROR_INVALID_PARAMETER) or either mapping turns rectangles
// (ERROR_NOT_SUPPORTED: such a blit has no rectangle to stretch onto).
bool PlaceOnDevices(const Operands& to, const Operands* from, bool keepOrientation, BlitArea* dest,
                    BlitArea* source);
// The source half of that.
bool PlaceSource(const Operands& from, BlitArea* source);

// Where a blit's logical destination area lands under a mapping that turns
// rectangles: the device corners the source's upper-left, upper-right and
// lower-left corners go to (an axis whose destination and source extents
// differ in sign runs backwards). `source`, in the source's device pixels,
// is null for an operation that reads none.
Corners TurnedCorners(const LogicalMapping& onto, const BlitArea& dest, const BlitArea* source);
// Those corners as PlgBlt's parallelogram onto `source`; false, with
// ERROR_INVALID_PARAMETER, beyond kMaxStretchCoordinate.
bool TurnedShape(const Corners& corners, const BlitArea& source, Parallelogram* out);

// An area with its extents made positive, the same pixels covered.
BlitArea Normalized(const BlitArea& area);

// The source as the destination should read it: a monochrome source onto a
// colour destination shows the destination context's text and background
// colours in place of its own black and white.
DibDescription SourceAsSeen(const Bitmap& source, const Bitmap& target, const DeviceContext& to);

// A colour source onto a monochrome `target`: `op` turns source pixels of
// the source context's background colour white and all others black. Leaves
// `op` alone for every other pair of formats.
void ConvertToMonochrome(const Bitmap& target, const Operands& from, PixelOp* op);

}  // namespace standin

#endif

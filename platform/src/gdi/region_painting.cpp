// Painting regions: FillRgn (a brush, copied in as FillRect copies it),
// PaintRgn (the selected brush, through the binary raster operation as
// every drawing with the selected brush: SetROP2),
// InvertRgn (every pixel inverted) and FrameRgn (a border of a brush inside
// the region's edges).
//
// The region is taken in the context's logical units, as the platform
// presumes, and painted through the row engine one rectangle at a time,
// each mapped to the device (gdi/coordinates.h; a rotation or shear turns
// it into a parallelogram, painted by PlgBlt's rule, so the rectangles
// still tile), cut to the bitmap and to the clip region. FrameRgn's w and
// h are logical too: the border is found before mapping. A hollow brush paints
// nothing and succeeds. FrameRgn's border is every pixel of the region
// within w columns or h rows of a pixel outside it (the magnitudes of w
// and h are used), so a rectangle's frame has vertical strokes w pixels
// wide and horizontal ones h pixels high. A bad context or region handle
// fails with ERROR_INVALID_HANDLE, a bad brush with ERROR_INVALID_PARAMETER.
#include "gdi/blit_operands.h"
#include "gdi/brush_pattern.h"
#include "gdi/clipping.h"
#include "gdi/coordinates.h"
#include "gdi/regions.h"
#include "gdi/span_painter.h"
#include "gdi/system_colors.h"
#include "gdi/turned_paint.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <cstdlib>

namespace standin {
namespace {

// Applies `op` to every device pixel of `shape` (logical units) that the
// context can draw.
void PaintShape(const Operands& to, const BandRegion& shape, const PixelOp& op) {
    const Bitmap& bitmap = *to.bitmap;
    const Surface target(bitmap.pixels.get(), bitmap.dib);
    const DrawClip clip(*to.context);
    const RegionRect whole{0, 0, bitmap.width(), bitmap.height()};
    auto paint = [&](const RegionRect& r) {
        clip.Rectangles(DrawnRange{r.left, r.right - r.left}, DrawnRange{r.top, r.bottom - r.top},
                        [&](DrawnRange columns, DrawnRange rows) { PaintTarget(target, columns, rows, op); });
    };
    const LogicalMapping mapping = MappingOnto(*to.context, bitmap);
    if (mapping.identity()) return shape.ForEachRectangleIn(whole, paint);
    shape.ForEachRectangle([&](const RegionRect& r) {
        const RECT logical = ToRect(r);
        if (!mapping.axisAligned()) {
            double x[4], y[4];
            mapping.CornersToDevice(logical, x, y);
            return PaintParallelogram(target, clip, Corners{x[0], y[0], x[1], y[1], x[2], y[2]}, op);
        }
        const RECT d = mapping.RectToDevice(logical);
        const RegionRect device = OrderedRect(d.left, d.top, d.right, d.bottom);
        paint(RegionRect{std::max(device.left, 0), std::max(device.top, 0), std::min(device.right, whole.right),
                         std::min(device.bottom, whole.bottom)});
    });
}

// Paints the region `hrgn` with a brush by `code`, or (for a code that
// reads no brush) without one. `shape` may turn the region into the pixels
// to paint. The caller holds the lock.
template <class Shape>
BOOL PaintRegion(HDC hdc, HRGN hrgn, const Brush* brush, std::uint8_t code, Shape&& shape) {
    Operands to;
    if (!FindOperands(hdc, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    const Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    PixelOp op;
    op.code = code;
    if (UsesPattern(code)) {
        if (brush == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
        op.pattern = RealizeBrush(*brush, *to.context, *to.bitmap);
        if (op.pattern == nullptr) return TRUE;  // a hollow brush paints nothing
    }
    BandRegion pixels;
    if (!shape(region->shape, &pixels)) return Fail<BOOL>(ERROR_NOT_ENOUGH_MEMORY);
    PaintShape(to, pixels, op);
    return TRUE;
}

bool Whole(const BandRegion& region, BandRegion* out) {
    *out = region;
    return true;
}

}  // namespace
}  // namespace standin

using namespace standin;

BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) try {
    ApiLock lock(ApiMutex());
    return PaintRegion(hdc, hrgn, FillBrush(hbr), RasterOpCode(PATCOPY), Whole);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI PaintRgn(HDC hdc, HRGN hrgn) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    const Brush* brush = context != nullptr ? Lookup<Brush>(context->brush) : nullptr;
    return PaintRegion(hdc, hrgn, brush, context != nullptr ? MixCode(context->mix) : RasterOpCode(PATCOPY), Whole);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI InvertRgn(HDC hdc, HRGN hrgn) try {
    ApiLock lock(ApiMutex());
    return PaintRegion(hdc, hrgn, nullptr, RasterOpCode(DSTINVERT), Whole);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h) try {
    ApiLock lock(ApiMutex());
    const std::int64_t rx = std::llabs(std::int64_t{w}), ry = std::llabs(std::int64_t{h});
    return PaintRegion(hdc, hrgn, FillBrush(hbr), RasterOpCode(PATCOPY), [&](const BandRegion& region, BandRegion* out) {
        BandRegion inside;
        return BandRegion::Erode(region, rx, ry, &inside) &&
               BandRegion::Combine(region, inside, RegionOp::Diff, out);
    });
} catch (...) {
    return OutOfMemory<BOOL>();
}

// The clip region of a device context and what can be seen through it.
//
// The clip region is kept in device pixels, as the platform keeps it: the
// regions SelectClipRgn and ExtSelectClipRgn take are in device units, the
// rectangles of IntersectClipRect and ExcludeClipRect and the answers of
// GetClipBox, PtVisible and RectVisible in the context's logical units. A
// context starts with none, and then draws on its whole surface (its
// bitmap, or the screen); combining with no clip region combines with that
// surface. The clip region is saved and restored with the rest of the
// context's state (SaveDC, RestoreDC).
//
// Every call that sets it answers the complexity of what stays visible,
// the clip region within the surface: NULLREGION, SIMPLEREGION or
// COMPLEXREGION, and ERROR (the clip region unchanged) for a bad context
// or region handle (ERROR_INVALID_HANDLE), an unknown mode or a missing
// region where the mode needs one (ERROR_INVALID_PARAMETER), or a result
// beyond the region limits (ERROR_NOT_ENOUGH_MEMORY).
#include "gdi/regions.h"

#include "gdi/coordinates.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

#include <cmath>
#include <memory>

namespace standin {
namespace {

BandRegion SurfaceRegion(HDC dc) {
    const RegionRect s = SurfaceOf(dc);
    return BandRegion::Rectangle(s.left, s.top, s.right, s.bottom);
}

// The clip region within the surface: what a draw can reach.
BandRegion Visible(HDC dc, const DeviceContext& context) {
    BandRegion surface = SurfaceRegion(dc);
    if (context.clip == nullptr) return surface;
    BandRegion visible;
    // Cutting a region to one rectangle never grows it, so this cannot fail.
    BandRegion::Combine(*context.clip, surface, RegionOp::And, &visible);
    return visible;
}

// Makes `shape` the clip region and answers what can be seen through it.
int SetClip(HDC dc, DeviceContext* context, BandRegion shape) {
    context->clip = std::make_shared<const BandRegion>(std::move(shape));
    return ComplexityOf(Visible(dc, *context));
}

// The clip region combined with `shape` by a CombineRgn mode.
int CombineClip(HDC dc, DeviceContext* context, const BandRegion& shape, int mode) {
    const BandRegion current = context->clip != nullptr ? *context->clip : SurfaceRegion(dc);
    BandRegion combined;
    if (!CombineByMode(current, shape, mode, &combined)) return ERROR;
    return SetClip(dc, context, std::move(combined));
}

// The clip region combined with a logical rectangle: on the device, a
// rectangle, or the parallelogram a rotation or shear turns it into.
int CombineClipRect(HDC hdc, int left, int top, int right, int bottom, int mode) {
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    const LogicalMapping mapping(*context, DeviceWidth(hdc, *context));
    if (!mapping.axisAligned()) {
        BandRegion turned;
        if (!TurnedShape({OrderedRect(left, top, right, bottom)}, mapping.edges(), &turned)) return ERROR;
        return CombineClip(hdc, context, turned, mode);
    }
    const RegionRect r = DeviceRect(hdc, *context, left, top, right, bottom);
    return CombineClip(hdc, context, BandRegion::Rectangle(r.left, r.top, r.right, r.bottom), mode);
}

}  // namespace

RegionRect SurfaceOf(HDC dc) {
    if (const Bitmap* bitmap = SelectedBitmap(dc)) return RegionRect{0, 0, bitmap->width(), bitmap->height()};
    return RegionRect{0, 0, kScreenWidth, kScreenHeight};
}

POINT DevicePoint(HDC dc, const DeviceContext& context, std::int64_t x, std::int64_t y) {
    std::int64_t dx = 0, dy = 0;
    LogicalMapping(context, DeviceWidth(dc, context)).ToDevice(x, y, &dx, &dy);
    return POINT{ClampRegionCoordinate(dx), ClampRegionCoordinate(dy)};
}

RegionRect DeviceRect(HDC dc, const DeviceContext& context, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                      std::int64_t y1) {
    const LogicalMapping mapping(context, DeviceWidth(dc, context));
    const RECT logical{ClampRegionCoordinate(std::min(x0, x1)), ClampRegionCoordinate(std::min(y0, y1)),
                       ClampRegionCoordinate(std::max(x0, x1)), ClampRegionCoordinate(std::max(y0, y1))};
    if (mapping.axisAligned()) {
        const RECT d = mapping.RectToDevice(logical);
        return OrderedRect(d.left, d.top, d.right, d.bottom);
    }
    double x[4], y[4];
    mapping.CornersToDevice(logical, x, y);
    const double left = std::fmin(std::fmin(x[0], x[1]), std::fmin(x[2], x[3]));
    const double right = std::fmax(std::fmax(x[0], x[1]), std::fmax(x[2], x[3]));
    const double top = std::fmin(std::fmin(y[0], y[1]), std::fmin(y[2], y[3]));
    const double bottom = std::fmax(std::fmax(y[0], y[1]), std::fmax(y[2], y[3]));
    const double limit = static_cast<double>(kMaxRegionCoordinate);
    auto edge = [&](double v) { return static_cast<std::int64_t>(std::fmax(-limit, std::fmin(limit, std::round(v)))); };
    return OrderedRect(edge(left), edge(top), edge(right), edge(bottom));
}

RECT LogicalRect(HDC dc, const DeviceContext& context, const RegionRect& device) {
    RECT logical = ToRect(device);
    LogicalMapping(context, DeviceWidth(dc, context)).RectToLogical(ToRect(device), &logical);
    return logical;
}

}  // namespace standin

using namespace standin;

int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    if (hrgn == nullptr) {
        // Only RGN_COPY takes no region: it removes the clip region.
        if (mode != RGN_COPY) return Fail<int>(ERROR_INVALID_PARAMETER, ERROR);
        context->clip = nullptr;
        return ComplexityOf(Visible(hdc, *context));
    }
    const Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    if (mode == RGN_COPY) return SetClip(hdc, context, region->shape);
    return CombineClip(hdc, context, region->shape, mode);
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) try {
    ApiLock lock(ApiMutex());
    return CombineClipRect(hdc, left, top, right, bottom, RGN_AND);
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) try {
    ApiLock lock(ApiMutex());
    return CombineClipRect(hdc, left, top, right, bottom, RGN_DIFF);
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

int WINAPI OffsetClipRgn(HDC hdc, int x, int y) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    if (context->clip == nullptr) return ComplexityOf(Visible(hdc, *context));  // nothing to move
    // The offset is logical: its device size is the mapped distance.
    const POINT origin = DevicePoint(hdc, *context, 0, 0), moved = DevicePoint(hdc, *context, x, y);
    BandRegion shape = *context->clip;
    if (!shape.Offset(std::int64_t{moved.x} - origin.x, std::int64_t{moved.y} - origin.y))
        return Fail<int>(ERROR_INVALID_PARAMETER, ERROR);
    return SetClip(hdc, context, std::move(shape));
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    if (lprect == nullptr) return Fail<int>(ERROR_INVALID_PARAMETER, ERROR);
    const BandRegion visible = Visible(hdc, *context);
    *lprect = LogicalRect(hdc, *context, visible.box());
    return ComplexityOf(visible);
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

int WINAPI GetClipRgn(HDC hdc, HRGN hrgn) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    Region* region = Lookup<Region>(hrgn);
    if (context == nullptr || region == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, -1);
    if (context->clip == nullptr) return 0;  // no clip region: the region is left as it was
    region->shape = *context->clip;
    return 1;
} catch (...) {
    return OutOfMemory<int>(-1);
}

BOOL WINAPI PtVisible(HDC hdc, int x, int y) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE, -1);
    const POINT p = DevicePoint(hdc, *context, x, y);
    const RegionRect s = SurfaceOf(hdc);
    const bool onSurface = p.x >= s.left && p.x < s.right && p.y >= s.top && p.y < s.bottom;
    return onSurface && (context->clip == nullptr || context->clip->Contains(p.x, p.y)) ? TRUE : FALSE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI RectVisible(HDC hdc, const RECT* lprect) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lprect == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    const RegionRect r = DeviceRect(hdc, *context, lprect->left, lprect->top, lprect->right, lprect->bottom);
    return Visible(hdc, *context).Overlaps(r) ? TRUE : FALSE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

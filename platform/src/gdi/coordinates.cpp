// LogicalMapping, and DPtoLP and LPtoDP: points between a context's logical
// and device coordinates.
//
// Both calls convert every point or none: LPtoDP fails when a device
// coordinate would exceed 27 bits, DPtoLP when a logical one would leave
// LONG's range, and then the caller's points are left as they were (the
// platform leaves them undefined). A count of zero succeeds; a negative
// count or a null array with points to convert fails with
// ERROR_INVALID_PARAMETER.
#include "gdi/coordinates.h"

#include "gdi/screen.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <cmath>
#include <limits>

namespace standin {
namespace {

constexpr std::int64_t kMaxLogicalCoordinate = std::numeric_limits<LONG>::max();

// One axis of a blit rectangle through `scale` and `offset`, in BitBlt's
// convention for negative extents.
bool AxisToDevice(std::int64_t origin, std::int64_t extent, double scale, double offset, bool undoFlip,
                  std::int64_t* outOrigin, std::int64_t* outExtent) {
    bool mirrored = extent < 0;
    const std::int64_t lo = mirrored ? origin + extent + 1 : origin, hi = mirrored ? origin + 1 : origin + extent;
    std::int64_t a = 0, b = 0;
    const bool fits = RoundCoordinate(lo * scale + offset, kMaxDeviceCoordinate, &a) &&
                      RoundCoordinate(hi * scale + offset, kMaxDeviceCoordinate, &b);
    if (!fits) return false;
    if (b < a) {
        std::swap(a, b);
        mirrored = !mirrored;
    }
    if (undoFlip) mirrored = !mirrored;
    *outOrigin = mirrored ? b - 1 : a;
    *outExtent = mirrored ? a - b : b - a;
    return true;
}

LONG Saturated(double v) {
    std::int64_t r = 0;
    RoundCoordinate(v, kMaxDeviceCoordinate, &r);
    return static_cast<LONG>(r);
}

}  // namespace

DeviceSize ScreenDeviceSize() { return DeviceSize{kScreenWidthMm, kScreenHeightMm, kScreenWidth, kScreenHeight}; }

std::int32_t DeviceWidth(HDC dc, const DeviceContext& context) {
    if (context.screen) return kScreenWidth;
    const Bitmap* bitmap = SelectedBitmap(dc);
    return bitmap != nullptr ? bitmap->width() : 1;
}

LogicalMapping::LogicalMapping(const DeviceContext& context, std::int32_t deviceWidth)
    : points_(LogicalToDevice(context.space, deviceWidth)),
      edges_(EdgesToDevice(context.space, deviceWidth)),
      identity_(IsPlainSpace(context.space)),
      rightToLeft_(context.space.rightToLeft()),
      // Every stored part is invertible (world transforms with determinant
      // zero are refused, extents are never zero), but their product may
      // still round to a collapse.
      invertible_(Invert(edges_, &backFromEdges_)) {}

bool LogicalMapping::ToDevice(std::int64_t x, std::int64_t y, std::int64_t* dx, std::int64_t* dy) const {
    if (identity_) {
        *dx = x, *dy = y;
        return true;
    }
    const double px = static_cast<double>(x), py = static_cast<double>(y);
    const bool xFits = RoundCoordinate(points_.X(px, py), kMaxDeviceCoordinate, dx);
    const bool yFits = RoundCoordinate(points_.Y(px, py), kMaxDeviceCoordinate, dy);
    return xFits && yFits;
}

POINT LogicalMapping::ToDevice(POINT p) const {
    std::int64_t x = 0, y = 0;
    ToDevice(p.x, p.y, &x, &y);
    return POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
}

bool LogicalMapping::ToLogical(POINT device, POINT* logical) const {
    if (identity_) {
        *logical = device;
        return true;
    }
    Affine back;
    if (!Invert(points_, &back)) return false;
    std::int64_t x = 0, y = 0;
    const double px = device.x, py = device.y;
    if (!RoundCoordinate(back.X(px, py), kMaxLogicalCoordinate, &x) ||
        !RoundCoordinate(back.Y(px, py), kMaxLogicalCoordinate, &y))
        return false;
    *logical = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
    return true;
}

RECT LogicalMapping::RectToDevice(const RECT& r) const {
    if (identity_) return r;
    // Normalised on the device whichever way the mapping runs: in a mode
    // whose y axis points up a rectangle's top is the larger y, and under
    // a right-to-left layout its left edge lands right of its right one.
    const LONG x0 = Saturated(edges_.X(r.left, 0)), x1 = Saturated(edges_.X(r.right, 0));
    const LONG y0 = Saturated(edges_.Y(0, r.top)), y1 = Saturated(edges_.Y(0, r.bottom));
    return RECT{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

bool LogicalMapping::RectToLogical(const RECT& d, RECT* logical) const {
    if (identity_) {
        *logical = d;
        return true;
    }
    if (!invertible_) return false;
    const double xs[2] = {static_cast<double>(d.left), static_cast<double>(d.right)};
    const double ys[2] = {static_cast<double>(d.top), static_cast<double>(d.bottom)};
    double lo[2] = {HUGE_VAL, HUGE_VAL}, hi[2] = {-HUGE_VAL, -HUGE_VAL};
    for (int i = 0; i < 4; ++i) {
        const double x = backFromEdges_.X(xs[i & 1], ys[i >> 1]), y = backFromEdges_.Y(xs[i & 1], ys[i >> 1]);
        lo[0] = std::min(lo[0], x), hi[0] = std::max(hi[0], x);
        lo[1] = std::min(lo[1], y), hi[1] = std::max(hi[1], y);
    }
    std::int64_t e[4];
    const double v[4] = {lo[0], lo[1], hi[0], hi[1]};
    for (int i = 0; i < 4; ++i)
        if (!RoundCoordinate(v[i], kMaxLogicalCoordinate, &e[i])) return false;
    *logical = RECT{static_cast<LONG>(e[0]), static_cast<LONG>(e[1]), static_cast<LONG>(e[2]), static_cast<LONG>(e[3])};
    return true;
}

void LogicalMapping::CornersToDevice(const RECT& r, double x[4], double y[4]) const {
    const double xs[2] = {static_cast<double>(r.left), static_cast<double>(r.right)};
    const double ys[2] = {static_cast<double>(r.top), static_cast<double>(r.bottom)};
    for (int i = 0; i < 4; ++i) {
        x[i] = edges_.X(xs[i & 1], ys[i >> 1]);
        y[i] = edges_.Y(xs[i & 1], ys[i >> 1]);
    }
}

bool LogicalMapping::AreaToDevice(const BlitArea& logical, bool keepOrientation, BlitArea* device) const {
    if (identity_) {
        *device = logical;
        return true;
    }
    return AxisToDevice(logical.x, logical.w, edges_.m11, edges_.dx, keepOrientation && rightToLeft_, &device->x,
                        &device->w) &&
           AxisToDevice(logical.y, logical.h, edges_.m22, edges_.dy, false, &device->y, &device->h);
}

std::int64_t LogicalMapping::WidthToDevice(std::int64_t width) const {
    if (identity_) return width;
    const double scaled = static_cast<double>(width) * std::sqrt(std::fabs(points_.determinant()));
    std::int64_t r = 0;
    RoundCoordinate(scaled, kMaxDeviceCoordinate, &r);
    return std::max<std::int64_t>(r, 1);
}

LogicalMapping MappingOnto(const DeviceContext& context, const Bitmap& bitmap) {
    return LogicalMapping(context, bitmap.width());
}

}  // namespace standin

using namespace standin;

namespace {

// Converts all `count` points or none; `convert` maps one and says whether it fits.
template <class Convert>
BOOL ConvertPoints(HDC hdc, LPPOINT points, int count, Convert convert) {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (count < 0 || (count > 0 && points == nullptr)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    const LogicalMapping mapping(*context, DeviceWidth(hdc, *context));
    POINT converted;
    for (int i = 0; i < count; ++i)
        if (!convert(mapping, points[i], &converted)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    for (int i = 0; i < count; ++i) convert(mapping, points[i], &points[i]);
    return TRUE;
}

}  // namespace

BOOL WINAPI LPtoDP(HDC hdc, LPPOINT lppt, int c) try {
    return ConvertPoints(hdc, lppt, c, [](const LogicalMapping& m, POINT p, POINT* out) {
        std::int64_t x = 0, y = 0;
        const bool fits = m.ToDevice(p.x, p.y, &x, &y) && x >= -kMaxDeviceCoordinate &&
                          x <= kMaxDeviceCoordinate && y >= -kMaxDeviceCoordinate && y <= kMaxDeviceCoordinate;
        *out = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
        return fits;
    });
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI DPtoLP(HDC hdc, LPPOINT lppt, int c) try {
    return ConvertPoints(hdc, lppt, c, [](const LogicalMapping& m, POINT p, POINT* out) {
        const bool inRange = p.x >= -kMaxDeviceCoordinate && p.x <= kMaxDeviceCoordinate &&
                             p.y >= -kMaxDeviceCoordinate && p.y <= kMaxDeviceCoordinate;
        return inRange && m.ToLogical(p, out);
    });
} catch (...) {
    return OutOfMemory<BOOL>();
}

// Regions of shapes: CreateEllipticRgn, CreateEllipticRgnIndirect,
// CreateRoundRectRgn, CreatePolygonRgn and CreatePolyPolygonRgn.
//
// A shape's region holds exactly the pixels its filled figure covers
// (raster/): an ellipse or rounded rectangle those of Ellipse or RoundRect
// drawn on the same box with a one-pixel pen (the box's right and bottom
// edges left out, as CreateRectRgn leaves them out), a polygon those of
// Polygon's inside under the fill mode (ALTERNATE or WINDING), vertices on
// pixel centres. Coordinates are device pixels within the region limits; a
// shape reaching over more than kMaxShapeRows rows, with more than
// kMaxShapePoints vertices, or whose rows times vertices pass kMaxShapeWork
// is refused with ERROR_NOT_ENOUGH_MEMORY before
// anything is scanned, as is a region past kMaxRegionRectangles. A null
// point array, a vertex count below two or an unknown fill mode fails with
// ERROR_INVALID_PARAMETER.
#include "gdi/regions.h"

#include "raster/polygon.h"
#include "raster/rounded_box.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace standin {
namespace {

// Rows a shape's region may span: the scan costs one step a row.
constexpr std::int64_t kMaxShapeRows = std::int64_t{1} << 20;
// Vertices one polygon call may give.
constexpr std::size_t kMaxShapePoints = std::size_t{1} << 20;
// Rows times edges a polygon scan may take: each row looks at every edge.
constexpr std::int64_t kMaxShapeWork = std::int64_t{1} << 22;

// Builds the region from the scan's rows.
class RegionSink final : public RunSink {
public:
    void Row(std::int32_t y, const Run* runs, std::size_t count) override {
        pieces_.resize(count);
        for (std::size_t i = 0; i < count; ++i) pieces_[i] = BandRun{runs[i].left, runs[i].right};
        builder_.AddSorted(y, y + 1, pieces_.data(), count);
    }
    bool failed() const { return builder_.failed(); }
    BandRegion Finish() { return builder_.Finish(); }

private:
    BandBuilder builder_;
    std::vector<BandRun> pieces_;
};

// The window a shape of `edges` edges spanning [left, right) x [top, bottom)
// is scanned in, inside the region limits; false when it has too many rows,
// or too many for its edges.
bool ShapeWindow(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, std::size_t edges,
                 ScanWindow* out) {
    *out = ScanWindow{ClampRegionCoordinate(left), ClampRegionCoordinate(top), ClampRegionCoordinate(right),
                      ClampRegionCoordinate(bottom)};
    const std::int64_t rows = std::int64_t{out->bottom} - out->top;
    return rows <= kMaxShapeRows && rows * static_cast<std::int64_t>(std::max<std::size_t>(edges, 1)) <= kMaxShapeWork;
}

template <class Scan>
bool ScannedShape(const ScanWindow& window, Scan&& scan, BandRegion* out) {
    RegionSink sink;
    if (!window.empty()) scan(window, sink);
    if (sink.failed()) return Fail<bool>(ERROR_NOT_ENOUGH_MEMORY, false);
    *out = sink.Finish();
    return true;
}

template <class Scan>
HRGN ScannedRegion(const ScanWindow& window, Scan&& scan) {
    BandRegion shape;
    if (!ScannedShape(window, std::forward<Scan>(scan), &shape)) return nullptr;
    return InsertRegion(std::move(shape));
}

// The box's edges x1 and x2 bound its columns.
HRGN BoxRegion(const RoundedBox& box, int x1, int x2) {
    ScanWindow window;
    if (!ShapeWindow(std::min(x1, x2), box.firstRow(), std::max(x1, x2), box.endRow(), 1, &window))
        return Fail<HRGN>(ERROR_NOT_ENOUGH_MEMORY);
    return ScannedRegion(window, [&](const ScanWindow& w, RunSink& sink) { ScanRoundedBox(box, w, sink); });
}

HRGN PolygonsRegion(const POINT* points, const INT* counts, int polygons, int mode) {
    if (points == nullptr || counts == nullptr || polygons <= 0 || (mode != ALTERNATE && mode != WINDING))
        return Fail<HRGN>(ERROR_INVALID_PARAMETER);
    std::vector<std::size_t> sizes(static_cast<std::size_t>(polygons));
    std::size_t total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return Fail<HRGN>(ERROR_INVALID_PARAMETER);
        sizes[static_cast<std::size_t>(i)] = static_cast<std::size_t>(counts[i]);
        total += sizes[static_cast<std::size_t>(i)];
        if (total > kMaxShapePoints) return Fail<HRGN>(ERROR_NOT_ENOUGH_MEMORY);
    }
    std::vector<FixedPoint> fixed(total);
    std::int64_t left = points[0].x, right = left, top = points[0].y, bottom = top;
    for (std::size_t i = 0; i < total; ++i) {
        fixed[i] = PixelPoint(points[i].x, points[i].y);
        left = std::min<std::int64_t>(left, points[i].x), right = std::max<std::int64_t>(right, points[i].x);
        top = std::min<std::int64_t>(top, points[i].y), bottom = std::max<std::int64_t>(bottom, points[i].y);
    }
    ScanWindow window;
    if (!ShapeWindow(left, top, right, bottom, total, &window)) return Fail<HRGN>(ERROR_NOT_ENOUGH_MEMORY);
    const FillRule rule = mode == WINDING ? FillRule::Winding : FillRule::Alternate;
    return ScannedRegion(window, [&](const ScanWindow& w, RunSink& sink) {
        ScanPolygons(fixed.data(), sizes.data(), sizes.size(), rule, w, sink);
    });
}

// A transformed coordinate in fixed point, held to the region limits;
// false for one that is not a number.
bool FixedCoordinate(double v, std::int64_t* out) {
    if (std::isnan(v)) return false;
    const double limit = static_cast<double>(kMaxRegionCoordinate * kSubpixel);
    *out = std::llround(std::fmax(-limit, std::fmin(limit, v * kSubpixel)));
    return true;
}

}  // namespace

HRGN TurnedRegion(const std::vector<RegionRect>& rectangles, const XFORM& t) {
    BandRegion shape;
    if (!TurnedShape(rectangles, Affine{t.eM11, t.eM12, t.eM21, t.eM22, t.eDx, t.eDy}, &shape)) return nullptr;
    return InsertRegion(std::move(shape));
}

bool TurnedShape(const std::vector<RegionRect>& rectangles, const Affine& t, BandRegion* out) {
    if (rectangles.size() > kMaxShapePoints / 4) return Fail<bool>(ERROR_NOT_ENOUGH_MEMORY, false);
    std::vector<FixedPoint> corners;
    corners.reserve(4 * rectangles.size());
    std::int64_t top = 0, bottom = 0, left = 0, right = 0;
    for (const RegionRect& r : rectangles) {
        const double xs[4] = {double(r.left), double(r.right), double(r.right), double(r.left)};
        const double ys[4] = {double(r.top), double(r.top), double(r.bottom), double(r.bottom)};
        for (int k = 0; k < 4; ++k) {
            FixedPoint p;
            if (!FixedCoordinate(t.X(xs[k], ys[k]), &p.x) || !FixedCoordinate(t.Y(xs[k], ys[k]), &p.y))
                return Fail<bool>(ERROR_INVALID_PARAMETER, false);
            if (corners.empty()) left = right = p.x, top = bottom = p.y;
            left = std::min(left, p.x), right = std::max(right, p.x), top = std::min(top, p.y), bottom = std::max(bottom, p.y);
            corners.push_back(p);
        }
    }
    ScanWindow window;
    const auto down = [](std::int64_t v) { return v >= 0 ? v / kSubpixel : -((-v + kSubpixel - 1) / kSubpixel); };
    if (!ShapeWindow(down(left), down(top), down(right) + 1, down(bottom) + 1, corners.size(), &window))
        return Fail<bool>(ERROR_NOT_ENOUGH_MEMORY, false);
    // Every rectangle turns the same way round, so overlapping ones wind
    // alike and WINDING gives their union.
    const std::vector<std::size_t> counts(rectangles.size(), 4);
    return ScannedShape(
        window,
        [&](const ScanWindow& w, RunSink& sink) {
            ScanPolygons(corners.data(), counts.data(), counts.size(), FillRule::Winding, w, sink);
        },
        out);
}

}  // namespace standin

using namespace standin;

HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2) try {
    ApiLock lock(ApiMutex());
    return BoxRegion(RoundedBox::Ellipse(x1, y1, x2, y2), x1, x2);
} catch (...) {
    return OutOfMemory<HRGN>();
}

HRGN WINAPI CreateEllipticRgnIndirect(const RECT* lprect) {
    if (lprect == nullptr) return Fail<HRGN>(ERROR_INVALID_PARAMETER);
    return CreateEllipticRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) try {
    ApiLock lock(ApiMutex());
    return BoxRegion(RoundedBox(x1, y1, x2, y2, w, h), x1, x2);
} catch (...) {
    return OutOfMemory<HRGN>();
}

HRGN WINAPI CreatePolyPolygonRgn(const POINT* pptl, const INT* pc, int cPoly, int iMode) try {
    ApiLock lock(ApiMutex());
    return PolygonsRegion(pptl, pc, cPoly, iMode);
} catch (...) {
    return OutOfMemory<HRGN>();
}

HRGN WINAPI CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode) {
    return CreatePolyPolygonRgn(pptl, &cPoint, 1, iMode);
}

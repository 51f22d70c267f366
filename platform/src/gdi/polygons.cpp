// Polygon and PolyPolygon: closed figures through the caller's points, the
// inside filled with the brush under the context's fill mode (ALTERNATE or
// WINDING: raster/polygon.h), then outlined with the pen from each first
// point round to it again (gdi/figure_strokes.h).
//
// Vertices lie on pixel centres, as line end points do: a pixel belongs to
// the inside when its centre does, one on a left or top edge counting and
// one on a right or bottom edge not, so the outline's right and bottom
// lines are what covers those pixels.
#include "gdi/polygons.h"

#include "gdi/figure_strokes.h"
#include "raster/polygon.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <vector>

namespace standin {
namespace {

// Fills the polygons, each `counts[i]` of `points` long.
void FillPolygons(FigureTools& tools, const POINT* points, const std::vector<std::size_t>& counts) {
    if (tools.brushInk == nullptr) return;
    std::size_t total = 0;
    for (std::size_t n : counts) total += n;
    std::vector<FixedPoint> fixed(total);
    for (std::size_t i = 0; i < total; ++i) fixed[i] = PixelPoint(points[i].x, points[i].y);
    const FillRule rule = tools.context->polyFillMode == WINDING ? FillRule::Winding : FillRule::Alternate;
    SpanPainter brush = BrushPainter(tools);
    PaintSink sink(brush);
    ScanPolygons(fixed.data(), counts.data(), counts.size(), rule, tools.window(), sink);
}

BOOL DrawPolygons(HDC hdc, const POINT* points, const std::vector<std::size_t>& counts) {
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    std::size_t total = 0;
    for (std::size_t n : counts) total += n;
    DrawPolygonFigures(tools, tools.ToDevice(points, total).data(), counts);
    return TRUE;
}

}  // namespace

void DrawPolygonFigures(FigureTools& tools, const POINT* points, const std::vector<std::size_t>& counts) {
    FillPolygons(tools, points, counts);
    FigureDashes dashes(*tools.context);
    const POINT* first = points;
    for (std::size_t n : counts) {
        StrokeFigure(tools, first, n, true);
        first += n;
    }
}

}  // namespace standin

using namespace standin;

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) try {
    ApiLock lock(ApiMutex());
    if (apt == nullptr || cpt < 2 || cpt > kMaxFigurePoints) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    return DrawPolygons(hdc, apt, {static_cast<std::size_t>(cpt)});
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI PolyPolygon(HDC hdc, const POINT* apt, const INT* asz, int csz) try {
    ApiLock lock(ApiMutex());
    if (apt == nullptr || asz == nullptr || csz < 1 || csz > kMaxFigurePoints) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    std::vector<std::size_t> counts;
    std::int64_t total = 0;
    for (int i = 0; i < csz; ++i) {
        // Every polygon has at least two points; all of them together are
        // held to the same limit as one.
        if (asz[i] < 2 || (total += asz[i]) > kMaxFigurePoints) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
        counts.push_back(static_cast<std::size_t>(asz[i]));
    }
    return DrawPolygons(hdc, apt, counts);
} catch (...) {
    return OutOfMemory<BOOL>();
}

// Arcs and the figures cut from an ellipse: Arc, ArcTo and AngleArc draw
// part of an ellipse's edge with the pen; Pie closes it with two lines to
// the centre and Chord with the line between its ends, and both fill the
// inside with the brush.
//
// The ellipse is the one Ellipse draws in the same box (edges through pixel
// centres); an arc starts where the line from the centre towards the first
// radial point meets it and ends where the line towards the second does,
// counterclockwise on the screen or, after SetArcDirection(AD_CLOCKWISE),
// clockwise (AngleArc always runs counterclockwise for a positive sweep).
// Arcs are flattened into lines about a pixel and a half long, drawn as one
// figure with the pen's joins and ends (gdi/figure_strokes.h); Pie and Chord
// are then polygons (gdi/polygons.h). All through the context's mapping.
#include "gdi/figure.h"
#include "gdi/figure_paths.h"
#include "gdi/figure_strokes.h"
#include "gdi/polygons.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace standin;

namespace {

EllipseArc ArcOf(const FigureTools& tools, int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    EllipseArc arc = EllipseArc::In(Normalised(left, top, right, bottom));
    arc.SweepBetween(x1, y1, x2, y2, tools.context->arcDirection == AD_CLOCKWISE);
    return arc;
}

// Strokes the open path of logical points.
void StrokeOpen(FigureTools& tools, const std::vector<POINT>& path) {
    const std::vector<POINT> device = tools.ToDevice(path.data(), path.size());
    StrokeFigure(tools, device.data(), device.size(), false);
}

enum class Closing { Pie, Chord };

BOOL DrawCut(HDC hdc, int left, int top, int right, int bottom, int x1, int y1, int x2, int y2, Closing closing) try {
    ApiLock lock(ApiMutex());
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    const EllipseArc arc = ArcOf(tools, left, top, right, bottom, x1, y1, x2, y2);
    std::vector<POINT> path = arc.Path();
    if (closing == Closing::Pie) path.push_back(POINT{static_cast<LONG>(std::lround(arc.cx)), static_cast<LONG>(std::lround(arc.cy))});
    path = tools.ToDevice(path.data(), path.size());
    FigureDashes dashes(*tools.context);
    DrawPolygonFigures(tools, path.data(), {path.size()});
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

}  // namespace

BOOL WINAPI Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) try {
    ApiLock lock(ApiMutex());
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    FigureDashes dashes(*tools.context);
    StrokeOpen(tools, ArcOf(tools, x1, y1, x2, y2, x3, y3, x4, y4).Path());
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI ArcTo(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2, int yr2) try {
    ApiLock lock(ApiMutex());
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    // A line from the current position to the arc's start, then the arc;
    // the current position ends at the arc's end.
    std::vector<POINT> path{tools.context->position};
    const std::vector<POINT> arc = ArcOf(tools, left, top, right, bottom, xr1, yr1, xr2, yr2).Path();
    path.insert(path.end(), arc.begin(), arc.end());
    tools.context->position = path.back();
    StrokeOpen(tools, path);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI AngleArc(HDC hdc, int x, int y, DWORD r, FLOAT StartAngle, FLOAT SweepAngle) try {
    ApiLock lock(ApiMutex());
    // The radius must be positive, and fit a LONG like every coordinate.
    if (r > 0x7FFFFFFFu || !std::isfinite(StartAngle) || !std::isfinite(SweepAngle))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    const double radius = r, degree = 3.14159265358979323846 / 180;
    EllipseArc arc{static_cast<double>(x), static_cast<double>(y), radius, radius, 0, 0};
    arc.start = std::fmod(static_cast<double>(StartAngle), 360.0) * degree;
    arc.sweep = std::clamp(static_cast<double>(SweepAngle), -360.0, 360.0) * degree;
    std::vector<POINT> path{tools.context->position};
    const std::vector<POINT> points = arc.Path();
    path.insert(path.end(), points.begin(), points.end());
    tools.context->position = path.back();
    StrokeOpen(tools, path);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI Pie(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2, int yr2) {
    return DrawCut(hdc, left, top, right, bottom, xr1, yr1, xr2, yr2, Closing::Pie);
}

BOOL WINAPI Chord(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return DrawCut(hdc, x1, y1, x2, y2, x3, y3, x4, y4, Closing::Chord);
}

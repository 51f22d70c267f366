// Rectangle, Ellipse and RoundRect: figures inside a box, the brush inside
// and the pen's outline round it (raster/rounded_box.h says which pixels).
//
// The box's right and bottom edges are left out: with a pen, the figure
// covers the pixels from left to right - 1 and top to bottom - 1, the
// outline on its border; with PS_NULL it is a pixel smaller on the right and
// the bottom and all brush. A wide pen's outline is centred on the border,
// half outside; PS_INSIDEFRAME shrinks the figure first so that the outline
// stays inside the box. A styled pen draws its dashes along the figure's
// edge, pixel centre to pixel centre, as its lines do.
#include "gdi/box_shapes.h"

#include "gdi/figure_paths.h"
#include "gdi/figure_strokes.h"
#include "gdi/polygons.h"
#include "gdi/pen_lines.h"
#include "raster/rounded_box.h"
#include "support/api_boundary.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

class Discard final : public RunSink {
public:
    void Row(std::int32_t, const Run*, std::size_t) override {}
};

}  // namespace

void DrawBoxFigure(FigureTools& tools, const RECT& box, std::int64_t cornerWidth, std::int64_t cornerHeight) {
    const ScanWindow window = tools.window();
    if (tools.pen == nullptr) {
        if (tools.brushInk == nullptr) return;
        SpanPainter brush = BrushPainter(tools);
        PaintSink sink(brush);
        return ScanRoundedBox(RoundedBox(box.left, box.top, std::int64_t{box.right} - 1, std::int64_t{box.bottom} - 1,
                                         cornerWidth, cornerHeight),
                              window, sink);
    }
    RoundedBox figure(box.left, box.top, box.right, box.bottom, cornerWidth, cornerHeight);
    const std::int64_t width = tools.dashed ? 1 : tools.penWidth;
    if (tools.insideFrame && width > 1) figure = figure.Grown(1 - width);
    // A rectangle's wide outline meets at its corners in the pen's join; the
    // mitered one is the grown box's square corner.
    const bool joined = cornerWidth == 0 && cornerHeight == 0 && !tools.dashed && width > 1 && !tools.insideFrame &&
                        JoinOf(*tools.pen) != PS_JOIN_MITER;
    SpanPainter pen = PenPainter(tools);
    PaintSink outline(pen);
    Discard none;
    RunSink& ring = tools.dashed || joined ? static_cast<RunSink&>(none) : outline;
    if (tools.brushInk != nullptr) {
        SpanPainter brush = BrushPainter(tools);
        PaintSink inside(brush);
        ScanOutline(figure, width, window, ring, &inside);
    } else if (!tools.dashed && !joined) {
        ScanOutline(figure, width, window, outline, nullptr);
    }
    if (joined) {
        // The border's pixel centres, round the box: the inside above ends
        // where the pen's band does.
        const POINT corners[] = {{box.left, box.top}, {box.right - 1, box.top}, {box.right - 1, box.bottom - 1},
                                 {box.left, box.bottom - 1}};
        return StrokeFigure(tools, corners, 4, true);
    }
    if (!tools.dashed) return;
    // Dashes run from the top-left corner round the figure, clockwise.
    FigureDashes dashes(*tools.context);
    const std::vector<POINT> path = BoxPath(box, cornerWidth, cornerHeight);
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        DrawPenLine(*tools.context, *tools.bitmap, *tools.pen, tools.penWidth, path[i], path[i + 1]);
}

}  // namespace standin

using namespace standin;

namespace {

BOOL DrawBox(HDC hdc, int left, int top, int right, int bottom, std::int64_t cornerWidth, std::int64_t cornerHeight) try {
    ApiLock lock(ApiMutex());
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    const RECT box = Normalised(left, top, right, bottom);
    const LogicalMapping& mapping = *tools.mapping;
    if (mapping.identity()) {
        DrawBoxFigure(tools, box, cornerWidth, cornerHeight);
    } else if (mapping.axisAligned()) {
        // Corners scale with their axes.
        const auto scaled = [](std::int64_t size, double scale) {
            return static_cast<std::int64_t>(std::llround(std::min(std::fabs(size * scale), 4.0 * kMaxCurveCoordinate)));
        };
        DrawBoxFigure(tools, mapping.RectToDevice(box), scaled(cornerWidth, mapping.edges().m11),
                      scaled(cornerHeight, mapping.edges().m22));
    } else {
        // Turned: the figure's edge through the mapping, as a polygon.
        std::vector<POINT> path = BoxPath(box, cornerWidth, cornerHeight);
        if (!path.empty()) path.pop_back();
        path = tools.ToDevice(path.data(), path.size());
        if (!path.empty()) DrawPolygonFigures(tools, path.data(), {path.size()});
    }
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

}  // namespace

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    return DrawBox(hdc, left, top, right, bottom, 0, 0);
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    return DrawBox(hdc, left, top, right, bottom, kMaxCurveCoordinate * 2, kMaxCurveCoordinate * 2);
}

BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
    return DrawBox(hdc, left, top, right, bottom, width, height);
}

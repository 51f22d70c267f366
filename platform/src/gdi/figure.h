// What every outlined and filled figure (Rectangle, Ellipse, Polygon, Pie,
// ...) draws with, found once per call: the context and its bitmap, the
// selected pen for the outline and the selected brush for the inside, and
// the sink that paints a scan converter's runs through the context's
// binary raster operation.
#ifndef STANDIN_GDI_FIGURE_H
#define STANDIN_GDI_FIGURE_H

#include "gdi/coordinates.h"
#include "gdi/gdi_objects.h"
#include "gdi/pen_style.h"
#include "gdi/span_painter.h"
#include "raster/runs.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

struct FigureTools {
    DeviceContext* context = nullptr;
    Bitmap* bitmap = nullptr;
    // How the call's logical coordinates land on the bitmap.
    std::unique_ptr<LogicalMapping> mapping;
    // The pen, or null when the figure has no outline (PS_NULL, or a
    // geometric pen with a hollow brush).
    const Pen* pen = nullptr;
    SharedPattern penInk;
    std::int64_t penWidth = 1;  // device pixels (the pen's width through the mapping), at least one
    bool insideFrame = false;   // PS_INSIDEFRAME: the outline stays inside the figure's box
    bool dashed = false;        // a styled pen: the outline follows its dash pattern
    DashPattern dashes;
    // The brush's tile, null for a hollow brush (no inside drawn).
    SharedPattern brushInk;

    ScanWindow window() const { return ScanWindow{0, 0, bitmap->width(), bitmap->height()}; }
    // The caller's logical points on the device.
    std::vector<POINT> ToDevice(const POINT* points, std::size_t count) const;
};

// Finds the tools of `dc`; false with ERROR_INVALID_HANDLE when it is not a
// context with pixels. Caller holds the API lock. May throw std::bad_alloc.
bool FindFigureTools(HDC dc, FigureTools* tools);

// Paints every run handed to it.
class PaintSink final : public RunSink {
public:
    explicit PaintSink(SpanPainter& painter) : painter_(painter) {}
    void Row(std::int32_t y, const Run* runs, std::size_t count) override;

private:
    SpanPainter& painter_;
};

// A painter for the pen's ink or the brush's through the context.
inline SpanPainter PenPainter(const FigureTools& tools) {
    return SpanPainter(*tools.context, *tools.bitmap, tools.penInk);
}
inline SpanPainter BrushPainter(const FigureTools& tools) {
    return SpanPainter(*tools.context, *tools.bitmap, tools.brushInk);
}

// A figure's own dash pattern: styled pens start afresh on each figure, and
// the lines of the current position (LineTo) carry on with theirs after it.
class FigureDashes {
public:
    explicit FigureDashes(DeviceContext& context) : context_(context), saved_(context.styleStep) { context.styleStep = 0; }
    ~FigureDashes() { context_.styleStep = saved_; }
    FigureDashes(const FigureDashes&) = delete;
    FigureDashes& operator=(const FigureDashes&) = delete;

private:
    DeviceContext& context_;
    std::int64_t saved_;
};

// A rectangle's edges in order: left <= right, top <= bottom.
RECT Normalised(int left, int top, int right, int bottom);

}  // namespace standin

#endif

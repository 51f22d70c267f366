#include "gdi/pen_lines.h"

#include "gdi/brush_pattern.h"
#include "gdi/color_ref.h"
#include "gdi/cosmetic_line.h"
#include "gdi/pen_style.h"
#include "gdi/span_painter.h"
#include "gdi/wide_line.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

void PlotLine(SpanPainter& painter, POINT from, POINT to) {
    LineWalk walk = PlanLine(from.x, from.y, to.x, to.y, painter.width(), painter.height());
    WalkLine(walk, painter.width(), painter.height(),
             [&](std::int32_t x, std::int32_t y, std::int64_t) { painter.Pixel(x, y); });
}

void PlotDashedLine(DeviceContext& context, Bitmap& bitmap, SharedPattern ink, const DashPattern& pattern,
                    POINT from, POINT to) {
    SpanPainter inkPainter(context, bitmap, std::move(ink));
    SpanPainter gap(context, bitmap, SolidPattern(InkValue(bitmap, ResolveInk(&context, bitmap, context.backColor))));
    const bool fillGaps = context.backMode == OPAQUE;
    const std::int64_t start = context.styleStep;
    LineWalk walk = PlanLine(from.x, from.y, to.x, to.y, bitmap.width(), bitmap.height());
    WalkLine(walk, bitmap.width(), bitmap.height(), [&](std::int32_t x, std::int32_t y, std::int64_t i) {
        if (pattern.On(start + i))
            inkPainter.Pixel(x, y);
        else if (fillGaps)
            gap.Pixel(x, y);
    });
    const std::int64_t period = pattern.period();
    context.styleStep = (start + LineSteps(from.x, from.y, to.x, to.y) % period) % period;
}

// The part [t0, t1] of the line's length (0 at `from`) that can reach the
// bitmap, grown by the pen's width on every side; false when none can.
bool ReachableLength(const Bitmap& bitmap, std::int64_t width, POINT from, POINT to, double length,
                     double* t0, double* t1) {
    const double margin = static_cast<double>(width) + 2;
    const double lo[2] = {-margin, -margin};
    const double hi[2] = {bitmap.width() + margin, bitmap.height() + margin};
    const double start[2] = {static_cast<double>(from.x), static_cast<double>(from.y)};
    const double delta[2] = {static_cast<double>(to.x) - from.x, static_cast<double>(to.y) - from.y};
    double a = 0, b = 1;
    for (int axis = 0; axis < 2; ++axis) {
        if (delta[axis] == 0) {
            if (start[axis] < lo[axis] || start[axis] > hi[axis]) return false;
            continue;
        }
        double e0 = (lo[axis] - start[axis]) / delta[axis], e1 = (hi[axis] - start[axis]) / delta[axis];
        if (e0 > e1) std::swap(e0, e1);
        a = std::max(a, e0);
        b = std::min(b, e1);
    }
    if (a > b) return false;
    *t0 = a * length;
    *t1 = b * length;
    return true;
}

// A wide dashed line: each dash a line of its own with the pen's ends.
void DrawWideDashes(DeviceContext& context, SpanPainter& painter, const Pen& pen, std::int64_t width,
                    const DashPattern& pattern, POINT from, POINT to) {
    const double dx = static_cast<double>(to.x) - from.x, dy = static_cast<double>(to.y) - from.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    const std::int64_t start = context.styleStep, period = pattern.period();
    context.styleStep = (start + static_cast<std::int64_t>(std::llround(length)) % period) % period;
    double t = 0, end = 0;
    if (length == 0 || !ReachableLength(painter.bitmap(), width, from, to, length, &t, &end)) return;
    // Dash boundaries fall on whole units from the start point.
    t = std::floor(t);
    auto at = [&](double s, bool x) {
        return static_cast<std::int64_t>(std::llround(x ? from.x + dx * s / length : from.y + dy * s / length));
    };
    while (t < end) {
        const auto position = static_cast<std::int64_t>(t) + start;
        const double next = std::min(t + static_cast<double>(pattern.RunLeft(position)), length);
        if (pattern.On(position))
            DrawWideLine(painter, width, at(t, true), at(t, false), at(next, true), at(next, false), CapOf(pen));
        t = next;
    }
}

}  // namespace

SharedPattern PenPattern(const DeviceContext& context, const Bitmap& bitmap, const Pen& pen) {
    if (pen.brush != nullptr) return RealizeBrush(*pen.brush, context, bitmap);
    return SolidPattern(InkValue(bitmap, ResolveInk(&context, bitmap, pen.dcColor ? context.dcPenColor : pen.color)));
}

LineCap CapOf(const Pen& pen) {
    if (!pen.geometric()) return LineCap::Round;
    switch (pen.extendedStyle & PS_ENDCAP_MASK) {
        case PS_ENDCAP_SQUARE: return LineCap::Square;
        case PS_ENDCAP_FLAT: return LineCap::Flat;
        default: return LineCap::Round;
    }
}

bool PatternOf(const Pen& pen, std::int64_t width, DashPattern* pattern) {
    if (pen.style == PS_USERSTYLE) return DashPattern::User(pen.userStyle, pattern);
    return DashPattern::For(pen.style, pen.geometric() && width > 1 ? width : 1, pattern);
}

void DrawPenLine(DeviceContext& context, Bitmap& bitmap, const Pen& pen, std::int64_t width, POINT from, POINT to) {
    SharedPattern ink = PenPattern(context, bitmap, pen);
    if (ink == nullptr) return;  // a hollow brush draws nothing
    DashPattern pattern;
    const bool dashed = PatternOf(pen, width, &pattern);
    if (width <= 1) {
        if (dashed) return PlotDashedLine(context, bitmap, std::move(ink), pattern, from, to);
        SpanPainter painter(context, bitmap, std::move(ink));
        return PlotLine(painter, from, to);
    }
    SpanPainter painter(context, bitmap, std::move(ink));
    if (dashed) return DrawWideDashes(context, painter, pen, width, pattern, from, to);
    DrawWideLine(painter, width, from.x, from.y, to.x, to.y, CapOf(pen));
}

}  // namespace standin

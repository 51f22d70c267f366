#include "gdi/figure.h"

#include "gdi/blit_operands.h"
#include "gdi/brush_pattern.h"
#include "gdi/pen_lines.h"
#include "support/last_error.h"

#include <algorithm>

namespace standin {

bool FindFigureTools(HDC dc, FigureTools* tools) {
    Operands canvas;
    if (!FindOperands(dc, &canvas)) return Fail<bool>(ERROR_INVALID_HANDLE);
    tools->context = canvas.context, tools->bitmap = canvas.bitmap;
    const DeviceContext& context = *tools->context;
    tools->mapping = std::make_unique<LogicalMapping>(MappingOnto(context, *tools->bitmap));
    if (const Brush* brush = Lookup<Brush>(context.brush)) tools->brushInk = RealizeBrush(*brush, context, *tools->bitmap);
    const Pen* pen = Lookup<Pen>(context.pen);
    if (pen != nullptr && pen->style != PS_NULL) {
        tools->penInk = PenPattern(context, *tools->bitmap, *pen);
        if (tools->penInk != nullptr) tools->pen = pen;
    }
    if (tools->pen != nullptr) {
        tools->penWidth = std::clamp<std::int64_t>(pen->width == 0 ? 1 : tools->mapping->WidthToDevice(pen->width), 1,
                                                   kMaxPenWidth);
        tools->insideFrame = pen->style == PS_INSIDEFRAME;
        tools->dashed = PatternOf(*pen, tools->penWidth, &tools->dashes);
    }
    return true;
}

std::vector<POINT> FigureTools::ToDevice(const POINT* points, std::size_t count) const {
    std::vector<POINT> device(points, points + count);
    if (!mapping->identity())
        for (POINT& p : device) p = mapping->ToDevice(p);
    return device;
}

void PaintSink::Row(std::int32_t y, const Run* runs, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) painter_.Run(y, runs[i].left, runs[i].right);
}

RECT Normalised(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

}  // namespace standin

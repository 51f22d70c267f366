#include "gdi/blit_operands.h"

#include "pixels/pixel_values.h"
#include "support/last_error.h"
#include "stretch/geometry.h"

#include <algorithm>
#include <cstdint>

namespace standin {
namespace {

RGBQUAD Quad(COLORREF colour) { return RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0}; }

}  // namespace

bool FindOperands(HDC dc, Operands* out) {
    out->context = Lookup<DeviceContext>(dc);
    out->bitmap = out->context != nullptr ? SelectedBitmap(dc) : nullptr;
    return out->bitmap != nullptr;
}

bool WithinStretchLimits(std::initializer_list<std::int64_t> values) {
    return std::all_of(values.begin(), values.end(), [](std::int64_t v) {
        std::int64_t magnitude = v < 0 ? -v : v;
        return magnitude <= kMaxStretchCoordinate;
    });
}

bool KeepsOrientation(const DeviceContext& to, DWORD rop) {
    return (to.space.layout & LAYOUT_BITMAPORIENTATIONPRESERVED) != 0 || (rop & NOMIRRORBITMAP) != 0;
}

bool PlaceOnDevices(const Operands& to, const Operands* from, bool keepOrientation, BlitArea* dest,
                    BlitArea* source) {
    const LogicalMapping onto = MappingOnto(*to.context, *to.bitmap);
    if (!onto.axisAligned()) return Fail<bool>(ERROR_NOT_SUPPORTED);
    if (!onto.AreaToDevice(*dest, keepOrientation, dest)) return Fail<bool>(ERROR_INVALID_PARAMETER);
    return from == nullptr || PlaceSource(*from, source);
}

bool PlaceSource(const Operands& from, BlitArea* source) {
    const LogicalMapping out = MappingOnto(*from.context, *from.bitmap);
    if (!out.axisAligned()) return Fail<bool>(ERROR_NOT_SUPPORTED);
    const bool keeps = (from.context->space.layout & LAYOUT_BITMAPORIENTATIONPRESERVED) != 0;
    if (!out.AreaToDevice(*source, keeps, source)) return Fail<bool>(ERROR_INVALID_PARAMETER);
    return true;
}

Corners TurnedCorners(const LogicalMapping& onto, const BlitArea& dest, const BlitArea* source) {
    const bool backX = source != nullptr && (dest.w < 0) != (source->w < 0);
    const bool backY = source != nullptr && (dest.h < 0) != (source->h < 0);
    const BlitArea d = Normalized(dest);
    const double x0 = double(backX ? d.x + d.w : d.x), x1 = double(backX ? d.x : d.x + d.w);
    const double y0 = double(backY ? d.y + d.h : d.y), y1 = double(backY ? d.y : d.y + d.h);
    const Affine& e = onto.edges();
    return Corners{e.X(x0, y0), e.Y(x0, y0), e.X(x1, y0), e.Y(x1, y0), e.X(x0, y1), e.Y(x0, y1)};
}

bool TurnedShape(const Corners& corners, const BlitArea& source, Parallelogram* out) {
    std::int64_t p[6];
    const double v[6] = {corners.ax, corners.ay, corners.bx, corners.by, corners.cx, corners.cy};
    for (int i = 0; i < 6; ++i)
        if (!RoundCoordinate(v[i], kMaxStretchCoordinate, &p[i])) return Fail<bool>(ERROR_INVALID_PARAMETER);
    const BlitArea s = Normalized(source);
    *out = Parallelogram{p[0], p[1], p[2], p[3], p[4], p[5], static_cast<std::int32_t>(s.x),
                         static_cast<std::int32_t>(s.y), static_cast<std::int32_t>(s.w), static_cast<std::int32_t>(s.h)};
    return true;
}

BlitArea Normalized(const BlitArea& a) {
    BlitArea n = a;
    if (n.w < 0) n.x += n.w + 1, n.w = -n.w;
    if (n.h < 0) n.y += n.h + 1, n.h = -n.h;
    return n;
}

DibDescription SourceAsSeen(const Bitmap& source, const Bitmap& target, const DeviceContext& to) {
    DibDescription dib = source.dib;
    if (IsMonochrome(source.dib) && !IsMonochrome(target.dib)) {
        dib.colors[0] = Quad(to.textColor);
        dib.colors[1] = Quad(to.backColor);
    }
    return dib;
}

void ConvertToMonochrome(const Bitmap& target, const Operands& from, PixelOp* op) {
    if (!IsMonochrome(target.dib) || IsMonochrome(from.bitmap->dib)) return;
    op->toMonochrome = true;
    op->background = StoredColour(from.bitmap->dib, from.context->backColor);
}

}  // namespace standin

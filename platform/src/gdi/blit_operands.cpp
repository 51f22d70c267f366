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

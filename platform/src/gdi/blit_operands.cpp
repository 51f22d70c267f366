#include "gdi/blit_operands.h"

#include "pixels/pixel_values.h"
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

bool WithinStretchLimits(std::initializer_list<int> values) {
    return std::all_of(values.begin(), values.end(), [](int v) {
        std::int64_t magnitude = v < 0 ? -std::int64_t{v} : v;
        return magnitude <= kMaxStretchCoordinate;
    });
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

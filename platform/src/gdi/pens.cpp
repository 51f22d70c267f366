// CreatePenIndirect and ExtCreatePen.
//
// ExtCreatePen takes a type (PS_COSMETIC or PS_GEOMETRIC), a style, and for
// geometric pens an end cap and a join. A cosmetic pen is one pixel wide
// and solid-coloured (the LOGBRUSH must be BS_SOLID, its width 1); it may
// be PS_ALTERNATE. A geometric pen is as wide as asked and draws with any
// brush a LOGBRUSH describes (a hollow one draws nothing); PS_ALTERNATE is
// for cosmetic pens only. PS_USERSTYLE takes 1 to 16 runs that do not all
// add up to nothing; any other style takes none. Anything else is refused
// with ERROR_INVALID_PARAMETER.
#include "support/api_boundary.h"
#include "gdi/brush_pattern.h"
#include "gdi/gdi_objects.h"
#include "gdi/pen_style.h"
#include "support/last_error.h"

#include <algorithm>
#include <climits>

namespace standin {
namespace {

constexpr DWORD kKnownStyleBits = PS_TYPE_MASK | PS_ENDCAP_MASK | PS_JOIN_MASK | PS_STYLE_MASK;

bool ValidStyleBits(DWORD penStyle) {
    if ((penStyle & ~kKnownStyleBits) != 0) return false;
    const DWORD type = penStyle & PS_TYPE_MASK, cap = penStyle & PS_ENDCAP_MASK, join = penStyle & PS_JOIN_MASK;
    if (type != PS_COSMETIC && type != PS_GEOMETRIC) return false;
    if (cap != PS_ENDCAP_ROUND && cap != PS_ENDCAP_SQUARE && cap != PS_ENDCAP_FLAT) return false;
    if (join != PS_JOIN_ROUND && join != PS_JOIN_BEVEL && join != PS_JOIN_MITER) return false;
    return (penStyle & PS_STYLE_MASK) <= PS_ALTERNATE;
}

HPEN MakeExtendedPen(DWORD penStyle, DWORD width, const LOGBRUSH* log, DWORD count, const DWORD* runs) {
    if (log == nullptr || !ValidStyleBits(penStyle)) return Fail<HPEN>(ERROR_INVALID_PARAMETER);
    const int style = static_cast<int>(penStyle & PS_STYLE_MASK);
    const bool geometric = (penStyle & PS_TYPE_MASK) == PS_GEOMETRIC;
    std::vector<std::uint32_t> userStyle;
    if (style == PS_USERSTYLE) {
        if (runs == nullptr || count == 0 || count > kMaxUserStyleRuns) return Fail<HPEN>(ERROR_INVALID_PARAMETER);
        userStyle.assign(runs, runs + count);
        DashPattern check;
        if (!DashPattern::User(userStyle, &check)) return Fail<HPEN>(ERROR_INVALID_PARAMETER);
    } else if (count != 0) {
        return Fail<HPEN>(ERROR_INVALID_PARAMETER);
    }
    std::unique_ptr<Brush> brush;
    if (geometric) {
        if (style == PS_ALTERNATE) return Fail<HPEN>(ERROR_INVALID_PARAMETER);
        brush = MakeBrush(*log);
        if (brush == nullptr) return nullptr;  // MakeBrush set the error
    } else if (width != 1 || log->lbStyle != BS_SOLID) {
        return Fail<HPEN>(ERROR_INVALID_PARAMETER);
    }
    const int drawnWidth = static_cast<int>(std::min<DWORD>(width, INT_MAX));
    auto pen = std::make_unique<Pen>(style, drawnWidth, brush != nullptr ? brush->color : log->lbColor & 0xFFFFFF);
    pen->extended = true;
    pen->extendedStyle = penStyle;
    pen->brush = std::move(brush);
    pen->userStyle = std::move(userStyle);
    HPEN handle = InsertObject<HPEN>(std::move(pen));
    return handle != nullptr ? handle : Fail<HPEN>(ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace
}  // namespace standin

using namespace standin;

HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen) {
    if (plpen == nullptr) return Fail<HPEN>(ERROR_INVALID_PARAMETER);
    return CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor);
}

HPEN WINAPI ExtCreatePen(DWORD iPenStyle, DWORD cWidth, const LOGBRUSH* plbrush, DWORD cStyle,
                         const DWORD* pstyle) try {
    ApiLock lock(ApiMutex());
    return MakeExtendedPen(iPenStyle, cWidth, plbrush, cStyle, pstyle);
} catch (...) {
    return OutOfMemory<HPEN>();
}

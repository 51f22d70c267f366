// FrameRect and InvertRect: a rectangle's border painted with a brush, and a
// rectangle's pixels inverted, through the context's mapping. Both copy or
// invert as PatBlt does (PATCOPY, DSTINVERT), whatever the binary raster
// operation, and leave out the rectangle's right and bottom edges.
#include "gdi/blit_operands.h"
#include "gdi/rect_paint.h"
#include "gdi/system_colors.h"
#include "stretch/raster_op.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

using namespace standin;

int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) try {
    ApiLock lock(ApiMutex());
    Operands canvas;
    const bool found = FindOperands(hDC, &canvas);
    Brush* brush = FillBrush(hbr);
    if (!found || brush == nullptr || lprc == nullptr) return Fail<int>(ERROR_INVALID_PARAMETER);
    const RECT r = *lprc;
    // An empty or inverted rectangle has no border.
    if (r.right <= r.left || r.bottom <= r.top) return TRUE;
    // One logical unit wide: the top and bottom rows, then the sides between.
    const RECT sides[] = {{r.left, r.top, r.right, r.top + 1},
                          {r.left, r.bottom - 1, r.right, r.bottom},
                          {r.left, r.top + 1, r.left + 1, r.bottom - 1},
                          {r.right - 1, r.top + 1, r.right, r.bottom - 1}};
    for (const RECT& side : sides) PaintLogicalRect(*canvas.context, *canvas.bitmap, side, brush, RasterOpCode(PATCOPY));
    return TRUE;
} catch (...) {
    return OutOfMemory<int>();
}

BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc) try {
    ApiLock lock(ApiMutex());
    Operands canvas;
    const bool found = FindOperands(hDC, &canvas);
    if (!found || lprc == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    PaintLogicalRect(*canvas.context, *canvas.bitmap, *lprc, nullptr, RasterOpCode(DSTINVERT));
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

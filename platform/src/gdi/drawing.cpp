// Drawing into the bitmap selected into a memory context: rectangle fills,
// lines and single pixels. One-pixel lines light their start point and stop
// short of their end point, solid or dashed; wider pens draw round-ended
// bands. Everything is clipped to the bitmap.
#include "support/api_boundary.h"
#include "gdi/brush_pattern.h"
#include "gdi/color_ref.h"
#include "gdi/gdi_objects.h"
#include "gdi/pen_lines.h"
#include "gdi/span_painter.h"
#include "gdi/system_colors.h"
#include "support/last_error.h"
#include "pixels/row_codec.h"
#include "stretch/job.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace standin {
namespace {

struct Canvas {
    DeviceContext* context;
    Bitmap* bitmap;
};

bool FindCanvas(HDC dc, Canvas* canvas) {
    canvas->context = Lookup<DeviceContext>(dc);
    canvas->bitmap = canvas->context ? SelectedBitmap(dc) : nullptr;
    return canvas->bitmap != nullptr;
}

RowCodec CodecFor(const Bitmap& bitmap) {
    return RowCodec(bitmap.format(), bitmap.dib.colors.data(), bitmap.dib.colorCount);
}

// The context and bitmap of `dc` when (x, y) lies inside the bitmap.
bool PixelTarget(HDC dc, int x, int y, Canvas* canvas) {
    if (!FindCanvas(dc, canvas)) return false;
    const Bitmap& b = *canvas->bitmap;
    return x >= 0 && y >= 0 && x < b.width() && y < b.height();
}

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) try {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    Brush* brush = Lookup<Brush>(hbr);
    // The brush may also be a system colour index plus one.
    if (brush == nullptr) brush = SystemColorBrushFromValue(hbr);
    if (!FindCanvas(hDC, &canvas) || brush == nullptr || lprc == nullptr)
        return Fail<int>(ERROR_INVALID_PARAMETER);
    Bitmap& bitmap = *canvas.bitmap;
    // Right and bottom edges are excluded; an empty or inverted rectangle
    // fills nothing.
    std::int32_t left = std::max<std::int32_t>(lprc->left, 0);
    std::int32_t top = std::max<std::int32_t>(lprc->top, 0);
    std::int32_t right = std::min<std::int32_t>(lprc->right, bitmap.width());
    std::int32_t bottom = std::min<std::int32_t>(lprc->bottom, bitmap.height());
    if (left >= right || top >= bottom) return TRUE;
    // The brush's pattern copied in, as PatBlt's PATCOPY does.
    PixelOp op;
    op.code = RasterOpCode(PATCOPY);
    op.pattern = RealizeBrush(*brush, *canvas.context, bitmap);
    if (op.pattern == nullptr) return TRUE;  // a hollow brush paints nothing
    PaintTarget(Surface(bitmap.pixels.get(), bitmap.dib), DrawnRange{left, right - left},
                DrawnRange{top, bottom - top}, op);
    return TRUE;
} catch (...) {
    return OutOfMemory<int>();
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lppt != nullptr) *lppt = context->position;
    context->position = POINT{x, y};
    context->styleStep = 0;  // a new figure starts its dash pattern afresh
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) try {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    if (!FindCanvas(hdc, &canvas)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    POINT from = canvas.context->position;
    canvas.context->position = POINT{x, y};
    Pen* pen = Lookup<Pen>(canvas.context->pen);
    if (pen == nullptr || pen->style == PS_NULL) return TRUE;
    DrawPenLine(*canvas.context, *canvas.bitmap, *pen, from, POINT{x, y});
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) try {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    if (!PixelTarget(hdc, x, y, &canvas)) return CLR_INVALID;
    const Bitmap* bitmap = canvas.bitmap;
    std::uint8_t px[4];
    CodecFor(*bitmap).Unpack(bitmap->Row(y), x, 1, px);
    return RGB(px[2], px[1], px[0]);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) try {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    if (!PixelTarget(hdc, x, y, &canvas)) return CLR_INVALID;
    Bitmap* bitmap = canvas.bitmap;
    SpanPainter(*bitmap, ResolveInk(canvas.context, *bitmap, color)).Pixel(x, y);
    std::uint8_t px[4];
    RowCodec codec = CodecFor(*bitmap);
    // The colour actually stored, which at low depths is the nearest one.
    codec.Unpack(bitmap->Row(y), x, 1, px);
    return RGB(px[2], px[1], px[0]);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

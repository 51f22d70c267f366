// Drawing into the bitmap selected into a memory context: rectangle fills,
// lines and single pixels. One-pixel lines light their start point and stop
// short of their end point, solid or dashed; wider pens draw round-ended
// bands. Everything is clipped to the bitmap.
//
// Coordinates are logical (gdi/coordinates.h): points and the current
// position map to device pixels, a rectangle's edges map and the device
// rectangle between them is filled with its right column and bottom row
// excluded (on the device, whichever way the mapping runs: in MM_TEXT
// without offsets an inverted rectangle fills nothing, as before), and a
// pen's width scales with the mapping. A fill whose
// rectangle a rotation or shear turns becomes the polygon of its corners.
#include "support/api_boundary.h"
#include "gdi/brush_pattern.h"
#include "gdi/clipping.h"
#include "gdi/color_ref.h"
#include "gdi/coordinates.h"
#include "gdi/gdi_objects.h"
#include "gdi/pen_lines.h"
#include "gdi/rect_paint.h"
#include "gdi/span_painter.h"
#include "gdi/turned_paint.h"
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

// The context and bitmap of `dc` when the logical point (x, y) lands inside
// the bitmap and its clip region, and the device pixel it lands on.
bool PixelTarget(HDC dc, int x, int y, Canvas* canvas, std::int32_t* px, std::int32_t* py) {
    if (!FindCanvas(dc, canvas)) return false;
    const Bitmap& b = *canvas->bitmap;
    std::int64_t dx = 0, dy = 0;
    MappingOnto(*canvas->context, b).ToDevice(x, y, &dx, &dy);
    if (dx < 0 || dy < 0 || dx >= b.width() || dy >= b.height()) return false;
    // A pixel outside the clip region is neither read nor written.
    const BandRegion* clip = canvas->context->clip.get();
    if (clip != nullptr && !clip->Contains(dx, dy)) return false;
    *px = static_cast<std::int32_t>(dx), *py = static_cast<std::int32_t>(dy);
    return true;
}

// A rectangle turned by a rotation or shear: the parallelogram of its
// corners, by PlgBlt's rule for which pixels it covers.
void PaintTurnedRect(Bitmap& bitmap, DeviceContext& context, const LogicalMapping& mapping, const RECT& r,
                     const PixelOp& op) {
    double x[4], y[4];
    mapping.CornersToDevice(r, x, y);
    PaintParallelogram(Surface(bitmap.pixels.get(), bitmap.dib), DrawClip(context), Corners{x[0], y[0], x[1], y[1], x[2], y[2]}, op);
}

}  // namespace

void PaintLogicalRect(DeviceContext& context, Bitmap& bitmap, const RECT& r, const Brush* brush, std::uint8_t code) {
    PixelOp op;
    op.code = code;
    if (brush != nullptr) {
        op.pattern = RealizeBrush(*brush, context, bitmap);
        if (op.pattern == nullptr) return;  // a hollow brush paints nothing
    }
    const LogicalMapping mapping = MappingOnto(context, bitmap);
    if (!mapping.axisAligned()) return PaintTurnedRect(bitmap, context, mapping, r, op);
    // Right and bottom edges are excluded; an empty or inverted rectangle
    // paints nothing.
    const RECT device = mapping.RectToDevice(r);
    std::int32_t left = std::max<std::int32_t>(device.left, 0);
    std::int32_t top = std::max<std::int32_t>(device.top, 0);
    std::int32_t right = std::min<std::int32_t>(device.right, bitmap.width());
    std::int32_t bottom = std::min<std::int32_t>(device.bottom, bitmap.height());
    if (left >= right || top >= bottom) return;
    const Surface target(bitmap.pixels.get(), bitmap.dib);
    DrawClip(context).Rectangles(DrawnRange{left, right - left}, DrawnRange{top, bottom - top},
                                 [&](DrawnRange columns, DrawnRange rows) { PaintTarget(target, columns, rows, op); });
}

}  // namespace standin

using namespace standin;

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) try {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    Brush* brush = FillBrush(hbr);
    if (!FindCanvas(hDC, &canvas) || brush == nullptr || lprc == nullptr)
        return Fail<int>(ERROR_INVALID_PARAMETER);
    // The brush's pattern copied in, as PatBlt's PATCOPY does.
    PaintLogicalRect(*canvas.context, *canvas.bitmap, *lprc, brush, RasterOpCode(PATCOPY));
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
    const POINT from = canvas.context->position;
    canvas.context->position = POINT{x, y};
    Pen* pen = Lookup<Pen>(canvas.context->pen);
    if (pen == nullptr || pen->style == PS_NULL) return TRUE;
    const LogicalMapping mapping = MappingOnto(*canvas.context, *canvas.bitmap);
    // A pen of width 0 is one pixel wide whatever the mapping; others scale.
    const std::int64_t width = pen->width == 0 ? 0 : mapping.WidthToDevice(pen->width);
    DrawPenLine(*canvas.context, *canvas.bitmap, *pen, width, mapping.ToDevice(from), mapping.ToDevice(POINT{x, y}));
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) try {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    std::int32_t dx = 0, dy = 0;
    if (!PixelTarget(hdc, x, y, &canvas, &dx, &dy)) return CLR_INVALID;
    const Bitmap* bitmap = canvas.bitmap;
    std::uint8_t px[4];
    CodecFor(*bitmap).Unpack(bitmap->Row(dy), dx, 1, px);
    return RGB(px[2], px[1], px[0]);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) try {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    std::int32_t dx = 0, dy = 0;
    if (!PixelTarget(hdc, x, y, &canvas, &dx, &dy)) return CLR_INVALID;
    Bitmap* bitmap = canvas.bitmap;
    SpanPainter(*canvas.context, *bitmap, ResolveInk(canvas.context, *bitmap, color)).Pixel(dx, dy);
    std::uint8_t px[4];
    RowCodec codec = CodecFor(*bitmap);
    // The colour actually stored, which at low depths is the nearest one.
    codec.Unpack(bitmap->Row(dy), dx, 1, px);
    return RGB(px[2], px[1], px[0]);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

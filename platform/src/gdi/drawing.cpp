// Drawing into the bitmap selected into a memory context: rectangle fills,
// lines in the platform's rule (start point drawn, end point not) and
// single pixels. Everything is clipped to the bitmap.
#include "gdi/cosmetic_line.h"
#include "gdi/gdi_objects.h"
#include "support/last_error.h"
#include "pixels/row_codec.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace standin {
namespace {

struct Canvas {
    DeviceContext* context;
    Bitmap* bitmap;
};

bool FindCanvas(HDC dc, Canvas* canvas) {
    canvas->context = Lookup<DeviceContext>(dc);
    canvas->bitmap = canvas->context ? Lookup<Bitmap>(canvas->context->bitmap) : nullptr;
    return canvas->bitmap != nullptr;
}

void ColorToWorkPixel(COLORREF color, std::uint8_t px[4]) {
    px[0] = GetBValue(color);
    px[1] = GetGValue(color);
    px[2] = GetRValue(color);
    px[3] = 0;
}

RowCodec CodecFor(const Bitmap& bitmap) {
    return RowCodec(bitmap.format(), bitmap.dib.colors.data(), bitmap.dib.colorCount);
}

void FillSpan(Bitmap& bitmap, RowCodec& codec, COLORREF color, std::int32_t left,
              std::int32_t right, std::int32_t top, std::int32_t bottom) {
    std::uint8_t px[4];
    ColorToWorkPixel(color, px);
    std::vector<std::uint8_t> work(static_cast<std::size_t>(right - left) * kWorkBytesPerPixel);
    for (std::size_t i = 0; i < work.size(); i += kWorkBytesPerPixel)
        std::copy(px, px + kWorkBytesPerPixel, work.begin() + static_cast<std::ptrdiff_t>(i));
    for (std::int32_t y = top; y < bottom; ++y) codec.Pack(work.data(), left, right - left, bitmap.Row(y));
}

// Plots the one-pixel line from (x0, y0) towards (x1, y1) in one colour.
void PlotLine(Bitmap& bitmap, RowCodec& codec, const std::uint8_t px[4], std::int64_t x0,
              std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    LineWalk walk = PlanLine(x0, y0, x1, y1, bitmap.width(), bitmap.height());
    WalkLine(walk, bitmap.width(), bitmap.height(), [&](std::int32_t x, std::int32_t y, std::int64_t) {
        codec.Pack(px, x, 1, bitmap.Row(y));
    });
}

// The bitmap of a context when (x, y) lies inside it, else null.
Bitmap* PixelTarget(HDC dc, int x, int y) {
    Canvas canvas;
    if (!FindCanvas(dc, &canvas)) return nullptr;
    const Bitmap& b = *canvas.bitmap;
    return x >= 0 && y >= 0 && x < b.width() && y < b.height() ? canvas.bitmap : nullptr;
}

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    Brush* brush = Lookup<Brush>(hbr);
    if (!FindCanvas(hDC, &canvas) || brush == nullptr || lprc == nullptr)
        return Fail<int>(ERROR_INVALID_PARAMETER);
    if (brush->style == BS_NULL) return TRUE;
    Bitmap& bitmap = *canvas.bitmap;
    // Right and bottom edges are excluded; an empty or inverted rectangle
    // fills nothing.
    std::int32_t left = std::max<std::int32_t>(lprc->left, 0);
    std::int32_t top = std::max<std::int32_t>(lprc->top, 0);
    std::int32_t right = std::min<std::int32_t>(lprc->right, bitmap.width());
    std::int32_t bottom = std::min<std::int32_t>(lprc->bottom, bitmap.height());
    if (left >= right || top >= bottom) return TRUE;
    RowCodec codec = CodecFor(bitmap);
    FillSpan(bitmap, codec, brush->color, left, right, top, bottom);
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lppt != nullptr) *lppt = context->position;
    context->position = POINT{x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    ApiLock lock(ApiMutex());
    Canvas canvas;
    if (!FindCanvas(hdc, &canvas)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    POINT from = canvas.context->position;
    canvas.context->position = POINT{x, y};
    // Pens are drawn one pixel wide whatever their width.
    Pen* pen = Lookup<Pen>(canvas.context->pen);
    if (pen == nullptr || pen->style == PS_NULL) return TRUE;
    std::uint8_t px[4];
    ColorToWorkPixel(pen->color, px);
    RowCodec codec = CodecFor(*canvas.bitmap);
    PlotLine(*canvas.bitmap, codec, px, from.x, from.y, x, y);
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    ApiLock lock(ApiMutex());
    Bitmap* bitmap = PixelTarget(hdc, x, y);
    if (bitmap == nullptr) return CLR_INVALID;
    std::uint8_t px[4];
    CodecFor(*bitmap).Unpack(bitmap->Row(y), x, 1, px);
    return RGB(px[2], px[1], px[0]);
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    ApiLock lock(ApiMutex());
    Bitmap* bitmap = PixelTarget(hdc, x, y);
    if (bitmap == nullptr) return CLR_INVALID;
    std::uint8_t px[4];
    ColorToWorkPixel(color, px);
    RowCodec codec = CodecFor(*bitmap);
    codec.Pack(px, x, 1, bitmap->Row(y));
    // The colour actually stored, which at low depths is the nearest one.
    codec.Unpack(bitmap->Row(y), x, 1, px);
    return RGB(px[2], px[1], px[0]);
}

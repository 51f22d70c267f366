// Drawing into the bitmap selected into a memory context: rectangle fills,
// lines in the platform's rule (start point drawn, end point not) and
// single pixels. Everything is clipped to the bitmap.
#include "support/api_boundary.h"
#include "gdi/gdi_objects.h"
#include "support/last_error.h"
#include "pixels/row_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

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

// Pixel `step` of a line whose major axis runs `major` steps while the minor
// axis moves `minor`: the minor offset rounded to nearest, halves away from
// the start, which is what Bresenham's algorithm produces.
// Coordinates span up to 2^33, so the product needs 128 bits.
std::int64_t MinorOffset(std::int64_t step, std::int64_t major, std::int64_t minor) {
    __int128 numerator = static_cast<__int128>(2) * step * minor + major;
    return static_cast<std::int64_t>(numerator / (static_cast<__int128>(2) * major));
}

// Plots the line from (x0, y0) towards (x1, y1), the end point excluded.
// Only the steps that can land inside the bitmap are walked, so even a line
// with far-away end points costs at most one bitmap width or height.
void PlotLine(Bitmap& bitmap, RowCodec& codec, const std::uint8_t px[4], std::int64_t x0,
              std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    std::int64_t dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
    int sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    bool xMajor = dx >= dy;
    std::int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    if (major == 0) return;  // start equals end: nothing drawn
    std::int64_t start = xMajor ? x0 : y0;
    int direction = xMajor ? sx : sy;
    std::int64_t limit = xMajor ? bitmap.width() : bitmap.height();
    // Steps whose major coordinate lies in [0, limit).
    std::int64_t first, last;
    if (direction > 0) {
        first = std::max<std::int64_t>(0, -start);
        last = std::min<std::int64_t>(major - 1, limit - 1 - start);
    } else {
        first = std::max<std::int64_t>(0, start - (limit - 1));
        last = std::min<std::int64_t>(major - 1, start);
    }
    for (std::int64_t i = first; i <= last; ++i) {
        std::int64_t offset = MinorOffset(i, major, minor);
        std::int64_t x = xMajor ? x0 + sx * i : x0 + sx * offset;
        std::int64_t y = xMajor ? y0 + sy * offset : y0 + sy * i;
        if (x < 0 || y < 0 || x >= bitmap.width() || y >= bitmap.height()) continue;
        codec.Pack(px, static_cast<int>(x), 1, bitmap.Row(static_cast<std::int32_t>(y)));
    }
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

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) try {
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
} catch (...) {
    return OutOfMemory<int>();
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lppt != nullptr) *lppt = context->position;
    context->position = POINT{x, y};
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
    // Pens are drawn one pixel wide whatever their width.
    Pen* pen = Lookup<Pen>(canvas.context->pen);
    if (pen == nullptr || pen->style == PS_NULL) return TRUE;
    std::uint8_t px[4];
    ColorToWorkPixel(pen->color, px);
    RowCodec codec = CodecFor(*canvas.bitmap);
    PlotLine(*canvas.bitmap, codec, px, from.x, from.y, x, y);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) try {
    ApiLock lock(ApiMutex());
    Bitmap* bitmap = PixelTarget(hdc, x, y);
    if (bitmap == nullptr) return CLR_INVALID;
    std::uint8_t px[4];
    CodecFor(*bitmap).Unpack(bitmap->Row(y), x, 1, px);
    return RGB(px[2], px[1], px[0]);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) try {
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
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

// Brushes beyond the solid one: hatched, pattern (from a bitmap) and DIB
// pattern (from a packed DIB), CreateBrushIndirect over all of them, the DC
// brush and pen colours, and UnrealizeObject.
//
// A pattern brush copies its picture when it is made, so the bitmap may be
// deleted, or the packed DIB freed, while the brush lives; GetObject reports
// the bitmap handle or the DIB pointer it was made from. A monochrome bitmap
// (1 bit, black and white) draws in the context's text and background
// colours, any other picture in its own.
#include "support/api_boundary.h"
#include "gdi/brush_pattern.h"
#include "gdi/color_ref.h"
#include "gdi/gdi_objects.h"
#include "kernel/memory_objects.h"
#include "pixels/bitmap_info.h"
#include "pixels/pixel_values.h"
#include "support/last_error.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace standin {
namespace {

// A brush made and checked; null with the error set when refused.
using MadeBrush = std::unique_ptr<Brush>;

MadeBrush Refuse(DWORD error) {
    SetLastError(error);
    return nullptr;
}

HBRUSH InsertBrush(MadeBrush brush) {
    if (brush == nullptr) return nullptr;
    HBRUSH handle = InsertObject<HBRUSH>(std::move(brush));
    return handle != nullptr ? handle : Fail<HBRUSH>(ERROR_NOT_ENOUGH_MEMORY);
}

MadeBrush MakeHatchBrush(ULONG_PTR hatch, COLORREF color) {
    std::uint8_t bits;
    if (!HatchRow(hatch, 0, &bits)) return Refuse(ERROR_INVALID_PARAMETER);
    auto brush = std::make_unique<Brush>(BS_HATCHED, StoredColorRef(color));
    brush->hatch = hatch;
    return brush;
}

MadeBrush MakePatternBrush(HBITMAP handle) {
    const Bitmap* bitmap = Lookup<Bitmap>(handle);
    if (bitmap == nullptr) return Refuse(ERROR_INVALID_HANDLE);
    auto picture = std::make_shared<BrushPicture>();
    picture->dib = bitmap->dib;
    picture->pixels.assign(bitmap->pixels.get(), bitmap->pixels.get() + bitmap->dib.imageBytes);
    picture->monochrome = IsMonochrome(bitmap->dib);
    auto brush = std::make_unique<Brush>(BS_PATTERN, 0);
    brush->hatch = reinterpret_cast<ULONG_PTR>(handle);
    brush->picture = std::move(picture);
    return brush;
}

// Bytes of a packed DIB before its pixels: the header, masks after a
// 40-byte header, and the colour table (RGBQUADs or 16-bit indices).
std::size_t PackedDibPixelOffset(const BITMAPINFOHEADER& h, UINT usage) {
    std::size_t offset = h.biSize;
    // The masks lie 40 bytes in, after a header shorter than 52 bytes.
    if (h.biCompression == BI_BITFIELDS) offset = std::max<std::size_t>(offset, kInfoHeaderBytes + 3 * sizeof(DWORD));
    const std::size_t entries = h.biBitCount <= 8 ? static_cast<std::size_t>(ColorTableEntries(h.biBitCount, h.biClrUsed))
                                                  : static_cast<std::size_t>(h.biClrUsed);
    return offset + entries * (usage == DIB_PAL_COLORS ? sizeof(WORD) : sizeof(RGBQUAD));
}

// A brush from a packed DIB: the header, its masks and table, then the
// pixels. `available` bounds what may be read (a global memory object's
// size); a bare pointer is taken at its word, as the platform takes it.
MadeBrush MakeDibPatternBrush(const void* packed, UINT usage, UINT style,
                              std::size_t available = SIZE_MAX) {
    if (packed == nullptr) return Refuse(ERROR_INVALID_PARAMETER);
    if (available < sizeof(BITMAPINFOHEADER)) return Refuse(ERROR_INVALID_PARAMETER);
    const auto* info = static_cast<const BITMAPINFO*>(packed);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    // No field past biSize is read before biSize says the header holds it.
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > available) return Refuse(ERROR_INVALID_PARAMETER);
    // A deep picture's optional table comes before its pixels; more entries
    // than any table holds is no table a caller lays out.
    if (h.biBitCount > 8 && h.biClrUsed > static_cast<DWORD>(kMaxColors)) return Refuse(ERROR_INVALID_PARAMETER);
    if (PackedDibPixelOffset(h, usage) > available) return Refuse(ERROR_INVALID_PARAMETER);
    auto picture = std::make_shared<BrushPicture>();
    // Palette indices are resolved against the context drawn into, so the
    // table is read here only for its layout.
    if (!DescribeDib(info, usage, &picture->dib)) return Refuse(ERROR_INVALID_PARAMETER);
    if (picture->dib.imageBytes > available - PackedDibPixelOffset(h, usage)) return Refuse(ERROR_INVALID_PARAMETER);
    const auto* bytes = static_cast<const std::uint8_t*>(packed);
    if (usage == DIB_PAL_COLORS && picture->dib.format.indexed()) {
        picture->paletteIndices = true;
        picture->indices.resize(static_cast<std::size_t>(ColorTableEntries(h.biBitCount, h.biClrUsed)));
        std::memcpy(picture->indices.data(), bytes + h.biSize, picture->indices.size() * sizeof(WORD));
    }
    const std::uint8_t* pixels = bytes + PackedDibPixelOffset(h, usage);
    picture->pixels.assign(pixels, pixels + picture->dib.imageBytes);
    auto brush = std::make_unique<Brush>(style, usage);
    brush->hatch = reinterpret_cast<ULONG_PTR>(packed);
    brush->picture = std::move(picture);
    return brush;
}

// A brush from a packed DIB in a global memory object. The bytes are copied
// while the API lock is held, so the object needs no lock of its own; the
// brush reports the handle it was made from.
MadeBrush MakeGlobalDibPatternBrush(HGLOBAL block, UINT usage) {
    const void* bytes = nullptr;
    SIZE_T size = 0;
    if (!PeekMemoryLocked(block, &bytes, &size)) return nullptr;
    MadeBrush brush = MakeDibPatternBrush(bytes, usage, BS_DIBPATTERN, size);
    if (brush != nullptr) brush->hatch = reinterpret_cast<ULONG_PTR>(block);
    return brush;
}

COLORREF SwapDcColour(HDC hdc, COLORREF DeviceContext::*field, COLORREF value) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail(ERROR_INVALID_HANDLE, COLORREF{CLR_INVALID});
    const COLORREF previous = context->*field;
    context->*field = StoredColorRef(value);
    return previous;
}

COLORREF ReadDcColour(HDC hdc, COLORREF DeviceContext::*field) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->*field : Fail(ERROR_INVALID_HANDLE, COLORREF{CLR_INVALID});
}

}  // namespace

std::unique_ptr<Brush> MakeBrush(const LOGBRUSH& log) {
    switch (log.lbStyle) {
        case BS_SOLID: return std::make_unique<Brush>(BS_SOLID, StoredColorRef(log.lbColor));
        case BS_NULL: return std::make_unique<Brush>(BS_NULL, 0);
        case BS_HATCHED: return MakeHatchBrush(log.lbHatch, log.lbColor);
        case BS_PATTERN:
        case BS_PATTERN8X8: return MakePatternBrush(reinterpret_cast<HBITMAP>(log.lbHatch));
        case BS_DIBPATTERN:
            return MakeGlobalDibPatternBrush(reinterpret_cast<HGLOBAL>(log.lbHatch),
                                             static_cast<UINT>(log.lbColor & 0xFFFF));
        case BS_DIBPATTERNPT:
            return MakeDibPatternBrush(reinterpret_cast<const void*>(log.lbHatch),
                                       static_cast<UINT>(log.lbColor & 0xFFFF), BS_DIBPATTERNPT);
        default: return Refuse(ERROR_INVALID_PARAMETER);
    }
}

}  // namespace standin

using namespace standin;

HBRUSH WINAPI CreateHatchBrush(int iHatch, COLORREF color) try {
    ApiLock lock(ApiMutex());
    if (iHatch < 0) return Fail<HBRUSH>(ERROR_INVALID_PARAMETER);
    return InsertBrush(MakeHatchBrush(static_cast<ULONG_PTR>(iHatch), color));
} catch (...) {
    return OutOfMemory<HBRUSH>();
}

HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm) try {
    ApiLock lock(ApiMutex());
    return InsertBrush(MakePatternBrush(hbm));
} catch (...) {
    return OutOfMemory<HBRUSH>();
}

HBRUSH WINAPI CreateDIBPatternBrush(HGLOBAL h, UINT iUsage) try {
    ApiLock lock(ApiMutex());
    return InsertBrush(MakeGlobalDibPatternBrush(h, iUsage));
} catch (...) {
    return OutOfMemory<HBRUSH>();
}

HBRUSH WINAPI CreateDIBPatternBrushPt(const VOID* lpPackedDIB, UINT iUsage) try {
    ApiLock lock(ApiMutex());
    return InsertBrush(MakeDibPatternBrush(lpPackedDIB, iUsage, BS_DIBPATTERNPT));
} catch (...) {
    return OutOfMemory<HBRUSH>();
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush) try {
    ApiLock lock(ApiMutex());
    if (plbrush == nullptr) return Fail<HBRUSH>(ERROR_INVALID_PARAMETER);
    return InsertBrush(MakeBrush(*plbrush));
} catch (...) {
    return OutOfMemory<HBRUSH>();
}

COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF color) try {
    return SwapDcColour(hdc, &DeviceContext::dcBrushColor, color);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

COLORREF WINAPI GetDCBrushColor(HDC hdc) try {
    return ReadDcColour(hdc, &DeviceContext::dcBrushColor);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF color) try {
    return SwapDcColour(hdc, &DeviceContext::dcPenColor, color);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

COLORREF WINAPI GetDCPenColor(HDC hdc) try {
    return ReadDcColour(hdc, &DeviceContext::dcPenColor);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

BOOL WINAPI UnrealizeObject(HGDIOBJ h) try {
    ApiLock lock(ApiMutex());
    // Brushes are realized afresh, at the current brush origin, every time
    // they draw, and there is no system palette to map a logical palette
    // onto: for both there is nothing to reset.
    if (Lookup<Brush>(h) == nullptr && Lookup<Palette>(h) == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

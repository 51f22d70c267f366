// Device contexts: making and removing them, memory contexts, deletion,
// object selection and the stretching mode. The screen's contexts are made
// by CreateDC and CreateIC (display_contexts.cpp) and GetDC (user/).
#include "support/api_boundary.h"
#include "support/fault_injection.h"
#include "gdi/gdi_objects.h"
#include "gdi/dc_state.h"
#include "support/last_error.h"

namespace standin {
namespace {

HGDIOBJ SelectBitmap(HDC dc, DeviceContext* context, HBITMAP handle, Bitmap* bitmap) {
    HBITMAP previous = context->bitmap;
    if (handle == previous) return previous;
    // A bitmap lives in one context at a time; stock bitmaps are shared. One
    // that a saved state of this context holds may come back into it.
    if (!bitmap->stock && bitmap->selectedInto != nullptr && bitmap->selectedInto != dc)
        return nullptr;
    HoldBitmap(dc, bitmap);
    ReleaseBitmap(previous);
    context->bitmap = handle;
    return previous;
}

template <class T, class Handle>
HGDIOBJ SwapDrawingObject(Handle* slot, Handle handle, T* object, void (*release)(Handle)) {
    Handle previous = *slot;
    HoldObject(object);
    release(previous);
    *slot = handle;
    return previous;
}

}  // namespace

// A context with the default pen, brush and palette; null when memory runs
// out. The caller holds the lock.
HDC InsertContext(DeviceContext::Source source) {
    auto context = std::make_unique<DeviceContext>();
    context->source = source;
    context->screen = source != DeviceContext::Source::Memory;
    // A memory context draws on a pixel of its own while it holds the stock
    // bitmap; the screen's contexts draw on nothing.
    if (!context->screen) {
        context->bitmap = StockBitmap();
        context->defaultPixel = MakeDefaultBitmap();
        if (!context->defaultPixel) return nullptr;
    }
    context->pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    context->brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    context->palette = static_cast<HPALETTE>(StockObject(DEFAULT_PALETTE));
    // Its state holds its objects like every later one (ReleaseAllStates).
    const DcState& state = *context;
    HDC dc = InsertObject<HDC>(std::move(context));
    if (dc != nullptr) HoldState(dc, state);
    return dc;
}

void RemoveContext(HDC hdc, DeviceContext* context) {
    ReleaseAllStates(context);
    Objects().Remove(hdc);
}

bool SelectedLogicalColors(HDC dc, LogicalColors* out) {
    DeviceContext* context = Lookup<DeviceContext>(dc);
    if (context == nullptr) return false;
    if (const Palette* palette = Lookup<Palette>(context->palette)) {
        out->colors = palette->colors.data();
        out->count = static_cast<int>(palette->colors.size());
    }
    return true;
}

Bitmap* SelectedBitmap(HDC dc) {
    DeviceContext* context = Lookup<DeviceContext>(dc);
    if (context == nullptr) return nullptr;
    if (context->bitmap == StockBitmap()) return context->defaultPixel.get();
    return Lookup<Bitmap>(context->bitmap);
}

}  // namespace standin

using namespace standin;

HDC WINAPI CreateCompatibleDC(HDC hdc) try {
    ApiLock lock(ApiMutex());
    EnsureStockObjects();
    // Only memory contexts exist here; a given context must at least be one.
    if (hdc != nullptr && Lookup<DeviceContext>(hdc) == nullptr) return Fail<HDC>(ERROR_INVALID_HANDLE);
    if (InjectedFailure(Call::CreateCompatibleDC)) return Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
    HDC dc = InsertContext(DeviceContext::Source::Memory);
    if (dc == nullptr) return Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
    return dc;
} catch (...) {
    return OutOfMemory<HDC>();
}

BOOL WINAPI DeleteDC(HDC hdc) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    // GetDC's contexts are given back with ReleaseDC.
    if (context == nullptr || context->source == DeviceContext::Source::GetDC)
        return Fail<BOOL>(ERROR_INVALID_HANDLE);
    RemoveContext(hdc, context);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<HGDIOBJ>(ERROR_INVALID_HANDLE);
    if (InjectedFailure(Call::SelectObject)) return Fail<HGDIOBJ>(ERROR_INVALID_PARAMETER);
    if (Bitmap* bitmap = Lookup<Bitmap>(h)) {
        // Bitmaps go into memory contexts only, and only in a format they
        // are compatible with.
        if (context->screen || !SelectableIntoMemoryContext(*bitmap)) return Fail<HGDIOBJ>(ERROR_INVALID_PARAMETER);
        return SelectBitmap(hdc, context, static_cast<HBITMAP>(h), bitmap);
    }
    if (Pen* pen = Lookup<Pen>(h)) return SwapDrawingObject(&context->pen, static_cast<HPEN>(h), pen, ReleasePen);
    if (Brush* brush = Lookup<Brush>(h))
        return SwapDrawingObject(&context->brush, static_cast<HBRUSH>(h), brush, ReleaseBrush);
    // Palettes are selected with SelectPalette only.
    return Fail<HGDIOBJ>(ERROR_INVALID_HANDLE);
} catch (...) {
    return OutOfMemory<HGDIOBJ>();
}

HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd) try {
    (void)bForceBkgd;  // there is no foreground here: every context's palette is used as it is
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    Palette* palette = Lookup<Palette>(hPal);
    if (context == nullptr || palette == nullptr) return Fail<HPALETTE>(ERROR_INVALID_HANDLE);
    return static_cast<HPALETTE>(SwapDrawingObject(&context->palette, hPal, palette, ReleasePalette));
} catch (...) {
    return OutOfMemory<HPALETTE>();
}

UINT WINAPI RealizePalette(HDC hdc) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    Palette* palette = context != nullptr ? Lookup<Palette>(context->palette) : nullptr;
    if (palette == nullptr) return Fail(ERROR_INVALID_HANDLE, static_cast<UINT>(GDI_ERROR));
    // The screen holds every colour, so every entry maps as it is; the
    // selected palette is read whenever a colour table indexes it.
    return static_cast<UINT>(palette->colors.size());
} catch (...) {
    return OutOfMemory<UINT>(static_cast<UINT>(GDI_ERROR));
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return nullptr;
    switch (type) {
        case OBJ_BITMAP: return context->bitmap;
        case OBJ_PEN: return context->pen;
        case OBJ_BRUSH: return context->brush;
        case OBJ_PAL: return context->palette;
        default: return nullptr;
    }
} catch (...) {
    return OutOfMemory<HGDIOBJ>();
}

int WINAPI SetStretchBltMode(HDC hdc, int mode) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE);
    if (mode < BLACKONWHITE || mode > HALFTONE) return Fail<int>(ERROR_INVALID_PARAMETER);
    int previous = context->stretchMode;
    context->stretchMode = mode;
    return previous;
} catch (...) {
    return OutOfMemory<int>();
}

int WINAPI GetStretchBltMode(HDC hdc) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->stretchMode : 0;
} catch (...) {
    return OutOfMemory<int>();
}

// Memory device contexts: creation, deletion, object selection and the
// stretching mode.
#include "support/api_boundary.h"
#include "support/fault_injection.h"
#include "gdi/gdi_objects.h"
#include "support/last_error.h"

namespace standin {
namespace {

HGDIOBJ SelectBitmap(HDC dc, DeviceContext* context, HBITMAP handle, Bitmap* bitmap) {
    HBITMAP previous = context->bitmap;
    if (handle == previous) return previous;
    // A bitmap lives in one context at a time; stock bitmaps are shared.
    if (!bitmap->stock && bitmap->selectedInto != nullptr) return nullptr;
    if (Bitmap* old = Lookup<Bitmap>(previous); old != nullptr && !old->stock)
        old->selectedInto = nullptr;
    if (!bitmap->stock) bitmap->selectedInto = dc;
    context->bitmap = handle;
    return previous;
}

template <class T, class Handle>
HGDIOBJ SwapDrawingObject(Handle* slot, Handle handle, T* object) {
    Handle previous = *slot;
    if (T* old = Lookup<T>(previous)) --old->selections;
    ++object->selections;
    *slot = handle;
    return previous;
}

// A context in its initial state, or null when its default pixel could not
// be made.
std::unique_ptr<DeviceContext> NewContext() {
    auto context = std::make_unique<DeviceContext>();
    context->bitmap = StockBitmap();
    context->defaultPixel = MakeDefaultBitmap();
    if (!context->defaultPixel) return nullptr;
    context->pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    context->brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    return context;
}

template <class T, class Handle>
void ReleaseDrawingObject(Handle handle) {
    if (T* object = Lookup<T>(handle)) --object->selections;
}

}  // namespace

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
    std::unique_ptr<DeviceContext> context = NewContext();
    if (!context) return Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
    HDC dc = InsertObject<HDC>(std::move(context));
    if (dc == nullptr) return Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
    return dc;
} catch (...) {
    return OutOfMemory<HDC>();
}

BOOL WINAPI DeleteDC(HDC hdc) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (Bitmap* bitmap = Lookup<Bitmap>(context->bitmap); bitmap != nullptr && !bitmap->stock)
        bitmap->selectedInto = nullptr;
    ReleaseDrawingObject<Pen>(context->pen);
    ReleaseDrawingObject<Brush>(context->brush);
    Objects().Remove(hdc);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<HGDIOBJ>(ERROR_INVALID_HANDLE);
    if (InjectedFailure(Call::SelectObject)) return Fail<HGDIOBJ>(ERROR_INVALID_PARAMETER);
    if (Bitmap* bitmap = Lookup<Bitmap>(h))
        return SelectBitmap(hdc, context, static_cast<HBITMAP>(h), bitmap);
    if (Pen* pen = Lookup<Pen>(h)) return SwapDrawingObject(&context->pen, static_cast<HPEN>(h), pen);
    if (Brush* brush = Lookup<Brush>(h))
        return SwapDrawingObject(&context->brush, static_cast<HBRUSH>(h), brush);
    return Fail<HGDIOBJ>(ERROR_INVALID_HANDLE);
} catch (...) {
    return OutOfMemory<HGDIOBJ>();
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return nullptr;
    switch (type) {
        case OBJ_BITMAP: return context->bitmap;
        case OBJ_PEN: return context->pen;
        case OBJ_BRUSH: return context->brush;
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

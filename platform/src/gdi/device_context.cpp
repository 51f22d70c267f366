// Memory device contexts: creation, deletion, object selection and the
// stretching mode.
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

template <class T, class Handle>
void ReleaseDrawingObject(Handle handle) {
    if (T* object = Lookup<T>(handle)) --object->selections;
}

}  // namespace

Bitmap* SelectedBitmap(HDC dc) {
    DeviceContext* context = Lookup<DeviceContext>(dc);
    return context != nullptr ? Lookup<Bitmap>(context->bitmap) : nullptr;
}

}  // namespace standin

using namespace standin;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    ApiLock lock(ApiMutex());
    EnsureStockObjects();
    // Only memory contexts exist here; a given context must at least be one.
    if (hdc != nullptr && Lookup<DeviceContext>(hdc) == nullptr) return Fail<HDC>(ERROR_INVALID_HANDLE);
    if (InjectedFailure(Call::CreateCompatibleDC)) return Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
    auto context = std::make_unique<DeviceContext>();
    context->bitmap = StockBitmap();
    context->pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    context->brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    HDC dc = InsertObject<HDC>(std::move(context));
    if (dc == nullptr) return Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
    return dc;
}

BOOL WINAPI DeleteDC(HDC hdc) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (Bitmap* bitmap = Lookup<Bitmap>(context->bitmap); bitmap != nullptr && !bitmap->stock)
        bitmap->selectedInto = nullptr;
    ReleaseDrawingObject<Pen>(context->pen);
    ReleaseDrawingObject<Brush>(context->brush);
    Objects().Remove(hdc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
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
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return nullptr;
    switch (type) {
        case OBJ_BITMAP: return context->bitmap;
        case OBJ_PEN: return context->pen;
        case OBJ_BRUSH: return context->brush;
        default: return nullptr;
    }
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE);
    if (mode != TRANSPARENT && mode != OPAQUE) return Fail<int>(ERROR_INVALID_PARAMETER);
    int previous = context->bkMode;
    context->bkMode = mode;
    return previous;
}

int WINAPI GetBkMode(HDC hdc) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->bkMode : 0;
}

int WINAPI SetStretchBltMode(HDC hdc, int mode) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE);
    if (mode < BLACKONWHITE || mode > HALFTONE) return Fail<int>(ERROR_INVALID_PARAMETER);
    int previous = context->stretchMode;
    context->stretchMode = mode;
    return previous;
}

int WINAPI GetStretchBltMode(HDC hdc) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->stretchMode : 0;
}

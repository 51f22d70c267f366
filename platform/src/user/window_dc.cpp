// GetDC, GetWindowDC, GetDCEx and ReleaseDC. Only the screen has a context
// to give: asked for by a null window or the desktop's, each call makes a
// new screen context, which ReleaseDC removes. Any other window handle
// names no window.
#include "user/desktop_window.h"

#include "gdi/gdi_objects.h"
#include "gdi/regions.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

HDC ScreenContext(HWND window) {
    if (window != nullptr && !IsDesktop(window)) return Fail<HDC>(ERROR_INVALID_WINDOW_HANDLE);
    ApiLock lock(ApiMutex());
    EnsureStockObjects();
    HDC dc = InsertContext(DeviceContext::Source::GetDC);
    return dc != nullptr ? dc : Fail<HDC>(ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace
}  // namespace standin

using namespace standin;

HDC WINAPI GetDC(HWND hWnd) try {
    return ScreenContext(hWnd);
} catch (...) {
    return OutOfMemory<HDC>();
}

// The screen has no frame, so its window context is its client context.
HDC WINAPI GetWindowDC(HWND hWnd) try {
    return ScreenContext(hWnd);
} catch (...) {
    return OutOfMemory<HDC>();
}

HDC WINAPI GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags) try {
    // The other flags shape a window's visible region, and the screen's is
    // all of it. A region given with DCX_INTERSECTRGN or DCX_EXCLUDERGN
    // narrows what the context sees, kept as its clip region.
    const bool narrows = (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) != 0 && hrgnClip != nullptr;
    if (narrows) {
        ApiLock lock(ApiMutex());
        if (Lookup<Region>(hrgnClip) == nullptr) return Fail<HDC>(ERROR_INVALID_HANDLE);
    }
    HDC dc = ScreenContext(hWnd);
    if (dc == nullptr || !narrows) return dc;
    if (ExtSelectClipRgn(dc, hrgnClip, (flags & DCX_INTERSECTRGN) != 0 ? RGN_AND : RGN_DIFF) == ERROR) {
        ReleaseDC(hWnd, dc);
        return nullptr;
    }
    return dc;
} catch (...) {
    return OutOfMemory<HDC>();
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hDC);
    if ((hWnd != nullptr && !IsDesktop(hWnd)) || context == nullptr ||
        context->source != DeviceContext::Source::GetDC)
        return 0;
    RemoveContext(hDC, context);
    return 1;
} catch (...) {
    return OutOfMemory<int>();
}

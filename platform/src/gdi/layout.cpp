// SetLayout and GetLayout: a context's right-to-left layout
// (space/coordinate_space.h says what LAYOUT_RTL does to coordinates).
//
// The layout holds LAYOUT_RTL and LAYOUT_BITMAPORIENTATIONPRESERVED; any
// other bit fails with ERROR_INVALID_PARAMETER and GDI_ERROR. Setting
// LAYOUT_RTL on a context in MM_TEXT turns its mapping mode to
// MM_ISOTROPIC, as the platform documents, keeping its 1 : 1 extents.
#include "gdi/gdi_objects.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

using namespace standin;

DWORD WINAPI SetLayout(HDC hdc, DWORD l) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<DWORD>(ERROR_INVALID_HANDLE, GDI_ERROR);
    if ((l & ~DWORD{LAYOUT_RTL | LAYOUT_BITMAPORIENTATIONPRESERVED}) != 0)
        return Fail<DWORD>(ERROR_INVALID_PARAMETER, GDI_ERROR);
    CoordinateSpace& space = context->space;
    const DWORD previous = space.layout;
    space.layout = l;
    if ((l & LAYOUT_RTL) != 0 && space.page.mode == MM_TEXT) space.page.mode = MM_ISOTROPIC;
    return previous;
} catch (...) {
    return OutOfMemory<DWORD>(GDI_ERROR);
}

DWORD WINAPI GetLayout(HDC hdc) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->space.layout : Fail<DWORD>(ERROR_INVALID_HANDLE, GDI_ERROR);
} catch (...) {
    return OutOfMemory<DWORD>(GDI_ERROR);
}

// Per-context attributes: text and background colours, background mode,
// brush origin, binary raster operation, polygon fill mode and arc
// direction. Blits use the colours to convert to and from monochrome
// bitmaps; the brush origin is kept and reported (solid brushes look the
// same whatever it is).
#include "gdi/gdi_objects.h"
#include "support/last_error.h"

namespace standin {
namespace {

template <class T>
T SwapAttribute(HDC hdc, T DcState::*field, T value, T failure) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail(ERROR_INVALID_HANDLE, failure);
    T previous = context->*field;
    context->*field = value;
    return previous;
}

template <class T>
T ReadAttribute(HDC hdc, T DcState::*field, T failure) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->*field : Fail(ERROR_INVALID_HANDLE, failure);
}

// Sets one of a few named modes; a value outside [low, high] is refused.
int SwapMode(HDC hdc, int DcState::*field, int value, int low, int high) {
    if (value < low || value > high) {
        ApiLock lock(ApiMutex());
        return Fail<int>(Lookup<DeviceContext>(hdc) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    }
    return SwapAttribute(hdc, field, value, 0);
}

}  // namespace
}  // namespace standin

using namespace standin;

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return SwapAttribute(hdc, &DcState::backColor, color, COLORREF{CLR_INVALID});
}

COLORREF WINAPI GetBkColor(HDC hdc) {
    return ReadAttribute(hdc, &DcState::backColor, COLORREF{CLR_INVALID});
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return SwapAttribute(hdc, &DcState::textColor, color, COLORREF{CLR_INVALID});
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    return ReadAttribute(hdc, &DcState::textColor, COLORREF{CLR_INVALID});
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        ApiLock lock(ApiMutex());
        return Fail<int>(Lookup<DeviceContext>(hdc) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    }
    return SwapAttribute(hdc, &DcState::backMode, mode, 0);
}

int WINAPI GetBkMode(HDC hdc) { return ReadAttribute(hdc, &DcState::backMode, 0); }

BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lppt != nullptr) *lppt = context->brushOrigin;
    context->brushOrigin = POINT{x, y};
    return TRUE;
}

BOOL WINAPI GetBrushOrgEx(HDC hdc, LPPOINT lppt) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lppt == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    *lppt = context->brushOrigin;
    return TRUE;
}

int WINAPI SetROP2(HDC hdc, int rop2) { return SwapMode(hdc, &DcState::mix, rop2, R2_BLACK, R2_WHITE); }

int WINAPI GetROP2(HDC hdc) { return ReadAttribute(hdc, &DcState::mix, 0); }

int WINAPI SetPolyFillMode(HDC hdc, int mode) {
    return SwapMode(hdc, &DcState::polyFillMode, mode, ALTERNATE, WINDING);
}

int WINAPI GetPolyFillMode(HDC hdc) { return ReadAttribute(hdc, &DcState::polyFillMode, 0); }

int WINAPI SetArcDirection(HDC hdc, int dir) {
    return SwapMode(hdc, &DcState::arcDirection, dir, AD_COUNTERCLOCKWISE, AD_CLOCKWISE);
}

int WINAPI GetArcDirection(HDC hdc) { return ReadAttribute(hdc, &DcState::arcDirection, 0); }

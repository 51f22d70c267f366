// The page mapping of a context (space/page_mapping.h): SetMapMode and
// GetMapMode, the window and viewport extents and origins, and their
// offsets and scalings.
//
// SetWindowExtEx, SetViewportExtEx, ScaleWindowExtEx and ScaleViewportExtEx
// are ignored outside MM_ISOTROPIC and MM_ANISOTROPIC: they report the
// current extents and succeed without changing them. An extent of zero, a
// zero numerator or denominator, or a scaled extent that comes out zero or
// beyond LONG fails with ERROR_INVALID_PARAMETER and changes nothing, as
// does an origin offset past LONG's range (rather than wrapping round).
// In MM_ISOTROPIC every change of extents is followed by the adjustment
// that keeps logical units equally long on both axes. Each Set, Offset or
// Scale call stores the previous value in its optional out-parameter.
#include "gdi/coordinates.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

#include <cstdint>
#include <limits>

namespace standin {
namespace {

bool FitsLong(std::int64_t v) {
    return v >= std::numeric_limits<LONG>::min() && v <= std::numeric_limits<LONG>::max();
}

// Runs `change` on the page mapping of a valid context.
template <class Change>
BOOL ChangePage(HDC hdc, Change change) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    return change(context->space.page);
}

template <class Value>
BOOL ReadPage(HDC hdc, Value* out, Value PageMapping::*field) {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (out == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    *out = context->space.page.*field;
    return TRUE;
}

BOOL SetExtent(HDC hdc, SIZE PageMapping::*field, int x, int y, LPSIZE previous) {
    return ChangePage(hdc, [&](PageMapping& page) -> BOOL {
        if (previous != nullptr) *previous = page.*field;
        if (!ScalableMode(page.mode)) return TRUE;
        if (x == 0 || y == 0) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
        page.*field = SIZE{x, y};
        KeepIsotropic(&page, ScreenDeviceSize());
        return TRUE;
    });
}

bool Scaled(LONG extent, int numerator, int denominator, LONG* out) {
    const std::int64_t v = std::int64_t{extent} * numerator / denominator;
    if (v == 0 || !FitsLong(v)) return false;
    *out = static_cast<LONG>(v);
    return true;
}

BOOL ScaleExtent(HDC hdc, SIZE PageMapping::*field, int xn, int xd, int yn, int yd, LPSIZE previous) {
    return ChangePage(hdc, [&](PageMapping& page) -> BOOL {
        if (previous != nullptr) *previous = page.*field;
        if (!ScalableMode(page.mode)) return TRUE;
        SIZE next{};
        if (xd == 0 || yd == 0 || !Scaled((page.*field).cx, xn, xd, &next.cx) ||
            !Scaled((page.*field).cy, yn, yd, &next.cy))
            return Fail<BOOL>(ERROR_INVALID_PARAMETER);
        page.*field = next;
        KeepIsotropic(&page, ScreenDeviceSize());
        return TRUE;
    });
}

BOOL SetOrigin(HDC hdc, POINT PageMapping::*field, std::int64_t x, std::int64_t y, bool relative,
               LPPOINT previous) {
    return ChangePage(hdc, [&](PageMapping& page) -> BOOL {
        const POINT old = page.*field;
        if (previous != nullptr) *previous = old;
        if (relative) x += old.x, y += old.y;
        if (!FitsLong(x) || !FitsLong(y)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
        page.*field = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
        return TRUE;
    });
}

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI SetMapMode(HDC hdc, int iMode) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE);
    if (!ValidMapMode(iMode)) return Fail<int>(ERROR_INVALID_PARAMETER);
    const int previous = context->space.page.mode;
    ChangeMapMode(&context->space.page, iMode, ScreenDeviceSize());
    return previous;
} catch (...) {
    return OutOfMemory<int>();
}

int WINAPI GetMapMode(HDC hdc) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->space.page.mode : Fail<int>(ERROR_INVALID_HANDLE);
} catch (...) {
    return OutOfMemory<int>();
}

BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz) try {
    return SetExtent(hdc, &PageMapping::windowExtent, x, y, lpsz);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz) try {
    return SetExtent(hdc, &PageMapping::viewportExtent, x, y, lpsz);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI ScaleWindowExtEx(HDC hdc, int xn, int xd, int yn, int yd, LPSIZE lpsz) try {
    return ScaleExtent(hdc, &PageMapping::windowExtent, xn, xd, yn, yd, lpsz);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI ScaleViewportExtEx(HDC hdc, int xn, int dx, int yn, int yd, LPSIZE lpsz) try {
    return ScaleExtent(hdc, &PageMapping::viewportExtent, xn, dx, yn, yd, lpsz);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) try {
    return SetOrigin(hdc, &PageMapping::windowOrigin, x, y, false, lppt);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) try {
    return SetOrigin(hdc, &PageMapping::viewportOrigin, x, y, false, lppt);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) try {
    return SetOrigin(hdc, &PageMapping::windowOrigin, x, y, true, lppt);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) try {
    return SetOrigin(hdc, &PageMapping::viewportOrigin, x, y, true, lppt);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE lpsize) try {
    return ReadPage(hdc, lpsize, &PageMapping::windowExtent);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE lpsize) try {
    return ReadPage(hdc, lpsize, &PageMapping::viewportExtent);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT lppoint) try {
    return ReadPage(hdc, lppoint, &PageMapping::windowOrigin);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppoint) try {
    return ReadPage(hdc, lppoint, &PageMapping::viewportOrigin);
} catch (...) {
    return OutOfMemory<BOOL>();
}

// The world transform and the graphics mode: SetGraphicsMode,
// GetGraphicsMode, SetWorldTransform, GetWorldTransform,
// ModifyWorldTransform and CombineTransform.
//
// The world transform is kept as the XFORM it was given and takes part in
// the mapping only in GM_ADVANCED. Setting or modifying it fails unless the
// context is in GM_ADVANCED, and GM_COMPATIBLE is refused while it is not
// the identity (reset it with ModifyWorldTransform's MWT_IDENTITY first).
// A transform that is not finite or that collapses the plane (determinant
// zero), which no device point could be mapped back through, fails with
// ERROR_INVALID_PARAMETER and leaves the transform as it was.
#include "gdi/gdi_objects.h"

#include "space/coordinate_space.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

bool Usable(const XFORM& x) {
    const Affine a = FromXform(x);
    Affine inverse;
    return Invert(a, &inverse);
}

// Stores `next` as the world transform of an advanced-mode context.
BOOL StoreWorld(HDC hdc, const XFORM* given, DWORD mode) {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    CoordinateSpace& space = context->space;
    if (space.graphicsMode != GM_ADVANCED) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (mode == MWT_IDENTITY) {
        space.world = XFORM{1, 0, 0, 1, 0, 0};
        return TRUE;
    }
    if (given == nullptr || (mode != 0 && mode != MWT_LEFTMULTIPLY && mode != MWT_RIGHTMULTIPLY))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    XFORM next = *given;
    if (mode == MWT_LEFTMULTIPLY) next = ToXform(Then(FromXform(*given), FromXform(space.world)));
    if (mode == MWT_RIGHTMULTIPLY) next = ToXform(Then(FromXform(space.world), FromXform(*given)));
    if (!Usable(next)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    space.world = next;
    return TRUE;
}

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI SetGraphicsMode(HDC hdc, int iMode) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE);
    if (iMode != GM_COMPATIBLE && iMode != GM_ADVANCED) return Fail<int>(ERROR_INVALID_PARAMETER);
    CoordinateSpace& space = context->space;
    if (iMode == GM_COMPATIBLE && !FromXform(space.world).identity()) return Fail<int>(ERROR_INVALID_PARAMETER);
    const int previous = space.graphicsMode;
    space.graphicsMode = iMode;
    return previous;
} catch (...) {
    return OutOfMemory<int>();
}

int WINAPI GetGraphicsMode(HDC hdc) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    return context != nullptr ? context->space.graphicsMode : Fail<int>(ERROR_INVALID_HANDLE);
} catch (...) {
    return OutOfMemory<int>();
}

BOOL WINAPI SetWorldTransform(HDC hdc, const XFORM* lpxf) try {
    return StoreWorld(hdc, lpxf, 0);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI ModifyWorldTransform(HDC hdc, const XFORM* lpxf, DWORD mode) try {
    if (mode == 0) mode = ~DWORD{0};  // 0 is no ModifyWorldTransform mode, only SetWorldTransform's own
    return StoreWorld(hdc, lpxf, mode);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GetWorldTransform(HDC hdc, LPXFORM lpxf) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lpxf == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    *lpxf = context->space.world;
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI CombineTransform(LPXFORM lpxfOut, const XFORM* lpxf1, const XFORM* lpxf2) try {
    if (lpxfOut == nullptr || lpxf1 == nullptr || lpxf2 == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    // The output may be either input: both are read before it is written.
    const Affine product = Then(FromXform(*lpxf1), FromXform(*lpxf2));
    const XFORM result = ToXform(product);
    if (!Finite(FromXform(result))) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    *lpxfOut = result;
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

// Bounds accumulation: SetBoundsRect and GetBoundsRect.
//
// While accumulation is on (off in a new context), every drawing call adds
// the device pixels it draws, after clipping, to the context's bounding
// rectangle (gdi/clipping.h gathers them). The rectangle is kept in device
// pixels and given and taken in logical units; an empty one reads as all
// zeros. SetBoundsRect answers the state before the call: DCB_ENABLE or
// DCB_DISABLE, with DCB_SET for a rectangle that holds pixels or DCB_RESET
// for an empty one. GetBoundsRect answers DCB_SET or DCB_RESET. Both answer
// 0 for a bad context (ERROR_INVALID_HANDLE).
#include "gdi/regions.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

UINT Filled(const DcState& state) { return state.bounds.empty() ? DCB_RESET : DCB_SET; }

}  // namespace
}  // namespace standin

using namespace standin;

UINT WINAPI SetBoundsRect(HDC hdc, const RECT* lprect, UINT flags) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<UINT>(ERROR_INVALID_HANDLE);
    const UINT before = (context->boundsEnabled ? DCB_ENABLE : DCB_DISABLE) | Filled(*context);
    if ((flags & DCB_RESET) != 0) context->bounds = RegionRect{};
    if ((flags & DCB_ACCUMULATE) != 0 && lprect != nullptr)
        context->bounds = Unite(context->bounds, DeviceRect(hdc, *context, lprect->left, lprect->top, lprect->right,
                                                            lprect->bottom));
    if ((flags & DCB_ENABLE) != 0) context->boundsEnabled = true;
    if ((flags & DCB_DISABLE) != 0) context->boundsEnabled = false;
    return before;
} catch (...) {
    return OutOfMemory<UINT>();
}

UINT WINAPI GetBoundsRect(HDC hdc, LPRECT lprect, UINT flags) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<UINT>(ERROR_INVALID_HANDLE);
    if (lprect == nullptr) return Fail<UINT>(ERROR_INVALID_PARAMETER);
    const UINT state = Filled(*context);
    *lprect = context->bounds.empty() ? RECT{0, 0, 0, 0} : LogicalRect(hdc, *context, context->bounds);
    if ((flags & DCB_RESET) != 0) context->bounds = RegionRect{};
    return state;
} catch (...) {
    return OutOfMemory<UINT>();
}

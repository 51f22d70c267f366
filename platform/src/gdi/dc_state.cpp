// SaveDC and RestoreDC, and the selection holds of a context's states.
//
// SaveDC copies the context's DcState onto its stack; RestoreDC copies one
// back and drops it and every state saved after it. Each state on the stack
// keeps its objects selected, so restoring never brings back a deleted
// object or a bitmap that another context has taken meanwhile: the platform
// leaves that case open, and holding the objects keeps "a bitmap in one
// context at a time" true whatever is restored.
#include "gdi/dc_state.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

// Saved states per context. Each is small, but a loop of SaveDC calls must
// not take all memory.
constexpr std::size_t kMaxSavedStates = 1u << 16;

template <class T, class Handle>
void Release(Handle handle) {
    if (T* object = Lookup<T>(handle)) --object->selections;
}

}  // namespace

void HoldBitmap(HDC dc, Bitmap* bitmap) {
    if (bitmap->stock) return;
    bitmap->selectedInto = dc;
    ++bitmap->selections;
}

void ReleaseBitmap(HBITMAP handle) {
    Bitmap* bitmap = Lookup<Bitmap>(handle);
    if (bitmap == nullptr || bitmap->stock) return;
    if (--bitmap->selections == 0) bitmap->selectedInto = nullptr;
}

void ReleasePen(HPEN handle) { Release<Pen>(handle); }
void ReleaseBrush(HBRUSH handle) { Release<Brush>(handle); }
void ReleasePalette(HPALETTE handle) { Release<Palette>(handle); }

void HoldState(HDC dc, const DcState& state) {
    if (Bitmap* bitmap = Lookup<Bitmap>(state.bitmap)) HoldBitmap(dc, bitmap);
    if (Pen* pen = Lookup<Pen>(state.pen)) HoldObject(pen);
    if (Brush* brush = Lookup<Brush>(state.brush)) HoldObject(brush);
    if (Palette* palette = Lookup<Palette>(state.palette)) HoldObject(palette);
}

void ReleaseState(const DcState& state) {
    ReleaseBitmap(state.bitmap);
    ReleasePen(state.pen);
    ReleaseBrush(state.brush);
    ReleasePalette(state.palette);
}

void ReleaseAllStates(DeviceContext* context) {
    ReleaseState(*context);
    for (const DcState& state : context->saved) ReleaseState(state);
    context->saved.clear();
}

}  // namespace standin

using namespace standin;

int WINAPI SaveDC(HDC hdc) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<int>(ERROR_INVALID_HANDLE);
    if (context->saved.size() >= kMaxSavedStates) return Fail<int>(ERROR_NOT_ENOUGH_MEMORY);
    context->saved.push_back(static_cast<const DcState&>(*context));
    HoldState(hdc, context->saved.back());
    return static_cast<int>(context->saved.size());
} catch (...) {
    return OutOfMemory<int>();
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) try {
    ApiLock lock(ApiMutex());
    DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    // A positive level names the state SaveDC returned it for; a negative
    // one counts back from the most recent (-1).
    const auto depth = static_cast<std::int64_t>(context->saved.size());
    const std::int64_t level = nSavedDC > 0 ? nSavedDC : depth + 1 + std::int64_t{nSavedDC};
    if (nSavedDC == 0 || level < 1 || level > depth) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    const auto index = static_cast<std::size_t>(level - 1);
    // The restored state's holds pass to the context; the current state's
    // and those of the states above it are given back.
    ReleaseState(*context);
    static_cast<DcState&>(*context) = context->saved[index];
    for (std::size_t i = index + 1; i < context->saved.size(); ++i) ReleaseState(context->saved[i]);
    context->saved.resize(index);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

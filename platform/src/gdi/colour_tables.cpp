// The colour table of the DIB section selected into a context
// (GetDIBColorTable, SetDIBColorTable), the colour a context would show for
// a requested one (GetNearestColor) and SetPixelV.
#include "gdi/gdi_objects.h"
#include "pixels/pixel_values.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <algorithm>

namespace standin {
namespace {

// The DIB section selected into a context, when it has a colour table;
// null (with the error set) otherwise.
Bitmap* SelectedIndexedSection(HDC hdc) {
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<Bitmap*>(ERROR_INVALID_HANDLE);
    Bitmap* bitmap = Lookup<Bitmap>(context->bitmap);
    if (bitmap == nullptr || !bitmap->dibSection || !bitmap->format().indexed())
        return Fail<Bitmap*>(ERROR_INVALID_PARAMETER);
    return bitmap;
}

// How many of `count` entries from `start` the table holds.
UINT EntriesInRange(const Bitmap& bitmap, UINT start, UINT count) {
    const UINT size = static_cast<UINT>(bitmap.dib.colorCount);
    return start >= size ? 0 : std::min(count, size - start);
}

}  // namespace
}  // namespace standin

using namespace standin;

UINT WINAPI GetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, RGBQUAD* prgbq) try {
    ApiLock lock(ApiMutex());
    const Bitmap* bitmap = SelectedIndexedSection(hdc);
    if (bitmap == nullptr || prgbq == nullptr) return bitmap == nullptr ? 0 : Fail<UINT>(ERROR_INVALID_PARAMETER);
    const UINT count = EntriesInRange(*bitmap, iStart, cEntries);
    std::copy_n(bitmap->dib.colors.begin() + iStart, count, prgbq);
    return count;
} catch (...) {
    return OutOfMemory<UINT>();
}

UINT WINAPI SetDIBColorTable(HDC hdc, UINT iStart, UINT cEntries, const RGBQUAD* prgbq) try {
    ApiLock lock(ApiMutex());
    Bitmap* bitmap = SelectedIndexedSection(hdc);
    if (bitmap == nullptr || prgbq == nullptr) return bitmap == nullptr ? 0 : Fail<UINT>(ERROR_INVALID_PARAMETER);
    // The pixels keep their indices; the colours they show change.
    const UINT count = EntriesInRange(*bitmap, iStart, cEntries);
    std::copy_n(prgbq, count, bitmap->dib.colors.begin() + iStart);
    return count;
} catch (...) {
    return OutOfMemory<UINT>();
}

COLORREF WINAPI GetNearestColor(HDC hdc, COLORREF color) try {
    ApiLock lock(ApiMutex());
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<COLORREF>(ERROR_INVALID_HANDLE, CLR_INVALID);
    color &= 0xFFFFFF;
    // The screen shows every colour; a memory context shows what its
    // bitmap stores for it.
    if (context->screen) return color;
    const RGBQUAD stored = StoredColour(SelectedBitmap(hdc)->dib, color);
    return RGB(stored.rgbRed, stored.rgbGreen, stored.rgbBlue);
} catch (...) {
    return OutOfMemory<COLORREF>(CLR_INVALID);
}

// SetPixel's work without the colour it stored: the lock is SetPixel's.
BOOL WINAPI SetPixelV(HDC hdc, int x, int y, COLORREF color) {
    return SetPixel(hdc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

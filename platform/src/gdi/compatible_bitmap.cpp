// CreateCompatibleBitmap: a bitmap in the format of a device context's
// device. The screen's is 32 bits per pixel. A memory context's device is
// whatever bitmap is selected into it: the 1 x 1 monochrome bitmap it starts
// with gives monochrome bitmaps, a 32-bit device-dependent one 32-bit ones,
// and a DIB section a DIB section of the same format and colour table.
#include "gdi/gdi_objects.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {

bool DescribeCompatible(const DeviceContext& context, int width, int height, DibDescription* out,
                        bool* dibSection) {
    const Bitmap* selected = context.screen ? nullptr : Lookup<Bitmap>(context.bitmap);
    *dibSection = selected != nullptr && selected->dibSection;
    int bitCount = selected != nullptr ? selected->format().bitCount : kScreenBitCount;
    if (!DescribeDeviceBitmap(width, height, bitCount, out)) return false;
    if (*dibSection) {
        // Same format, masks, colour table and row order; only the size differs.
        DibDescription resized = selected->dib;
        resized.width = out->width;
        resized.height = out->height;
        resized.stride = out->stride;
        resized.imageBytes = out->imageBytes;
        *out = resized;
    }
    return true;
}

}  // namespace standin

using namespace standin;

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) try {
    ApiLock lock(ApiMutex());
    EnsureStockObjects();
    const DeviceContext* context = Lookup<DeviceContext>(hdc);
    if (context == nullptr) return Fail<HBITMAP>(ERROR_INVALID_HANDLE);
    if (cx < 0 || cy < 0) return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
    DibDescription dib;
    bool dibSection = false;
    if (cx == 0 || cy == 0) {
        // A zero side gives the 1 x 1 monochrome bitmap, whatever the context.
        DescribeDeviceBitmap(1, 1, 1, &dib);
    } else if (!DescribeCompatible(*context, cx, cy, &dib, &dibSection)) {
        return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
    }
    HBITMAP bitmap = InsertBitmap(dib, dibSection);
    return bitmap != nullptr ? bitmap : Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
} catch (...) {
    return OutOfMemory<HBITMAP>();
}

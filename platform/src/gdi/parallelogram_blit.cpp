// PlgBlt: a source rectangle copied onto a parallelogram (stretch/
// parallelogram.h gives which pixels and from where), optionally through a
// monochrome mask whose 1 bits copy and 0 bits leave the destination.
//
// The source converts to the destination's format as in BitBlt, monochrome
// by the contexts' colours. A null point array or a negative width or
// height fails with ERROR_INVALID_PARAMETER (mirroring is asked for with
// the points), as do a mask that is not 1 bit a pixel and coordinates
// beyond kMaxStretchCoordinate; a bad context or mask handle fails with
// ERROR_INVALID_HANDLE. A zero extent, or three points on one line, draws
// nothing and succeeds.
#include "gdi/blit_operands.h"
#include "pixels/pixel_values.h"
#include "stretch/parallelogram.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

BOOL Parallel(HDC hdcDest, const POINT* points, HDC hdcSrc, int xSrc, int ySrc, int width, int height,
              HBITMAP hbmMask, int xMask, int yMask) {
    Operands to, from;
    if (!FindOperands(hdcDest, &to) || !FindOperands(hdcSrc, &from)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    const Bitmap* mask = nullptr;
    if (hbmMask != nullptr) {
        mask = Lookup<Bitmap>(hbmMask);
        if (mask == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
        if (mask->format().bitCount != 1) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    }
    if (points == nullptr || width < 0 || height < 0 ||
        !WithinStretchLimits({static_cast<int>(points[0].x), static_cast<int>(points[0].y),
                              static_cast<int>(points[1].x), static_cast<int>(points[1].y),
                              static_cast<int>(points[2].x), static_cast<int>(points[2].y), xSrc, ySrc, width,
                              height, xMask, yMask}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    const Parallelogram shape{points[0].x, points[0].y, points[1].x, points[1].y, points[2].x, points[2].y,
                              xSrc,        ySrc,        width,       height};
    if (width == 0 || height == 0 || !HasArea(shape)) return TRUE;  // nothing to draw

    Bitmap* target = to.bitmap;
    Bitmap* source = from.bitmap;
    const DibDescription sourceDib = SourceAsSeen(*source, *target, *to.context);
    StretchJob job(Surface(source->pixels.get(), sourceDib), Surface(target->pixels.get(), target->dib));
    job.sharedPixels = source == target;
    ConvertToMonochrome(*target, from, &job.op);
    if (mask == nullptr) {
        ParallelogramBlit(job, shape, nullptr, 0, 0);
        return TRUE;
    }
    const Surface maskRows(mask->pixels.get(), mask->dib);
    ParallelogramBlit(job, shape, &maskRows, xMask, yMask);
    return TRUE;
}

}  // namespace
}  // namespace standin

using namespace standin;

BOOL WINAPI PlgBlt(HDC hdcDest, const POINT* lpPoint, HDC hdcSrc, int xSrc, int ySrc, int width, int height,
                   HBITMAP hbmMask, int xMask, int yMask) try {
    ApiLock lock(ApiMutex());
    return Parallel(hdcDest, lpPoint, hdcSrc, xSrc, ySrc, width, height, hbmMask, xMask, yMask);
} catch (...) {
    return OutOfMemory<BOOL>();
}

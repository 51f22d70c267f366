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
// nothing and succeeds. The points are logical in the destination
// context's space and the source rectangle in the source context's
// (gdi/coordinates.h); a source mapping that turns rectangles fails with
// ERROR_NOT_SUPPORTED.
#include "gdi/blit_operands.h"
#include "gdi/clipping.h"
#include "pixels/pixel_values.h"
#include "space/coordinate_space.h"
#include "stretch/parallelogram.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <utility>

namespace standin {
namespace {

// The parallelogram on the destination's device and the source rectangle
// on the source's: the points are the destination context's logical
// corners, the rectangle the source context's logical one. A source
// mapping that reverses an axis swaps the corners along it, so the
// picture still lands the way the points say.
bool PlaceParallelogram(const Operands& to, const Operands& from, const POINT* points, int xSrc, int ySrc,
                        int width, int height, Parallelogram* out) {
    BlitArea src{xSrc, ySrc, width, height};
    if (!PlaceSource(from, &src)) return false;
    const Affine edges = MappingOnto(*to.context, *to.bitmap).edges();
    std::int64_t p[6];
    for (int i = 0; i < 3; ++i) {
        const double x = points[i].x, y = points[i].y;
        if (!RoundCoordinate(edges.X(x, y), kMaxStretchCoordinate, &p[2 * i]) ||
            !RoundCoordinate(edges.Y(x, y), kMaxStretchCoordinate, &p[2 * i + 1]))
            return Fail<bool>(ERROR_INVALID_PARAMETER);
    }
    std::int64_t ax = p[0], ay = p[1], bx = p[2], by = p[3], cx = p[4], cy = p[5];
    if (src.w < 0) {  // the source's device left edge is its logical right one
        std::swap(ax, bx), std::swap(ay, by);
        cx += ax - bx, cy += ay - by;
    }
    if (src.h < 0) {
        std::swap(ax, cx), std::swap(ay, cy);
        bx += ax - cx, by += ay - cy;
    }
    const BlitArea s = Normalized(src);
    *out = Parallelogram{ax, ay, bx, by, cx, cy, static_cast<std::int32_t>(s.x), static_cast<std::int32_t>(s.y),
                         static_cast<std::int32_t>(s.w), static_cast<std::int32_t>(s.h)};
    return WithinStretchLimits({ax, ay, bx, by, cx, cy, s.x, s.y, s.w, s.h}) || Fail<bool>(ERROR_INVALID_PARAMETER);
}

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
    if (width == 0 || height == 0) return TRUE;  // nothing to draw
    Parallelogram shape;
    if (!PlaceParallelogram(to, from, points, xSrc, ySrc, width, height, &shape)) return FALSE;
    if (!HasArea(shape)) return TRUE;  // nothing to draw

    Bitmap* target = to.bitmap;
    Bitmap* source = from.bitmap;
    const DibDescription sourceDib = SourceAsSeen(*source, *target, *to.context);
    StretchJob job(Surface(source->pixels.get(), sourceDib), Surface(target->pixels.get(), target->dib));
    job.sharedPixels = source == target;
    ConvertToMonochrome(*target, from, &job.op);
    DrawWholeBitmap(*target, &job);
    const Surface maskRows = mask != nullptr ? Surface(mask->pixels.get(), mask->dib) : Surface(nullptr, target->dib);
    const Surface* maskSurface = mask != nullptr ? &maskRows : nullptr;
    DrawClipped(*to.context, job, [&](const StretchJob& piece) {
        ParallelogramBlit(piece, shape, maskSurface, xMask, yMask);
    });
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

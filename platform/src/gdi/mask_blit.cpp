// MaskBlt: a BitBlt whose raster operation is chosen pixel by pixel by a
// monochrome mask. The ROP4 (MAKEROP4) holds the foreground operation in
// bits 16 to 23, used where the mask is 1, and the background one in bits
// 24 to 31, used where it is 0. Without a mask every pixel takes the
// foreground operation, exactly as BitBlt would.
//
// The mask is a 1-bit bitmap (any other fails with ERROR_INVALID_PARAMETER)
// read from (xMask, yMask) over the blit's width and height, which must lie
// inside it (ERROR_INVALID_PARAMETER otherwise): it covers the source
// rectangle, or the destination rectangle for operations without a source.
// Operands convert as in BitBlt (gdi/blit.cpp): the source to the
// destination's format, the brush to the destination's value, monochrome
// by the contexts' colours. Negative extents fail with
// ERROR_INVALID_PARAMETER; zero ones draw nothing and succeed. The
// destination and source rectangles are logical; their mappings may move
// them (viewport and window origins), but one that scales, mirrors or turns
// them fails with ERROR_NOT_SUPPORTED, since the mask is read pixel for
// pixel against both.
#include "gdi/blit_operands.h"
#include "gdi/brush_pattern.h"
#include "gdi/clipping.h"
#include "pixels/pixel_values.h"
#include "stretch/masked_rows.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

bool CoversRectangle(const Bitmap& mask, int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && std::int64_t{x} + w <= mask.width() && std::int64_t{y} + h <= mask.height();
}

BOOL Masked(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
            HBITMAP hbmMask, int xMask, int yMask, DWORD rop) {
    PixelOp op;
    op.code = RasterOpCode(rop);
    const std::uint8_t back = static_cast<std::uint8_t>(rop >> 24);
    const Bitmap* mask = nullptr;
    if (hbmMask != nullptr) {
        mask = Lookup<Bitmap>(hbmMask);
        if (mask == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    }
    const bool readsSource = UsesSource(op.code) || (mask != nullptr && UsesSource(back));
    const bool readsPattern = UsesPattern(op.code) || (mask != nullptr && UsesPattern(back));
    Operands to, from;
    if (!FindOperands(hdcDest, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (readsSource && !FindOperands(hdcSrc, &from)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (width < 0 || height < 0 || !WithinStretchLimits({xDest, yDest, width, height, xSrc, ySrc}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (mask != nullptr && (mask->format().bitCount != 1 || !CoversRectangle(*mask, xMask, yMask, width, height)))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    Bitmap* target = to.bitmap;
    Bitmap* source = readsSource ? from.bitmap : target;
    if (!readsSource) xSrc = xDest, ySrc = yDest;  // the destination stands in for the unread source

    if (readsPattern) {
        const Brush* brush = Lookup<Brush>(to.context->brush);
        if (brush != nullptr) op.pattern = RealizeBrush(*brush, *to.context, *target);
        if (op.pattern == nullptr) return TRUE;  // a hollow brush paints nothing
    }
    if (readsSource) ConvertToMonochrome(*target, from, &op);
    const DibDescription sourceDib = SourceAsSeen(*source, *target, *to.context);
    StretchJob job(Surface(source->pixels.get(), sourceDib), Surface(target->pixels.get(), target->dib));
    job.sharedPixels = source == target;
    job.op = op;
    BlitArea dest{xDest, yDest, width, height}, src{xSrc, ySrc, width, height};
    if (!PlaceOnDevices(to, readsSource ? &from : nullptr, KeepsOrientation(*to.context, rop), &dest, &src))
        return FALSE;
    if (!readsSource) src = dest;
    // The mask lines up with the source pixel by pixel: a mapping that
    // scales or mirrors either side has no such line-up.
    if (dest.w != width || dest.h != height || src.w != width || src.h != height)
        return Fail<BOOL>(ERROR_NOT_SUPPORTED);
    if (!PlaceStretch(&job, dest.x, dest.y, width, height, src.x, src.y, width, height)) return TRUE;  // nothing to draw
    const Surface maskRows = mask != nullptr ? Surface(mask->pixels.get(), mask->dib) : Surface(nullptr, target->dib);
    const Surface* maskSurface = mask != nullptr ? &maskRows : nullptr;
    const auto maskX = static_cast<std::int32_t>(xMask - dest.x), maskY = static_cast<std::int32_t>(yMask - dest.y);
    DrawClipped(*to.context, job, [&](const StretchJob& piece) {
        MaskedBlit(piece, back, readsSource, maskSurface, maskX, maskY);
    });
    return TRUE;
}

}  // namespace
}  // namespace standin

using namespace standin;

BOOL WINAPI MaskBlt(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
                    HBITMAP hbmMask, int xMask, int yMask, DWORD rop) try {
    ApiLock lock(ApiMutex());
    return Masked(hdcDest, xDest, yDest, width, height, hdcSrc, xSrc, ySrc, hbmMask, xMask, yMask, rop);
} catch (...) {
    return OutOfMemory<BOOL>();
}

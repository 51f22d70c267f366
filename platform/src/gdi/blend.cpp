// AlphaBlend (and GdiAlphaBlend, the same call under the name gdi32 exports
// it by): a source laid over the destination with constant alpha, per-pixel
// premultiplied alpha, or both, stretched like COLORONCOLOR.
//
// The checks the platform documents, each failing with
// ERROR_INVALID_PARAMETER: BlendOp other than AC_SRC_OVER, non-zero
// BlendFlags, an AlphaFormat other than 0 or AC_SRC_ALPHA, a negative width
// or height on either side (AlphaBlend does not mirror), a source rectangle
// not wholly inside the source bitmap, AC_SRC_ALPHA with a source that is
// not 32 bits a pixel, and a source and destination rectangle that overlap
// in one bitmap. A zero extent, or a constant alpha of 0, changes nothing and
// succeeds. Both rectangles are logical, each in its context's space; the
// last three checks look at them on the devices (gdi/coordinates.h), where
// an axis the mappings reverse mirrors the picture. A mapping that turns
// rectangles fails with ERROR_NOT_SUPPORTED.
//
// The formulas (stretch/blend_rows.h) apply to all four bytes of a 32-bit
// BI_RGB destination, its fourth byte being its alpha; other destinations
// take the blended colours in their own format (the nearest colour-table
// entry at 8 bits or fewer). A monochrome source shows the destination
// context's text and background colours, as in every blit.
#include "gdi/blit_operands.h"
#include "gdi/clipping.h"
#include "stretch/blend.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

bool ValidFunction(const BLENDFUNCTION& f) {
    return f.BlendOp == AC_SRC_OVER && f.BlendFlags == 0 && (f.AlphaFormat & ~AC_SRC_ALPHA) == 0;
}

bool InsideBitmap(const Bitmap& bitmap, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    return x >= 0 && y >= 0 && x + w <= bitmap.width() && y + h <= bitmap.height();
}

bool Overlap(std::int64_t x0, std::int64_t y0, std::int64_t w0, std::int64_t h0, std::int64_t x1, std::int64_t y1,
             std::int64_t w1, std::int64_t h1) {
    return x0 < x1 + w1 && x1 < x0 + w0 && y0 < y1 + h1 && y1 < y0 + h0;
}

BOOL Blend(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
           int hSrc, BLENDFUNCTION ftn) {
    Operands to, from;
    if (!FindOperands(hdcDest, &to) || !FindOperands(hdcSrc, &from)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (!ValidFunction(ftn) || wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0 ||
        !WithinStretchLimits({xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    BlitArea dest{xDest, yDest, wDest, hDest}, src{xSrc, ySrc, wSrc, hSrc};
    if (!PlaceOnDevices(to, &from, KeepsOrientation(*to.context, 0), &dest, &src)) return FALSE;
    const BlitArea d = Normalized(dest), s = Normalized(src);
    if (!InsideBitmap(*from.bitmap, s.x, s.y, s.w, s.h)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    BlendParameters blend;
    blend.constantAlpha = ftn.SourceConstantAlpha;
    blend.perPixel = (ftn.AlphaFormat & AC_SRC_ALPHA) != 0;
    if (blend.perPixel && !HasAlphaByte(from.bitmap->format())) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (to.bitmap == from.bitmap && Overlap(d.x, d.y, d.w, d.h, s.x, s.y, s.w, s.h))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (blend.constantAlpha == 0) return TRUE;  // a transparent source leaves every pixel as it was

    const DibDescription sourceDib = SourceAsSeen(*from.bitmap, *to.bitmap, *to.context);
    StretchJob job(Surface(from.bitmap->pixels.get(), sourceDib), Surface(to.bitmap->pixels.get(), to.bitmap->dib));
    if (!PlaceStretch(&job, dest.x, dest.y, dest.w, dest.h, src.x, src.y, src.w, src.h)) return TRUE;  // nothing to draw
    DrawClipped(*to.context, job, [&](const StretchJob& piece) { BlendStretch(piece, blend); });
    return TRUE;
}

}  // namespace
}  // namespace standin

using namespace standin;

BOOL WINAPI AlphaBlend(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                       int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, BLENDFUNCTION ftn) try {
    ApiLock lock(ApiMutex());
    return Blend(hdcDest, xoriginDest, yoriginDest, wDest, hDest, hdcSrc, xoriginSrc, yoriginSrc, wSrc, hSrc, ftn);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GdiAlphaBlend(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                          int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, BLENDFUNCTION ftn) {
    return AlphaBlend(hdcDest, xoriginDest, yoriginDest, wDest, hDest, hdcSrc, xoriginSrc, yoriginSrc, wSrc, hSrc,
                      ftn);
}

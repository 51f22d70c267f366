// TransparentBlt (and GdiTransparentBlt, its gdi32 name): StretchBlt's
// SRCCOPY with one source colour left out.
//
// The source is stretched like COLORONCOLOR whatever the context's mode
// (the platform turns BLACKONWHITE and WHITEONBLACK into COLORONCOLOR for
// this call), clipped as StretchBlt clips (stretch/geometry.h). A source
// pixel whose colour is crTransparent leaves its destination pixel alone.
// The colour is compared as the source stores it: at 8 bits or fewer with
// the colour-table entry's colour exactly, above with the colour as the
// source's format would store crTransparent (so a 5-5-5 source matches the
// colours that share its 15 bits). 32-bit sources copy their fourth byte.
// The platform does not mirror here: a negative extent fails with
// ERROR_INVALID_PARAMETER, and a zero one draws nothing and succeeds.
// Both rectangles are logical, each mapped through its context's space as
// in StretchBlt. A destination that a world transform turns takes PlgBlt's
// parallelogram (each pixel the source pixel under its centre); a source
// context whose own mapping turns fails with ERROR_NOT_SUPPORTED.
#include "gdi/blit_operands.h"
#include "gdi/clipping.h"
#include "pixels/pixel_values.h"
#include "stretch/masked_rows.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

RGBQUAD KeyAsStored(const DibDescription& source, UINT colour) {
    if (source.format.indexed())
        return RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    return StoredColour(source, colour & 0x00FFFFFF);
}

BOOL Transparent(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                 int wSrc, int hSrc, UINT crTransparent) {
    Operands to, from;
    if (!FindOperands(hdcDest, &to) || !FindOperands(hdcSrc, &from)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0 ||
        !WithinStretchLimits({xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    Bitmap* target = to.bitmap;
    Bitmap* source = from.bitmap;
    const DibDescription sourceDib = SourceAsSeen(*source, *target, *to.context);
    StretchJob job(Surface(source->pixels.get(), sourceDib), Surface(target->pixels.get(), target->dib));
    job.sharedPixels = source == target;
    ConvertToMonochrome(*target, from, &job.op);
    BlitArea dest{xDest, yDest, wDest, hDest}, src{xSrc, ySrc, wSrc, hSrc};
    const RGBQUAD key = KeyAsStored(sourceDib, crTransparent);
    const LogicalMapping onto = MappingOnto(*to.context, *target);
    if (!onto.axisAligned()) {  // a turned sprite: PlgBlt's parallelogram, the key left out
        Parallelogram shape;
        if (!PlaceSource(from, &src) || !TurnedShape(TurnedCorners(onto, dest, &src), src, &shape)) return FALSE;
        if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0 || !HasArea(shape)) return TRUE;
        DrawWholeBitmap(*target, &job);
        DrawClipped(*to.context, job, [&](const StretchJob& piece) { ParallelogramBlit(piece, shape, nullptr, 0, 0, &key); });
        return TRUE;
    }
    if (!PlaceOnDevices(to, &from, KeepsOrientation(*to.context, 0), &dest, &src)) return FALSE;
    if (!PlaceStretch(&job, dest.x, dest.y, dest.w, dest.h, src.x, src.y, src.w, src.h)) return TRUE;  // nothing to draw
    DrawClipped(*to.context, job, [&](const StretchJob& piece) { KeyedStretch(piece, key); });
    return TRUE;
}

}  // namespace
}  // namespace standin

using namespace standin;

BOOL WINAPI TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                           int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) try {
    ApiLock lock(ApiMutex());
    return Transparent(hdcDest, xoriginDest, yoriginDest, wDest, hDest, hdcSrc, xoriginSrc, yoriginSrc, wSrc, hSrc,
                       crTransparent);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GdiTransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                              int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) {
    return TransparentBlt(hdcDest, xoriginDest, yoriginDest, wDest, hDest, hdcSrc, xoriginSrc, yoriginSrc, wSrc,
                          hSrc, crTransparent);
}

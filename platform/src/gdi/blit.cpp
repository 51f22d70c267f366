// StretchBlt and BitBlt between memory device contexts: argument checks,
// clipping, the operands of the raster operation and the choice of pixel
// routine.
//
// Every ternary raster operation is supported. Only bits 16 to 23 of the
// raster-operation DWORD choose it, as on the platform: the low word (the
// operation's encoding for drivers) and the CAPTUREBLT and NOMIRRORBITMAP
// flags are ignored. Operations combine pixel values (colour-table indices
// at 8 bits or fewer, packed bits above; see stretch/raster_op.h): the
// stretched source is first converted to the destination's format, the
// destination context's brush to the destination's values for its colours,
// its pattern aligned to the context's brush origin (gdi/brush_pattern.h).
// An operation that reads no source does not look at hdcSrc; one that reads
// the pattern draws nothing while a hollow brush is selected.
//
// Monochrome bitmaps (pixels/pixel_values.h) convert by the contexts'
// colours: from monochrome, 0 bits become the destination context's text
// colour and 1 bits its background colour; to monochrome, source pixels of
// the source context's background colour become 1 and all others 0. Other
// formats convert through their colour tables.
//
// A zero extent draws nothing and succeeds; an origin or extent beyond
// kMaxStretchCoordinate fails with ERROR_INVALID_PARAMETER. Clipping is
// described in stretch/geometry.h. BitBlt is the same operation with equal
// extents, which every stretching mode copies unchanged; only StretchBlt
// takes part in fault injection.
#include "support/api_boundary.h"
#include "support/fault_injection.h"
#include "gdi/blit.h"
#include "gdi/blit_operands.h"
#include "gdi/color_ref.h"
#include "gdi/brush_pattern.h"
#include "pixels/pixel_values.h"
#include "support/last_error.h"
#include "stretch/fast_paths.h"
#include "stretch/job.h"

#include <algorithm>

namespace standin {
namespace {

DrawnRange ClipToBitmap(const AxisMapping& m, std::int32_t limit) {
    std::int64_t lo = std::max<std::int64_t>(m.destStart, 0);
    std::int64_t hi = std::min<std::int64_t>(m.destStart + m.destSpan, limit);
    if (lo >= hi) return DrawnRange{};
    return DrawnRange{static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi - lo)};
}

ScanMode ScanModeFor(int stretchMode) {
    switch (stretchMode) {
        case COLORONCOLOR: return ScanMode::Delete;
        case WHITEONBLACK: return ScanMode::Or;
        default: return ScanMode::And;
    }
}

void DrawStretch(const StretchJob& job, int stretchMode) {
    const int direct = DirectPixelBytes(job);
    if (direct != 0 && IsPlainCopy(job)) return CopyRows(job, direct);
    const int sameBytes = DirectFormatBytes(job);
    if (sameBytes != 0 && IsPlainCopy(job)) return CombineRows(job, sameBytes);
    if (stretchMode == HALFTONE) return AverageArea(job);
    ScanStretch(job, ScanModeFor(stretchMode));
}

// The destination half of every blit: the coordinate limits, the brush,
// the mapping and clipping of both axes and the pixel routine. `source` is
// null for an operation that reads none. `rowsDrawn`, when given, receives
// the number of destination rows written. The caller holds the API lock.
BOOL StretchOnto(const Operands& to, PixelOp op, const SourceImage* source, int xDest, int yDest, int wDest,
                 int hDest, int xSrc, int ySrc, int wSrc, int hSrc, std::int32_t* rowsDrawn) {
    if (rowsDrawn != nullptr) *rowsDrawn = 0;
    if (!WithinStretchLimits({xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    Bitmap* target = to.bitmap;
    if (UsesPattern(op.code)) {
        const Brush* brush = Lookup<Brush>(to.context->brush);
        if (brush != nullptr) op.pattern = RealizeBrush(*brush, *to.context, *target);
        if (op.pattern == nullptr) return TRUE;  // a hollow brush paints nothing
    }
    // An operation that reads no source ignores the source rectangle.
    if (source == nullptr) wSrc = wDest, hSrc = hDest;

    const Surface targetSurface(target->pixels.get(), target->dib);
    StretchJob job(source != nullptr ? Surface(source->pixels, source->dib) : targetSurface, targetSurface);
    job.sharedPixels = source == nullptr || source->pixels == target->pixels.get();
    job.op = op;
    if (!MakeAxisMapping(xDest, wDest, xSrc, wSrc, &job.x) ||
        !MakeAxisMapping(yDest, hDest, ySrc, hSrc, &job.y))
        return TRUE;  // nothing to draw
    if (source == nullptr) {
        job.columns = ClipToBitmap(job.x, target->width());
        job.rows = ClipToBitmap(job.y, target->height());
    } else {
        job.columns = ClipAxis(job.x, target->width(), source->dib.width);
        job.rows = ClipAxis(job.y, target->height(), source->dib.height);
    }
    if (job.columns.count == 0 || job.rows.count == 0) return TRUE;

    if (source == nullptr) {
        PaintTarget(job.target, job.columns, job.rows, job.op);
    } else {
        DrawStretch(job, to.context->stretchMode);
    }
    if (rowsDrawn != nullptr) *rowsDrawn = job.rows.count;
    return TRUE;
}

// The whole operation between two contexts; the caller holds the API lock.
BOOL Blit(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
          int ySrc, int wSrc, int hSrc, DWORD rop) {
    PixelOp op;
    op.code = RasterOpCode(rop);
    const bool readsSource = UsesSource(op.code);
    Operands to, from;
    if (!FindOperands(hdcDest, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (!readsSource) return StretchOnto(to, op, nullptr, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, nullptr);
    if (!FindOperands(hdcSrc, &from)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    const Bitmap* source = from.bitmap;
    ConvertToMonochrome(*to.bitmap, from, &op);
    const SourceImage image{source->pixels.get(), SourceAsSeen(*source, *to.bitmap, *to.context)};
    return StretchOnto(to, op, &image, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, nullptr);
}

}  // namespace

BOOL StretchDibOnto(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, const SourceImage& image, int xSrc,
                    int ySrc, int wSrc, int hSrc, DWORD rop, std::int32_t* rowsDrawn) {
    PixelOp op;
    op.code = RasterOpCode(rop);
    Operands to;
    if (!FindOperands(hdcDest, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    const SourceImage* source = UsesSource(op.code) ? &image : nullptr;
    return StretchOnto(to, op, source, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, rowsDrawn);
}

}  // namespace standin

using namespace standin;

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc,
                       int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) try {
    ApiLock lock(ApiMutex());
    if (InjectedFailure(Call::StretchBlt)) return Fail<BOOL>(ERROR_NOT_ENOUGH_MEMORY);
    return Blit(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) try {
    ApiLock lock(ApiMutex());
    return Blit(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
} catch (...) {
    return OutOfMemory<BOOL>();
}

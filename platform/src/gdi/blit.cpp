// StretchBlt and BitBlt between memory device contexts: argument checks,
// clipping, the operands of the raster operation and the choice of pixel
// routine.
//
// Every ternary raster operation is supported. Only bits 16 to 23 of the
// raster-operation DWORD choose it, as on the platform: the low word (the
// operation's encoding for drivers) and the CAPTUREBLT flag are ignored. Operations combine pixel values (colour-table indices
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
// Both rectangles are logical: the destination's in the destination
// context's space, the source's in the source context's (gdi/coordinates.h).
// A mapping that scales makes a BitBlt a stretch through the same engine; an
// axis a mapping reverses mirrors the picture, except a right-to-left
// layout's under LAYOUT_BITMAPORIENTATIONPRESERVED or NOMIRRORBITMAP. A
// world transform that turns the destination paints a parallelogram
// (TurnedOnto below).
//
// A zero extent draws nothing and succeeds; an origin or extent beyond
// kMaxStretchCoordinate on the device fails with ERROR_INVALID_PARAMETER.
// Clipping is described in stretch/geometry.h. BitBlt is the same operation with equal
// extents, which every stretching mode copies unchanged; only StretchBlt
// takes part in fault injection.
#include "support/api_boundary.h"
#include "support/fault_injection.h"
#include "gdi/blit.h"
#include "gdi/blit_operands.h"
#include "gdi/clipping.h"
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

// The destination half of every blit, on device pixels: the coordinate
// limits, the brush, the mapping and clipping of both axes and the pixel
// routine. `source` is null for an operation that reads none. `rowsDrawn`,
// when given, receives the number of destination rows written. The caller
// holds the API lock.
BOOL StretchOnto(const Operands& to, PixelOp op, const SourceImage* source, BlitArea dest, BlitArea src,
                 std::int32_t* rowsDrawn) {
    if (rowsDrawn != nullptr) *rowsDrawn = 0;
    if (!WithinStretchLimits({dest.x, dest.y, dest.w, dest.h, src.x, src.y, src.w, src.h}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    Bitmap* target = to.bitmap;
    if (UsesPattern(op.code)) {
        const Brush* brush = Lookup<Brush>(to.context->brush);
        if (brush != nullptr) op.pattern = RealizeBrush(*brush, *to.context, *target);
        if (op.pattern == nullptr) return TRUE;  // a hollow brush paints nothing
    }
    // An operation that reads no source ignores the source rectangle.
    if (source == nullptr) src.w = dest.w, src.h = dest.h;

    const Surface targetSurface(target->pixels.get(), target->dib);
    StretchJob job(source != nullptr ? Surface(source->pixels, source->dib) : targetSurface, targetSurface);
    job.sharedPixels = source == nullptr || source->pixels == target->pixels.get();
    job.op = op;
    if (!MakeAxisMapping(dest.x, dest.w, src.x, src.w, &job.x) || !MakeAxisMapping(dest.y, dest.h, src.y, src.h, &job.y))
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
        DrawClip(*to.context).Rectangles(job.columns, job.rows, [&](DrawnRange columns, DrawnRange rows) {
            PaintTarget(job.target, columns, rows, job.op);
        });
    } else {
        DrawClipped(*to.context, job, [&](const StretchJob& piece) { DrawStretch(piece, to.context->stretchMode); });
    }
    if (rowsDrawn != nullptr) *rowsDrawn = job.rows.count;
    return TRUE;
}

// A blit whose destination a rotation or shear turns: the rectangle's
// corners become a parallelogram, painted by PlgBlt's rule. A source is
// read as PlgBlt reads it, in every stretching mode: each destination pixel
// takes the source pixel under its centre, then the raster operation.
BOOL TurnedOnto(const Operands& to, PixelOp op, const SourceImage* source, const LogicalMapping& mapping,
                BlitArea dest, BlitArea src) {
    if (!WithinStretchLimits({dest.x, dest.y, dest.w, dest.h, src.x, src.y, src.w, src.h}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (dest.w == 0 || dest.h == 0 || (source != nullptr && (src.w == 0 || src.h == 0))) return TRUE;
    const Corners corners = TurnedCorners(mapping, dest, source != nullptr ? &src : nullptr);
    Bitmap* target = to.bitmap;
    const Surface targetSurface(target->pixels.get(), target->dib);
    if (UsesPattern(op.code)) {
        const Brush* brush = Lookup<Brush>(to.context->brush);
        if (brush != nullptr) op.pattern = RealizeBrush(*brush, *to.context, *target);
        if (op.pattern == nullptr) return TRUE;  // a hollow brush paints nothing
    }
    if (source == nullptr) {
        PaintParallelogram(targetSurface, DrawClip(*to.context), corners, op);
        return TRUE;
    }
    Parallelogram shape;
    if (!TurnedShape(corners, src, &shape)) return FALSE;
    if (!HasArea(shape)) return TRUE;
    StretchJob job(Surface(source->pixels, source->dib), targetSurface);
    job.sharedPixels = source->pixels == target->pixels.get();
    job.op = op;
    DrawWholeBitmap(*target, &job);
    DrawClipped(*to.context, job, [&](const StretchJob& piece) { ParallelogramBlit(piece, shape, nullptr, 0, 0); });
    return TRUE;
}

// Maps the logical destination area through the destination's mapping and
// draws: a stretch when rectangles stay rectangles, a parallelogram when
// they turn. `src` is already in the source's own pixels.
BOOL DrawOnto(const Operands& to, const PixelOp& op, const SourceImage* source, BlitArea dest, BlitArea src,
              bool keepOrientation, std::int32_t* rowsDrawn) {
    const LogicalMapping mapping = MappingOnto(*to.context, *to.bitmap);
    if (!mapping.axisAligned()) {
        if (rowsDrawn != nullptr) *rowsDrawn = 0;
        return TurnedOnto(to, op, source, mapping, dest, src);
    }
    if (!mapping.AreaToDevice(dest, keepOrientation, &dest)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    return StretchOnto(to, op, source, dest, src, rowsDrawn);
}

// The whole operation between two contexts; the caller holds the API lock.
BOOL Blit(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
          int ySrc, int wSrc, int hSrc, DWORD rop) {
    PixelOp op;
    op.code = RasterOpCode(rop);
    const bool readsSource = UsesSource(op.code);
    Operands to, from;
    if (!FindOperands(hdcDest, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    const BlitArea dest{xDest, yDest, wDest, hDest};
    BlitArea src{xSrc, ySrc, wSrc, hSrc};
    const bool keep = KeepsOrientation(*to.context, rop);
    if (!readsSource) return DrawOnto(to, op, nullptr, dest, src, keep, nullptr);
    if (!FindOperands(hdcSrc, &from)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (!PlaceSource(from, &src)) return FALSE;
    const Bitmap* source = from.bitmap;
    ConvertToMonochrome(*to.bitmap, from, &op);
    const SourceImage image{source->pixels.get(), SourceAsSeen(*source, *to.bitmap, *to.context)};
    return DrawOnto(to, op, &image, dest, src, keep, nullptr);
}

}  // namespace

BOOL StretchDibOnto(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, const SourceImage& image, int xSrc,
                    int ySrc, int wSrc, int hSrc, DWORD rop, std::int32_t* rowsDrawn) {
    PixelOp op;
    op.code = RasterOpCode(rop);
    Operands to;
    if (!FindOperands(hdcDest, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    const SourceImage* source = UsesSource(op.code) ? &image : nullptr;
    return DrawOnto(to, op, source, BlitArea{xDest, yDest, wDest, hDest}, BlitArea{xSrc, ySrc, wSrc, hSrc},
                    KeepsOrientation(*to.context, rop), rowsDrawn);
}

BOOL PixelsOnto(HDC hdcDest, int xDest, int yDest, const SourceImage& image, int xSrc, int ySrc, int width,
                int height, std::int32_t* rowsDrawn) {
    Operands to;
    if (!FindOperands(hdcDest, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    const LogicalMapping mapping = MappingOnto(*to.context, *to.bitmap);
    std::int64_t x = 0, y = 0;
    if (!mapping.ToDevice(xDest, yDest, &x, &y)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    // Under a right-to-left layout the origin is the picture's right-hand
    // corner: the picture lies to its left, unmirrored.
    if (to.context->space.rightToLeft()) x -= std::int64_t{width} - 1;
    PixelOp op;
    return StretchOnto(to, op, &image, BlitArea{x, y, width, height}, BlitArea{xSrc, ySrc, width, height},
                       rowsDrawn);
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

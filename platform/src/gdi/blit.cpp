// StretchBlt and BitBlt between memory device contexts: argument checks,
// clipping, and the choice of pixel routine.
//
// Both contexts need a bitmap of the caller's selected; a context that still
// holds the stock 1 x 1 bitmap it was made with has nothing to draw on and
// fails. Supported raster operations: SRCCOPY, SRCAND, SRCPAINT, SRCINVERT
// (applied to the colours, byte by byte, before packing into the
// destination's format), and BLACKNESS and WHITENESS, which read no source
// (hdcSrc is then not looked at). Any other raster operation fails with
// ERROR_NOT_SUPPORTED. A zero extent draws nothing and succeeds; an origin or
// extent beyond kMaxStretchCoordinate fails with ERROR_INVALID_PARAMETER.
// Clipping is described in stretch_geometry.h. Pixels convert between
// formats through their colour tables, monochrome ones included (contexts
// here have no text and background colours). BitBlt is the same operation
// with equal extents, which every stretching mode copies unchanged; only
// StretchBlt takes part in fault injection.
#include "support/api_boundary.h"
#include "support/fault_injection.h"
#include "gdi/gdi_objects.h"
#include "support/last_error.h"
#include "stretch/fast_paths.h"
#include "stretch/job.h"

#include <algorithm>
#include <initializer_list>

namespace standin {
namespace {

constexpr std::uint8_t kBlackLevel = 0;
constexpr std::uint8_t kWhiteLevel = 255;

struct RopPlan {
    bool supported = false;
    bool readsSource = true;
    RasterOp op = RasterOp::Copy;
    std::uint8_t fillLevel = kBlackLevel;
};

RopPlan PlanRop(DWORD rop) {
    switch (rop) {
        case SRCCOPY: return RopPlan{true, true, RasterOp::Copy};
        case SRCAND: return RopPlan{true, true, RasterOp::And};
        case SRCPAINT: return RopPlan{true, true, RasterOp::Or};
        case SRCINVERT: return RopPlan{true, true, RasterOp::Xor};
        case BLACKNESS: return RopPlan{true, false, RasterOp::Copy, kBlackLevel};
        case WHITENESS: return RopPlan{true, false, RasterOp::Copy, kWhiteLevel};
        default: return RopPlan{};
    }
}

Bitmap* DrawingBitmap(HDC dc) {
    Bitmap* bitmap = SelectedBitmap(dc);
    return bitmap != nullptr && !bitmap->stock ? bitmap : nullptr;
}

bool WithinLimits(std::initializer_list<int> values) {
    return std::all_of(values.begin(), values.end(), [](int v) {
        std::int64_t magnitude = v < 0 ? -std::int64_t{v} : v;
        return magnitude <= kMaxStretchCoordinate;
    });
}

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
    if (stretchMode == HALFTONE) return AverageArea(job);
    ScanStretch(job, ScanModeFor(stretchMode));
}

// The whole operation; the caller holds the API lock.
BOOL Blit(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
          int ySrc, int wSrc, int hSrc, DWORD rop) {
    const RopPlan plan = PlanRop(rop);
    if (!plan.supported) return Fail<BOOL>(ERROR_NOT_SUPPORTED);
    Bitmap* target = DrawingBitmap(hdcDest);
    Bitmap* source = plan.readsSource ? DrawingBitmap(hdcSrc) : target;
    if (target == nullptr || source == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (!WithinLimits({xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc}))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);

    // An operation that reads no source ignores the source rectangle.
    if (!plan.readsSource) wSrc = wDest, hSrc = hDest;

    StretchJob job(Surface(source->pixels.get(), source->dib),
                   Surface(target->pixels.get(), target->dib));
    job.sharedPixels = source == target;
    job.op = plan.op;
    if (!MakeAxisMapping(xDest, wDest, xSrc, wSrc, &job.x) ||
        !MakeAxisMapping(yDest, hDest, ySrc, hSrc, &job.y))
        return TRUE;  // nothing to draw
    if (!plan.readsSource) {
        job.columns = ClipToBitmap(job.x, target->width());
        job.rows = ClipToBitmap(job.y, target->height());
    } else {
        job.columns = ClipAxis(job.x, target->width(), source->width());
        job.rows = ClipAxis(job.y, target->height(), source->height());
    }
    if (job.columns.count == 0 || job.rows.count == 0) return TRUE;

    if (!plan.readsSource) {
        FillTarget(job.target, job.columns, job.rows, plan.fillLevel);
    } else {
        DrawStretch(job, Lookup<DeviceContext>(hdcDest)->stretchMode);
    }
    return TRUE;
}

}  // namespace
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

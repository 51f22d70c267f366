#include "space/page_mapping.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace standin {
namespace {

// A fixed mode's logical units per millimetre, as a fraction: MM_LOMETRIC
// counts tenths of a millimetre, MM_LOENGLISH hundredths of an inch
// (25.4 mm), MM_TWIPS 1440ths of an inch.
struct UnitsPerMm {
    std::int64_t numerator, denominator;
};

UnitsPerMm FixedUnits(int mode) {
    switch (mode) {
        case MM_LOMETRIC: return {10, 1};
        case MM_HIMETRIC: return {100, 1};
        case MM_LOENGLISH: return {1000, 254};
        case MM_HIENGLISH: return {10000, 254};
        default: return {14400, 254};  // MM_TWIPS
    }
}

// A device size in millimetres in the mode's units, to the nearest unit.
LONG InUnits(int millimetres, UnitsPerMm u) {
    return static_cast<LONG>((millimetres * u.numerator * 2 + u.denominator) / (2 * u.denominator));
}

LONG Magnitude(LONG v) { return v < 0 ? -v : v; }

// `magnitude` rounded into 1 .. LONG's largest, with the sign of `like`.
LONG WithSignOf(double magnitude, LONG like) {
    const double limited =
        std::fmin(std::fmax(magnitude, 1.0), static_cast<double>(std::numeric_limits<LONG>::max()));
    const auto v = static_cast<LONG>(std::llround(limited));
    return like < 0 ? -v : v;
}

}  // namespace

bool ValidMapMode(int mode) { return mode >= MM_TEXT && mode <= MM_ANISOTROPIC; }

bool ScalableMode(int mode) { return mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC; }

void ChangeMapMode(PageMapping* page, int mode, const DeviceSize& device) {
    const int previous = page->mode;
    page->mode = mode;
    if (mode == MM_ANISOTROPIC || (mode == MM_ISOTROPIC && previous == MM_ISOTROPIC)) return;
    if (mode == MM_TEXT) {
        page->windowExtent = SIZE{1, 1};
        page->viewportExtent = SIZE{1, 1};
        return;
    }
    const UnitsPerMm units = FixedUnits(mode == MM_ISOTROPIC ? MM_LOMETRIC : mode);
    page->windowExtent = SIZE{InUnits(device.widthMm, units), InUnits(device.heightMm, units)};
    page->viewportExtent = SIZE{device.widthPixels, -device.heightPixels};
    KeepIsotropic(page, device);
}

void KeepIsotropic(PageMapping* page, const DeviceSize& device) {
    if (page->mode != MM_ISOTROPIC) return;
    // Millimetres a logical unit spans on each axis, up to a common factor.
    const double wx = Magnitude(page->windowExtent.cx), wy = Magnitude(page->windowExtent.cy);
    const double vx = Magnitude(page->viewportExtent.cx), vy = Magnitude(page->viewportExtent.cy);
    const double acrossPerPixel = static_cast<double>(device.widthMm) / device.widthPixels;
    const double downPerPixel = static_cast<double>(device.heightMm) / device.heightPixels;
    const double across = vx * acrossPerPixel / wx, down = vy * downPerPixel / wy;
    if (across > down)
        page->viewportExtent.cx = WithSignOf(down * wx / acrossPerPixel, page->viewportExtent.cx);
    else if (down > across)
        page->viewportExtent.cy = WithSignOf(across * wy / downPerPixel, page->viewportExtent.cy);
}

Affine PageToDevice(const PageMapping& page) {
    Affine a;
    a.m11 = static_cast<double>(page.viewportExtent.cx) / page.windowExtent.cx;
    a.m22 = static_cast<double>(page.viewportExtent.cy) / page.windowExtent.cy;
    a.dx = page.viewportOrigin.x - page.windowOrigin.x * a.m11;
    a.dy = page.viewportOrigin.y - page.windowOrigin.y * a.m22;
    return a;
}

}  // namespace standin

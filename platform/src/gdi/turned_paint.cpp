#include "gdi/turned_paint.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

// The centres x + 1/2 of a row where f0 + k (x + 1/2) lies in [0, 1),
// narrowed into [*lo, *hi) (pixel columns).
void Narrow(double f0, double k, double* lo, double* hi) {
    if (k == 0) {
        if (f0 < 0 || f0 >= 1) *hi = *lo;
        return;
    }
    double a = -f0 / k, b = (1 - f0) / k;  // the centres where f is 0 and 1
    if (k < 0) std::swap(a, b);
    // Columns whose centre c = x + 1/2 satisfies a <= c < b (k > 0), or
    // a < c <= b (k < 0): the boundary goes to the side where f is 0.
    const double first = k > 0 ? std::ceil(a - 0.5) : std::floor(a - 0.5) + 1;
    const double end = k > 0 ? std::ceil(b - 0.5) : std::floor(b - 0.5) + 1;
    *lo = std::max(*lo, first);
    *hi = std::min(*hi, end);
}

}  // namespace

void PaintParallelogram(const Surface& target, const DrawClip& clip, const Corners& c, const PixelOp& op) {
    const double abx = c.bx - c.ax, aby = c.by - c.ay, acx = c.cx - c.ax, acy = c.cy - c.ay;
    const double det = abx * acy - aby * acx;
    if (det == 0 || !std::isfinite(det)) return;
    const double dy = c.by + c.cy - c.ay;  // the fourth corner's y
    const double width = target.dib().width, height = target.dib().height;
    const double top = std::max(0.0, std::floor(std::min({c.ay, c.by, c.cy, dy})));
    const double bottom = std::min(height, std::ceil(std::max({c.ay, c.by, c.cy, dy})));
    for (double y = top; y < bottom; ++y) {
        const double py = y + 0.5 - c.ay;
        // s = ((P - A) x AC) / det and t = (AB x (P - A)) / det, linear in
        // the centre's x.
        const double s0 = (-c.ax * acy - py * acx) / det, sk = acy / det;
        const double t0 = (abx * py + aby * c.ax) / det, tk = -aby / det;
        if (!std::isfinite(s0) || !std::isfinite(sk) || !std::isfinite(t0) || !std::isfinite(tk)) continue;
        double lo = 0, hi = width;
        Narrow(s0, sk, &lo, &hi);
        Narrow(t0, tk, &lo, &hi);
        if (lo >= hi) continue;
        clip.Rectangles(DrawnRange{static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi - lo)},
                        DrawnRange{static_cast<std::int32_t>(y), 1},
                        [&](DrawnRange columns, DrawnRange row) { PaintTarget(target, columns, row, op); });
    }
}

}  // namespace standin

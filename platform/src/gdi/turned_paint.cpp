#include "gdi/turned_paint.h"

#include "raster/polygon.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

// Far beyond any bitmap, and small enough that raster/'s exact crossings
// stay inside their 128 bits.
constexpr double kFarthestCorner = 1099511627776.0;  // 2^40 pixels

std::int64_t Fixed(double v) {
    const double held = std::isnan(v) ? 0 : std::fmin(std::fmax(v, -kFarthestCorner), kFarthestCorner);
    return static_cast<std::int64_t>(std::llround(held * kSubpixel));
}

}  // namespace

void PaintParallelogram(const Surface& target, const DrawClip& clip, const Corners& c, const PixelOp& op) {
    // Around the figure: A, B, D = B + C - A, C.
    const double xs[4] = {c.ax, c.bx, c.bx + c.cx - c.ax, c.cx};
    const double ys[4] = {c.ay, c.by, c.by + c.cy - c.ay, c.cy};
    FixedPoint quad[4];
    for (int i = 0; i < 4; ++i) quad[i] = FixedPoint{Fixed(xs[i]), Fixed(ys[i])};
    const auto [low, high] = std::minmax({quad[0].y, quad[1].y, quad[2].y, quad[3].y});
    const std::int64_t width = target.dib().width, height = target.dib().height;
    const std::int64_t top = std::max<std::int64_t>(0, low / kSubpixel - 1);
    const std::int64_t bottom = std::min<std::int64_t>(height, high / kSubpixel + 1);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::int64_t left = 0, right = 0;
        if (!ConvexRow(quad, 4, y, &left, &right)) continue;
        left = std::max<std::int64_t>(left, 0), right = std::min(right, width);
        if (left >= right) continue;
        clip.Rectangles(DrawnRange{static_cast<std::int32_t>(left), static_cast<std::int32_t>(right - left)},
                        DrawnRange{static_cast<std::int32_t>(y), 1},
                        [&](DrawnRange columns, DrawnRange row) { PaintTarget(target, columns, row, op); });
    }
}

}  // namespace standin

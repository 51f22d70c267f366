#include "gdi/figure_paths.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace standin {
namespace {

constexpr double kQuarterTurn = 1.5707963267948966;

void Add(std::vector<POINT>* path, double x, double y) {
    const POINT p{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
    if (path->empty() || path->back().x != p.x || path->back().y != p.y) path->push_back(p);
}

}  // namespace

std::vector<POINT> BoxPath(const RECT& box, std::int64_t cornerWidth, std::int64_t cornerHeight) {
    // Pixel centres of the border: columns left .. right - 1, rows top .. bottom - 1.
    const double left = box.left, top = box.top;
    const double right = static_cast<double>(box.right) - 1, bottom = static_cast<double>(box.bottom) - 1;
    const double rx = std::clamp(static_cast<double>(std::llabs(cornerWidth)) - 1, 0.0, right - left) / 2;
    const double ry = std::clamp(static_cast<double>(std::llabs(cornerHeight)) - 1, 0.0, bottom - top) / 2;
    const int steps = std::clamp(static_cast<int>((rx + ry) / 2), 1, kMaxQuarterSteps);
    // Each corner's centre and the direction its quarter starts from.
    const double cx[4] = {left + rx, right - rx, right - rx, left + rx};
    const double cy[4] = {top + ry, top + ry, bottom - ry, bottom - ry};
    std::vector<POINT> path;
    for (int corner = 0; corner < 4; ++corner) {
        for (int i = 0; i <= steps; ++i) {
            // Angle measured clockwise on the screen from the left (-x) direction.
            const double angle = (corner + static_cast<double>(i) / steps) * kQuarterTurn;
            Add(&path, cx[corner] - rx * std::cos(angle), cy[corner] - ry * std::sin(angle));
        }
    }
    if (path.empty() || right < left || bottom < top) return {};
    path.push_back(path.front());
    return path;
}

}  // namespace standin

#include "gdi/figure_paths.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace standin {
namespace {

constexpr double kQuarterTurn = 1.5707963267948966;
constexpr double kTurn = 4 * kQuarterTurn;

// The nearest point, held to LONG's range.
POINT Nearest(double x, double y) {
    const double limit = 2147483647.0;
    return POINT{static_cast<LONG>(std::lround(std::clamp(x, -limit, limit))),
                 static_cast<LONG>(std::lround(std::clamp(y, -limit, limit)))};
}

void Add(std::vector<POINT>* path, POINT p) {
    if (path->empty() || path->back().x != p.x || path->back().y != p.y) path->push_back(p);
}

void Add(std::vector<POINT>* path, double x, double y) { Add(path, Nearest(x, y)); }

// Lines a quarter turn of an ellipse with these radii is drawn with.
int QuarterSteps(double rx, double ry) { return std::clamp(static_cast<int>((rx + ry) / 2), 1, kMaxQuarterSteps); }

}  // namespace

std::vector<POINT> BoxPath(const RECT& box, std::int64_t cornerWidth, std::int64_t cornerHeight) {
    // Pixel centres of the border: columns left .. right - 1, rows top .. bottom - 1.
    const double left = box.left, top = box.top;
    const double right = static_cast<double>(box.right) - 1, bottom = static_cast<double>(box.bottom) - 1;
    const double rx = std::clamp(static_cast<double>(std::llabs(cornerWidth)) - 1, 0.0, right - left) / 2;
    const double ry = std::clamp(static_cast<double>(std::llabs(cornerHeight)) - 1, 0.0, bottom - top) / 2;
    const int steps = QuarterSteps(rx, ry);
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

EllipseArc EllipseArc::In(const RECT& box) {
    EllipseArc arc{};
    const double left = box.left, top = box.top;
    const double right = static_cast<double>(box.right) - 1, bottom = static_cast<double>(box.bottom) - 1;
    arc.cx = (left + right) / 2;
    arc.cy = (top + bottom) / 2;
    arc.rx = std::max(0.0, (right - left) / 2);
    arc.ry = std::max(0.0, (bottom - top) / 2);
    arc.sweep = kTurn;
    return arc;
}

double EllipseArc::AngleTowards(double x, double y) const {
    // (rx cos a, ry sin a) points the way (x - cx, cy - y) does.
    const double ux = rx > 0 ? (x - cx) / rx : x - cx, uy = ry > 0 ? (cy - y) / ry : cy - y;
    return ux == 0 && uy == 0 ? 0 : std::atan2(uy, ux);
}

void EllipseArc::SweepBetween(double x1, double y1, double x2, double y2, bool clockwise) {
    start = AngleTowards(x1, y1);
    double turn = AngleTowards(x2, y2) - start;
    if (clockwise) turn = -turn;
    turn = std::fmod(turn, kTurn);
    if (turn <= 0) turn += kTurn;
    sweep = clockwise ? -turn : turn;
}

POINT EllipseArc::At(double angle) const { return Nearest(cx + rx * std::cos(angle), cy - ry * std::sin(angle)); }

std::vector<POINT> EllipseArc::Path() const {
    const double turn = std::clamp(sweep, -kTurn, kTurn);
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(turn) / kQuarterTurn * QuarterSteps(rx, ry))));
    std::vector<POINT> path;
    for (int i = 0; i <= steps; ++i) Add(&path, At(start + turn * i / steps));
    return path;
}

}  // namespace standin

// Everything here works in doubled coordinates, where pixel centres and the
// end points of both odd and even widths are integers: the test "centre
// within width / 2 of the segment" becomes exact integer arithmetic.
#include "gdi/wide_line.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

using Wide = __int128;
using UWide = unsigned __int128;

constexpr Wide kUnbounded = Wide{1} << 100;

Wide FloorDiv(Wide n, Wide d) {
    Wide q = n / d;
    return (n % d != 0 && (n < 0) != (d < 0)) ? q - 1 : q;
}

Wide CeilDiv(Wide n, Wide d) {
    Wide q = n / d;
    return (n % d != 0 && (n < 0) == (d < 0)) ? q + 1 : q;
}

// Largest r with r * r <= n, for n below 2^120.
Wide Isqrt(UWide n) {
    auto r = static_cast<UWide>(std::sqrt(static_cast<long double>(n)));
    while (r * r > n) --r;
    while ((r + 1) * (r + 1) <= n) ++r;
    return static_cast<Wide>(r);
}

struct Interval {
    Wide lo, hi;
    bool empty() const { return lo > hi; }
};

constexpr Interval kEmpty{1, 0};

Interval Intersect(Interval a, Interval b) { return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)}; }

Interval Hull(Interval a, Interval b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

// The integers X with low <= a * X <= high.
Interval Solve(Wide a, Wide low, Wide high) {
    if (a == 0) return low <= 0 && 0 <= high ? Interval{-kUnbounded, kUnbounded} : kEmpty;
    if (a > 0) return {CeilDiv(low, a), FloorDiv(high, a)};
    return {CeilDiv(high, a), FloorDiv(low, a)};
}

// Row `py` (doubled) of the disc of `radius` around (cx, cy).
Interval DiscRow(Wide radius, Wide cx, Wide cy, Wide py) {
    Wide e = py - cy;
    if (e > radius || -e > radius) return kEmpty;
    Wide half = Isqrt(static_cast<UWide>(radius * radius - e * e));
    return {cx - half, cx + half};
}

}  // namespace

WideLine::WideLine(std::int64_t width, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                   LineCap cap)
    : cap_(cap) {
    width = std::clamp<std::int64_t>(width, 1, kMaxPenWidth);
    const Wide centre = width % 2;  // odd widths run through pixel centres
    ax_ = 2 * Wide{x0} + centre;
    ay_ = 2 * Wide{y0} + centre;
    bx_ = 2 * Wide{x1} + centre;
    by_ = 2 * Wide{y1} + centre;
    radius_ = width;
    const Wide dx = bx_ - ax_, dy = by_ - ay_;
    lengthSquared_ = dx * dx + dy * dy;
    crossLimit_ = Isqrt(static_cast<UWide>(radius_ * radius_) * static_cast<UWide>(lengthSquared_));
    // Rows whose centres 2y + 1 can lie within the radius. Square ends
    // reach up to sqrt(2) times the radius from an end point.
    const Wide reach = cap == LineCap::Square ? 2 * radius_ : radius_;
    firstRow_ = static_cast<std::int64_t>(CeilDiv(std::min(ay_, by_) - reach - 1, 2));
    endRow_ = static_cast<std::int64_t>(FloorDiv(std::max(ay_, by_) + reach - 1, 2)) + 1;
}

bool WideLine::Row(std::int64_t y, std::int64_t* left, std::int64_t* right) const {
    const Wide py = 2 * Wide{y} + 1;
    // The band between the perpendiculars through both ends, or, for
    // square ends, half the width beyond them.
    Interval band = kEmpty;
    const Wide dx = bx_ - ax_, dy = by_ - ay_, ry = py - ay_;
    if (lengthSquared_ == 0) {
        if (cap_ == LineCap::Square && ry <= radius_ && -ry <= radius_) band = {ax_ - radius_, ax_ + radius_};
    } else {
        const Wide beyond = cap_ == LineCap::Square ? crossLimit_ : 0;
        Interval across = Solve(dy, ry * dx - crossLimit_, ry * dx + crossLimit_);
        Interval along = Solve(dx, -ry * dy - beyond, lengthSquared_ - ry * dy + beyond);
        Interval x = Intersect(across, along);
        if (!x.empty()) band = {x.lo + ax_, x.hi + ax_};
    }
    // A convex shape: its row is one interval, the hull of its parts' rows.
    Interval px = band;
    if (cap_ == LineCap::Round)
        px = Hull(Hull(DiscRow(radius_, ax_, ay_, py), DiscRow(radius_, bx_, by_, py)), band);
    if (px.empty()) return false;
    // Columns whose centres 2x + 1 lie in the interval.
    const Wide first = CeilDiv(px.lo - 1, 2), last = FloorDiv(px.hi - 1, 2);
    if (first > last) return false;
    *left = static_cast<std::int64_t>(first);
    *right = static_cast<std::int64_t>(last + 1);
    return true;
}

void DrawWideLine(SpanPainter& painter, std::int64_t width, std::int64_t x0, std::int64_t y0,
                  std::int64_t x1, std::int64_t y1, LineCap cap) {
    const WideLine line(width, x0, y0, x1, y1, cap);
    const std::int64_t top = std::max<std::int64_t>(0, line.firstRow());
    const std::int64_t bottom = std::min<std::int64_t>(painter.height(), line.endRow());
    for (std::int64_t y = top; y < bottom; ++y) {
        std::int64_t left, right;
        if (!line.Row(y, &left, &right)) continue;
        left = std::max<std::int64_t>(left, 0);
        right = std::min<std::int64_t>(right, painter.width());
        if (left < right)
            painter.Run(static_cast<std::int32_t>(y), static_cast<std::int32_t>(left), static_cast<std::int32_t>(right));
    }
}

}  // namespace standin

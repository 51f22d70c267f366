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

struct Capsule {
    LineCap cap;
    Wide ax, ay, bx, by;  // the segment, doubled
    Wide radius;          // half the width, doubled: the width itself
    Wide lengthSquared;   // |b - a|^2
    Wide crossLimit;      // largest |cross(p - a, b - a)| inside: radius * |b - a|
};

// Row `py` (doubled) of the disc of the capsule's radius around (cx, cy).
Interval DiscRow(const Capsule& c, Wide cx, Wide cy, Wide py) {
    Wide e = py - cy;
    if (e > c.radius || -e > c.radius) return kEmpty;
    Wide half = Isqrt(static_cast<UWide>(c.radius * c.radius - e * e));
    return {cx - half, cx + half};
}

// Row `py` of the band between the perpendiculars through both ends, or,
// for square ends, half the width beyond them.
Interval BandRow(const Capsule& c, Wide py) {
    Wide dx = c.bx - c.ax, dy = c.by - c.ay, y = py - c.ay;
    if (c.lengthSquared == 0) {
        if (c.cap != LineCap::Square || y > c.radius || -y > c.radius) return kEmpty;
        return {c.ax - c.radius, c.ax + c.radius};
    }
    const Wide beyond = c.cap == LineCap::Square ? c.crossLimit : 0;
    Interval across = Solve(dy, y * dx - c.crossLimit, y * dx + c.crossLimit);
    Interval along = Solve(dx, -y * dy - beyond, c.lengthSquared - y * dy + beyond);
    Interval x = Intersect(across, along);
    return x.empty() ? kEmpty : Interval{x.lo + c.ax, x.hi + c.ax};
}

// The columns (doubled) of row `py` inside the capsule: a convex shape, so
// its row is one interval, the hull of its three parts' rows.
Interval CapsuleRow(const Capsule& c, Wide py) {
    if (c.cap != LineCap::Round) return BandRow(c, py);
    return Hull(Hull(DiscRow(c, c.ax, c.ay, py), DiscRow(c, c.bx, c.by, py)), BandRow(c, py));
}

}  // namespace

void DrawWideLine(SpanPainter& painter, std::int64_t width, std::int64_t x0, std::int64_t y0,
                  std::int64_t x1, std::int64_t y1, LineCap cap) {
    width = std::min(width, kMaxPenWidth);
    Wide centre = width % 2;  // odd widths run through pixel centres
    Capsule c;
    c.cap = cap;
    c.ax = 2 * Wide{x0} + centre;
    c.ay = 2 * Wide{y0} + centre;
    c.bx = 2 * Wide{x1} + centre;
    c.by = 2 * Wide{y1} + centre;
    c.radius = width;
    Wide dx = c.bx - c.ax, dy = c.by - c.ay;
    c.lengthSquared = dx * dx + dy * dy;
    c.crossLimit = Isqrt(static_cast<UWide>(c.radius * c.radius) * static_cast<UWide>(c.lengthSquared));
    // Rows whose centres 2y + 1 can lie within the radius, inside the bitmap.
    // Square ends reach up to sqrt(2) times the radius from an end point.
    const Wide reach = cap == LineCap::Square ? 2 * c.radius : c.radius;
    Wide top = std::max<Wide>(0, CeilDiv(std::min(c.ay, c.by) - reach - 1, 2));
    Wide bottom = std::min<Wide>(painter.height() - 1, FloorDiv(std::max(c.ay, c.by) + reach - 1, 2));
    for (Wide y = top; y <= bottom; ++y) {
        Interval px = CapsuleRow(c, 2 * y + 1);
        if (px.empty()) continue;
        // Columns whose centres 2x + 1 lie in the interval.
        Wide left = std::max<Wide>(0, CeilDiv(px.lo - 1, 2));
        Wide right = std::min<Wide>(painter.width() - 1, FloorDiv(px.hi - 1, 2));
        if (left <= right)
            painter.Run(static_cast<std::int32_t>(y), static_cast<std::int32_t>(left),
                        static_cast<std::int32_t>(right + 1));
    }
}

}  // namespace standin

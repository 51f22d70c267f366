#include "stretch/geometry.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace standin {
namespace {

// Division rounding toward minus infinity, for a positive divisor.
std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
    std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t n, std::int64_t d) { return -FloorDiv(-n, d); }

// Start of destination pixel `dest`'s footprint, in source coordinates
// scaled by destSpan (so one source pixel is destSpan units long and the
// footprint srcSpan units).
std::int64_t FootprintStart(const AxisMapping& m, std::int64_t dest) {
    std::int64_t i = dest - m.destStart;
    std::int64_t k = m.mirrored ? m.destSpan - 1 - i : i;
    return m.srcStart * m.destSpan + k * m.srcSpan;
}

bool CentreInSource(const AxisMapping& m, std::int64_t dest, std::int32_t srcLimit) {
    std::int64_t twiceCentre = 2 * FootprintStart(m, dest) + m.srcSpan;
    return twiceCentre >= 0 && twiceCentre < 2 * srcLimit * m.destSpan;
}

template <class Table>
void NoteSourceRun(std::int64_t first, std::int64_t end, Table* t) {
    if (t->first.empty()) {
        t->sourceBegin = static_cast<std::int32_t>(first);
        t->sourceEnd = static_cast<std::int32_t>(end);
    }
    t->sourceBegin = std::min(t->sourceBegin, static_cast<std::int32_t>(first));
    t->sourceEnd = std::max(t->sourceEnd, static_cast<std::int32_t>(end));
    t->first.push_back(static_cast<std::int32_t>(first));
}

}  // namespace

bool MakeAxisMapping(std::int64_t destOrigin, std::int64_t destExtent, std::int64_t srcOrigin,
                     std::int64_t srcExtent, AxisMapping* out) {
    if (destExtent == 0 || srcExtent == 0) return false;
    AxisMapping m;
    // A negative extent covers its start pixel and the pixels before it.
    m.destStart = destExtent < 0 ? destOrigin + destExtent + 1 : destOrigin;
    m.destSpan = destExtent < 0 ? -destExtent : destExtent;
    m.srcStart = srcExtent < 0 ? srcOrigin + srcExtent + 1 : srcOrigin;
    m.srcSpan = srcExtent < 0 ? -srcExtent : srcExtent;
    m.mirrored = (destExtent < 0) != (srcExtent < 0);
    m.dropsLastSource = m.destSpan == 1 && srcExtent > 1;
    *out = m;
    return true;
}

DrawnRange ClipAxis(const AxisMapping& m, std::int32_t destLimit, std::int32_t srcLimit) {
    std::int64_t lo = std::max<std::int64_t>(m.destStart, 0);
    std::int64_t hi = std::min<std::int64_t>(m.destStart + m.destSpan, destLimit);
    // The footprint centre moves monotonically along the axis, so the pixels
    // whose centre lands in the source form one run: trim both ends.
    while (lo < hi && !CentreInSource(m, lo, srcLimit)) ++lo;
    while (hi > lo && !CentreInSource(m, hi - 1, srcLimit)) --hi;
    if (lo >= hi) return DrawnRange{};
    return DrawnRange{static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi - lo)};
}

CoverageTable BuildCoverageTable(const AxisMapping& m, DrawnRange range, std::int32_t srcLimit) {
    CoverageTable t;
    const std::int64_t unit = m.destSpan;  // one source pixel in footprint units
    const std::int64_t limit = srcLimit * unit;
    // Every footprint edge and pixel edge is a multiple of the gcd, so the
    // weights divide by it exactly; this keeps the divisor small.
    const std::int64_t common = std::gcd(m.srcSpan, m.destSpan);
    t.divisor = static_cast<std::uint32_t>(m.srcSpan / common);
    t.first.reserve(static_cast<std::size_t>(range.count));
    t.offset.reserve(static_cast<std::size_t>(range.count) + 1);
    t.offset.push_back(0);
    for (std::int64_t d = range.first; d < range.first + range.count; ++d) {
        const std::int64_t a = FootprintStart(m, d);
        const std::int64_t b = a + m.srcSpan;
        const std::int64_t lo = std::max<std::int64_t>(a, 0);
        const std::int64_t hi = std::min(b, limit);
        const std::int64_t firstPixel = lo / unit;
        const std::int64_t endPixel = CeilDiv(hi, unit);
        NoteSourceRun(firstPixel, endPixel, &t);
        for (std::int64_t p = firstPixel; p < endPixel; ++p) {
            std::int64_t w = std::min(hi, (p + 1) * unit) - std::max(lo, p * unit);
            // The parts of the footprint beyond the bitmap fall to its edge pixels.
            if (p == 0) w += lo - a;
            if (p == srcLimit - 1) w += b - hi;
            t.weights.push_back(static_cast<std::uint32_t>(w / common));
        }
        t.offset.push_back(static_cast<std::uint32_t>(t.weights.size()));
    }
    return t;
}

RunTable BuildRunTable(const AxisMapping& m, DrawnRange range, std::int32_t srcLimit,
                       bool combineEliminated) {
    RunTable t;
    const std::int64_t unit = m.destSpan;
    const bool groups = combineEliminated && m.srcSpan > m.destSpan;
    t.first.reserve(static_cast<std::size_t>(range.count));
    t.count.reserve(static_cast<std::size_t>(range.count));
    for (std::int64_t d = range.first; d < range.first + range.count; ++d) {
        const std::int64_t a = FootprintStart(m, d);
        std::int64_t first;
        std::int64_t end;
        if (groups) {
            // Source pixel p's centre, (2p + 1) * unit / 2, lies in [a, a + srcSpan).
            first = std::max<std::int64_t>(CeilDiv(2 * a - unit, 2 * unit), 0);
            end = std::min<std::int64_t>(CeilDiv(2 * (a + m.srcSpan) - unit, 2 * unit), srcLimit);
            if (m.dropsLastSource) end = std::max(first + 1, std::min(end, m.srcStart + m.srcSpan - 1));
        } else {
            first = FloorDiv(2 * a + m.srcSpan, 2 * unit);
            end = first + 1;
        }
        NoteSourceRun(first, end, &t);
        t.count.push_back(static_cast<std::int32_t>(end - first));
    }
    return t;
}

}  // namespace standin

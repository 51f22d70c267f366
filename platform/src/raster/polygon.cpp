// Edges are kept top to bottom with their winding direction. The rows an
// edge takes part in are those whose point y it spans, top included and
// bottom left out, so a vertex between two edges is counted once and a
// horizontal edge never. On a row, an edge crossing at exact position X
// starts or ends the run at the first pixel whose point is not left of X.
#include "raster/polygon.h"

#include <algorithm>

namespace standin {
namespace {

using Wide = __int128;

Wide CeilDiv(Wide n, Wide d) {  // d > 0
    Wide q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

struct Edge {
    FixedPoint top, bottom;  // top.y < bottom.y
    int winding;             // +1 drawn downwards, -1 upwards
    std::int64_t firstRow, endRow;  // rows [firstRow, endRow) whose point y it spans
};

// First pixel row whose point y is at or below `fixed`.
std::int64_t RowAtOrBelow(std::int64_t fixed) { return static_cast<std::int64_t>(CeilDiv(fixed, kSubpixel)); }

// The pixel column where an edge starts or ends a run on row y.
std::int64_t Crossing(const FixedPoint& top, const FixedPoint& bottom, std::int64_t y) {
    const Wide dy = bottom.y - top.y, dx = bottom.x - top.x;
    const Wide numerator = Wide{top.x} * dy + (Wide{y} * kSubpixel - top.y) * dx;
    return static_cast<std::int64_t>(CeilDiv(numerator, dy * kSubpixel));
}

struct Crossed {
    std::int64_t x;
    int winding;
};

}  // namespace

void ScanPolygons(const FixedPoint* points, const std::size_t* counts, std::size_t polygons, FillRule rule,
                  const ScanWindow& window, RunSink& sink) {
    if (window.empty()) return;
    std::vector<Edge> edges;
    const FixedPoint* first = points;
    for (std::size_t p = 0; p < polygons; first += counts[p], ++p) {
        const std::size_t n = counts[p];
        if (n < 2) continue;
        for (std::size_t i = 0; i < n; ++i) {
            FixedPoint a = first[i], b = first[(i + 1) % n];
            if (a.y == b.y) continue;
            Edge e;
            e.winding = a.y < b.y ? 1 : -1;
            if (a.y > b.y) std::swap(a, b);
            e.top = a;
            e.bottom = b;
            e.firstRow = std::max<std::int64_t>(RowAtOrBelow(a.y), window.top);
            e.endRow = std::min<std::int64_t>(RowAtOrBelow(b.y), window.bottom);
            if (e.firstRow < e.endRow) edges.push_back(e);
        }
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.firstRow < b.firstRow; });
    std::vector<const Edge*> active;
    std::vector<Crossed> crossings;
    RowRuns runs;
    std::size_t next = 0;
    for (std::int64_t y = edges.front().firstRow; y < window.bottom; ++y) {
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->endRow <= y; }),
                     active.end());
        while (next < edges.size() && edges[next].firstRow <= y) active.push_back(&edges[next++]);
        if (active.empty()) {
            if (next == edges.size()) break;
            y = edges[next].firstRow - 1;  // no edge until the next one starts
            continue;
        }
        crossings.clear();
        for (const Edge* e : active) crossings.push_back(Crossed{Crossing(e->top, e->bottom, y), e->winding});
        std::sort(crossings.begin(), crossings.end(), [](const Crossed& a, const Crossed& b) { return a.x < b.x; });
        runs.Clear();
        int count = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            count += rule == FillRule::Alternate ? 1 : crossings[i].winding;
            const bool inside = rule == FillRule::Alternate ? (count % 2 != 0) : (count != 0);
            if (inside) runs.Add(crossings[i].x, crossings[i + 1].x, window);
        }
        runs.Merge();
        runs.Emit(static_cast<std::int32_t>(y), sink);
    }
}

bool ConvexRow(const FixedPoint* points, std::size_t count, std::int64_t y, std::int64_t* left,
               std::int64_t* right) {
    bool found = false;
    std::int64_t lo = 0, hi = 0;
    for (std::size_t i = 0; i < count; ++i) {
        FixedPoint a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        if (a.y > b.y) std::swap(a, b);
        if (y < RowAtOrBelow(a.y) || y >= RowAtOrBelow(b.y)) continue;
        const std::int64_t x = Crossing(a, b, y);
        lo = found ? std::min(lo, x) : x;
        hi = found ? std::max(hi, x) : x;
        found = true;
    }
    if (!found || lo >= hi) return false;
    *left = lo;
    *right = hi;
    return true;
}

}  // namespace standin

// Pixel x's centre is at doubled coordinate 2x + 1 and a box edge e at 2e,
// so straight edges never pass through a centre; curved ones may, and then
// the boundary rule decides. A row's half-width inside a corner is
// rx * sqrt(1 - dy^2 / ry^2), compared exactly through its square.
#include "raster/rounded_box.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace standin {
namespace {

using Wide = __int128;

std::int64_t Clamp(std::int64_t v) { return std::clamp(v, -kMaxCurveCoordinate, kMaxCurveCoordinate); }

std::int64_t FloorDiv2(std::int64_t n) { return n >= 0 ? n / 2 : -((1 - n) / 2); }
std::int64_t CeilDiv2(std::int64_t n) { return -FloorDiv2(-n); }

// Largest r with r * r <= n.
std::int64_t Isqrt(Wide n) {
    auto r = static_cast<Wide>(std::sqrt(static_cast<long double>(n)));
    while (r * r > n) --r;
    while ((r + 1) * (r + 1) <= n) ++r;
    return static_cast<std::int64_t>(r);
}

// Builds the left / right sets of one figure row for ScanOutline.
struct FigureRow {
    bool any = false;
    std::int64_t left = 0, right = 0;
};

FigureRow RowOf(const RoundedBox& box, std::int64_t y) {
    FigureRow row;
    row.any = !box.empty() && box.Row(y, &row.left, &row.right);
    return row;
}

}  // namespace

RoundedBox::RoundedBox(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                       std::int64_t cornerWidth, std::int64_t cornerHeight) {
    left = Clamp(left), top = Clamp(top), right = Clamp(right), bottom = Clamp(bottom);
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    left_ = 2 * left, top_ = 2 * top, right_ = 2 * right, bottom_ = 2 * bottom;
    // A corner of width w has the half-width w / 2: doubled, w.
    radiusX_ = std::min<std::int64_t>(std::llabs(Clamp(cornerWidth)), right - left);
    radiusY_ = std::min<std::int64_t>(std::llabs(Clamp(cornerHeight)), bottom - top);
}

RoundedBox RoundedBox::Grown(std::int64_t halfPixels) const {
    RoundedBox box = *this;
    box.left_ -= halfPixels, box.top_ -= halfPixels, box.right_ += halfPixels, box.bottom_ += halfPixels;
    if (radiusX_ > 0 && radiusY_ > 0) {
        box.radiusX_ = std::max<std::int64_t>(0, radiusX_ + halfPixels);
        box.radiusY_ = std::max<std::int64_t>(0, radiusY_ + halfPixels);
    }
    return box;
}

std::int64_t RoundedBox::firstRow() const { return CeilDiv2(top_ - 1); }
std::int64_t RoundedBox::endRow() const { return CeilDiv2(bottom_ - 1); }

bool RoundedBox::Row(std::int64_t y, std::int64_t* left, std::int64_t* right) const {
    const std::int64_t Y = 2 * y + 1;
    if (Y < top_ || Y >= bottom_ || empty()) return false;
    const std::int64_t centreTop = top_ + radiusY_, centreBottom = bottom_ - radiusY_;
    const std::int64_t dy = Y < centreTop ? centreTop - Y : Y > centreBottom ? Y - centreBottom : 0;
    // m: the largest whole half-width; exact when the boundary passes
    // through it, which then belongs to the left side only.
    std::int64_t m = radiusX_;
    bool exact = true;
    if (dy != 0) {
        const Wide rx = radiusX_, ry = radiusY_;
        const Wide r = rx * rx * (ry * ry - Wide{dy} * dy);
        m = Isqrt(r / (ry * ry));
        exact = Wide{m} * m * ry * ry == r;
    }
    const std::int64_t centreLeft = left_ + radiusX_, centreRight = right_ - radiusX_;
    const std::int64_t first = CeilDiv2(centreLeft - m - 1);
    const std::int64_t last = FloorDiv2(centreRight + (exact ? m - 1 : m) - 1);
    if (first > last) return false;
    *left = first;
    *right = last + 1;
    return true;
}

void ScanRoundedBox(const RoundedBox& box, const ScanWindow& window, RunSink& sink) {
    if (box.empty() || window.empty()) return;
    const std::int64_t top = std::max<std::int64_t>(box.firstRow(), window.top);
    const std::int64_t bottom = std::min<std::int64_t>(box.endRow(), window.bottom);
    RowRuns runs;
    for (std::int64_t y = top; y < bottom; ++y) {
        std::int64_t left, right;
        if (!box.Row(y, &left, &right)) continue;
        runs.Clear();
        runs.Add(left, right, window);
        runs.Emit(static_cast<std::int32_t>(y), sink);
    }
}

void ScanOutline(const RoundedBox& box, std::int64_t width, const ScanWindow& window, RunSink& outline,
                 RunSink* inside) {
    if (window.empty()) return;
    width = std::max<std::int64_t>(width, 1);
    const RoundedBox outer = box.Grown(width - 1), inner = box.Grown(1 - width);
    if (outer.empty()) return;
    const std::int64_t top = std::max<std::int64_t>(outer.firstRow(), window.top);
    const std::int64_t bottom = std::min<std::int64_t>(outer.endRow(), window.bottom);
    RowRuns ring, core;
    FigureRow above = RowOf(inner, top - 1), here = RowOf(inner, top);
    for (std::int64_t y = top; y < bottom; ++y) {
        const FigureRow below = RowOf(inner, y + 1);
        core.Clear();
        // Inside the outline: pixels of the inner figure whose four
        // neighbours are in it too.
        if (here.any && above.any && below.any) {
            const std::int64_t left = std::max({here.left + 1, above.left, below.left});
            const std::int64_t right = std::min({here.right - 1, above.right, below.right});
            core.Add(left, right, window);
        }
        std::int64_t left, right;
        ring.Clear();
        if (outer.Row(y, &left, &right)) ring.Add(left, right, window);
        ring.Subtract(core);
        ring.Emit(static_cast<std::int32_t>(y), outline);
        if (inside != nullptr) core.Emit(static_cast<std::int32_t>(y), *inside);
        above = here;
        here = below;
    }
}

}  // namespace standin

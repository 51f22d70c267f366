// A region as the platform keeps one: y-sorted bands, each a run of rows
// [top, bottom) holding a sorted list of disjoint x-runs [left, right).
//
// The form is canonical, so two regions cover the same pixels exactly when
// their bands are equal: runs that touch are one run, no band is empty, and
// two bands that touch vertically with the same runs are one band. Each run
// of each band is one of the region's rectangles, in the order GetRegionData
// lists them (top to bottom, then left to right).
//
// Coordinates are device pixels within kMaxRegionCoordinate, as the
// platform's 27-bit region coordinates. A region holds at most
// kMaxRegionRectangles rectangles, and every operation stops with a failure
// after kMaxRegionSteps steps, so no input makes one take unbounded memory
// or time.
#ifndef STANDIN_REGION_BAND_REGION_H
#define STANDIN_REGION_BAND_REGION_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// Largest magnitude of a region coordinate; coordinates beyond it are
// brought to it when a region is made.
constexpr std::int64_t kMaxRegionCoordinate = (std::int64_t{1} << 27) - 1;
// Rectangles one region may hold (about 24 MiB with its bands).
constexpr std::size_t kMaxRegionRectangles = std::size_t{1} << 20;
// Steps (runs looked at) one operation may take before it gives up.
constexpr std::size_t kMaxRegionSteps = std::size_t{1} << 26;

// Brings a coordinate inside the region limits.
constexpr std::int32_t ClampRegionCoordinate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp(v, -kMaxRegionCoordinate, kMaxRegionCoordinate));
}

struct RegionRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return left >= right || top >= bottom; }
    bool operator==(const RegionRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The smallest rectangle holding both; an empty one adds nothing.
inline RegionRect Unite(const RegionRect& a, const RegionRect& b) {
    if (a.empty()) return b.empty() ? RegionRect{} : b;
    if (b.empty()) return a;
    return RegionRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                      std::max(a.bottom, b.bottom)};
}

struct BandRun {
    std::int32_t left, right;
    bool operator==(const BandRun& o) const { return left == o.left && right == o.right; }
};

struct Band {
    std::int32_t top, bottom;
    std::uint32_t first, count;  // its runs in BandRegion's run list
    bool operator==(const Band& o) const {
        return top == o.top && bottom == o.bottom && first == o.first && count == o.count;
    }
};

// The set operations of CombineRgn.
enum class RegionOp { And, Or, Xor, Diff };

// How many rectangles a region is: the values of NULLREGION, SIMPLEREGION
// and COMPLEXREGION.
enum class Complexity { Empty = 1, Simple = 2, Complex = 3 };

class BandRegion {
public:
    BandRegion() = default;
    // The rectangle, its corners in any order (brought inside the limits).
    static BandRegion Rectangle(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

    bool empty() const { return bands_.empty(); }
    std::size_t rectangleCount() const { return runs_.size(); }
    Complexity complexity() const;
    // The smallest rectangle holding every pixel; all zero when empty.
    RegionRect box() const { return box_; }
    const std::vector<Band>& bands() const { return bands_; }
    const BandRun* RunsOf(const Band& band) const { return runs_.data() + band.first; }

    bool Contains(std::int64_t x, std::int64_t y) const;
    // Whether any pixel of the rectangle (right and bottom excluded) is in the region.
    bool Overlaps(const RegionRect& r) const;
    // How many pieces of the region lie inside `window`, counting no
    // further than `atMost`.
    std::size_t CountIn(const RegionRect& window, std::size_t atMost) const;
    bool operator==(const BandRegion& o) const { return bands_ == o.bands_ && runs_ == o.runs_; }

    // Moves every pixel by (dx, dy); false, changing nothing, when a
    // coordinate would leave the limits.
    bool Offset(std::int64_t dx, std::int64_t dy);

    // a op b into `out` (which may be a or b); false, leaving `out` alone,
    // beyond the size or step limits.
    static bool Combine(const BandRegion& a, const BandRegion& b, RegionOp op, BandRegion* out);

    // The pixels whose whole neighbourhood [x - rx, x + rx] x [y - ry, y + ry]
    // (rx, ry >= 0) lies in the region, into `out`; false beyond the limits.
    static bool Erode(const BandRegion& region, std::int64_t rx, std::int64_t ry, BandRegion* out);

    // f(const RegionRect&) for every rectangle, in order.
    template <class F>
    void ForEachRectangle(F&& f) const {
        for (const Band& band : bands_)
            for (std::uint32_t i = 0; i < band.count; ++i) {
                const BandRun& run = runs_[band.first + i];
                f(RegionRect{run.left, band.top, run.right, band.bottom});
            }
    }

    // f(const RegionRect&) for every non-empty piece of the region inside
    // `window`, in order; the work is one search plus the pieces' bands.
    template <class F>
    void ForEachRectangleIn(const RegionRect& window, F&& f) const {
        if (window.empty()) return;
        for (std::size_t b = FirstBandBelow(window.top); b < bands_.size() && bands_[b].top < window.bottom; ++b) {
            const Band& band = bands_[b];
            const std::int32_t top = std::max(band.top, window.top), bottom = std::min(band.bottom, window.bottom);
            const BandRun* runs = RunsOf(band);
            for (std::uint32_t i = FirstRunRightOf(band, window.left); i < band.count && runs[i].left < window.right;
                 ++i)
                f(RegionRect{std::max(runs[i].left, window.left), top, std::min(runs[i].right, window.right), bottom});
        }
    }

    // f(left, right) for every non-empty piece of row y's columns
    // [left, right) inside the region, left to right.
    template <class F>
    void ForEachPieceOfRow(std::int32_t y, std::int32_t left, std::int32_t right, F&& f) const {
        const std::size_t b = FirstBandBelow(y);
        if (b == bands_.size() || bands_[b].top > y || left >= right) return;
        const Band& band = bands_[b];
        const BandRun* runs = RunsOf(band);
        for (std::uint32_t i = FirstRunRightOf(band, left); i < band.count && runs[i].left < right; ++i)
            f(std::max(runs[i].left, left), std::min(runs[i].right, right));
    }

private:
    friend class BandBuilder;
    // The first band whose bottom lies below row y.
    std::size_t FirstBandBelow(std::int32_t y) const;
    // The first run of the band whose right edge lies right of x.
    std::uint32_t FirstRunRightOf(const Band& band, std::int32_t x) const;

    // Moved down by dy rows, which keeps every coordinate inside 32 bits.
    BandRegion MovedDown(std::int32_t dy) const;

    std::vector<Band> bands_;
    std::vector<BandRun> runs_;
    RegionRect box_;
};

// Builds a region band by band from the top down. Each row's runs may come
// in any order and may overlap; they are sorted and joined.
class BandBuilder {
public:
    // Adds rows [top, bottom) holding `runs` (modified: sorted and joined);
    // top must not lie above the previous band's bottom. False once the
    // region has grown past kMaxRegionRectangles.
    bool Add(std::int32_t top, std::int32_t bottom, std::vector<BandRun>* runs);
    // Adds sorted, disjoint, non-touching runs as they are.
    bool AddSorted(std::int32_t top, std::int32_t bottom, const BandRun* runs, std::size_t count);
    bool failed() const { return failed_; }
    // The region built; the builder is empty afterwards.
    BandRegion Finish();

private:
    BandRegion region_;
    bool failed_ = false;
};

}  // namespace standin

#endif

#include "region/band_region.h"

#include <limits>

namespace standin {
namespace {

constexpr std::int32_t kAbove = std::numeric_limits<std::int32_t>::max();

// What each part of a row becomes under an operation: the part only the
// first region covers, only the second, and both.
struct Keeps {
    bool first, second, both;
};

Keeps KeepsOf(RegionOp op) {
    switch (op) {
        case RegionOp::And: return {false, false, true};
        case RegionOp::Or: return {true, true, true};
        case RegionOp::Xor: return {true, true, false};
        case RegionOp::Diff: return {true, false, false};
    }
    return {false, false, false};
}

// Appends [left, right) to sorted runs, joining it to a run it touches.
void Emit(std::vector<BandRun>* out, std::int32_t left, std::int32_t right) {
    if (left >= right) return;
    if (!out->empty() && out->back().right == left) {
        out->back().right = right;
        return;
    }
    out->push_back(BandRun{left, right});
}

// The first of runs[from, count) whose right edge lies right of x.
std::uint32_t RunRightOf(const BandRun* runs, std::uint32_t from, std::uint32_t count, std::int32_t x) {
    const BandRun* found =
        std::upper_bound(runs + from, runs + count, x, [](std::int32_t v, const BandRun& r) { return v < r.right; });
    return static_cast<std::uint32_t>(found - runs);
}

// One side of a row merge: its runs and the part of the current one not
// yet looked at.
struct RunCursor {
    const BandRun* runs;
    std::uint32_t count, index = 0;
    BandRun current{0, 0};
    RunCursor(const BandRun* r, std::uint32_t n) : runs(r), count(n) { Load(); }
    bool done() const { return index >= count; }
    void Load() {
        if (index < count) current = runs[index];
    }
    void Next() {
        ++index;
        Load();
    }
    // Skips the runs wholly left of x.
    void SkipTo(std::int32_t x, std::size_t* steps) {
        index = RunRightOf(runs, index, count, x);
        *steps += 32;  // a binary search
        Load();
    }
};

// The runs of one band of a op b, where either side may have none.
void MergeRuns(RunCursor a, RunCursor b, Keeps keep, std::vector<BandRun>* out, std::size_t* steps) {
    while (!a.done() && !b.done()) {
        ++*steps;
        BandRun& ra = a.current;
        BandRun& rb = b.current;
        if (ra.right <= rb.left) {
            if (keep.first) {
                Emit(out, ra.left, ra.right);
                a.Next();
            } else {
                a.SkipTo(rb.left, steps);
            }
            continue;
        }
        if (rb.right <= ra.left) {
            if (keep.second) {
                Emit(out, rb.left, rb.right);
                b.Next();
            } else {
                b.SkipTo(ra.left, steps);
            }
            continue;
        }
        if (ra.left < rb.left) {
            if (keep.first) Emit(out, ra.left, rb.left);
            ra.left = rb.left;
        } else if (rb.left < ra.left) {
            if (keep.second) Emit(out, rb.left, ra.left);
            rb.left = ra.left;
        }
        const std::int32_t end = std::min(ra.right, rb.right);
        if (keep.both) Emit(out, ra.left, end);
        ra.left = rb.left = end;
        if (ra.left == ra.right) a.Next();
        if (rb.left == rb.right) b.Next();
    }
    for (; keep.first && !a.done(); a.Next(), ++*steps) Emit(out, a.current.left, a.current.right);
    for (; keep.second && !b.done(); b.Next(), ++*steps) Emit(out, b.current.left, b.current.right);
}

}  // namespace

BandRegion BandRegion::Rectangle(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    const std::int32_t left = ClampRegionCoordinate(std::min(x0, x1)), right = ClampRegionCoordinate(std::max(x0, x1));
    const std::int32_t top = ClampRegionCoordinate(std::min(y0, y1)), bottom = ClampRegionCoordinate(std::max(y0, y1));
    BandBuilder builder;
    const BandRun run{left, right};
    if (left < right && top < bottom) builder.AddSorted(top, bottom, &run, 1);
    return builder.Finish();
}

Complexity BandRegion::complexity() const {
    if (runs_.empty()) return Complexity::Empty;
    return runs_.size() == 1 ? Complexity::Simple : Complexity::Complex;
}

std::size_t BandRegion::FirstBandBelow(std::int32_t y) const {
    const auto found = std::upper_bound(bands_.begin(), bands_.end(), y,
                                        [](std::int32_t v, const Band& band) { return v < band.bottom; });
    return static_cast<std::size_t>(found - bands_.begin());
}

std::uint32_t BandRegion::FirstRunRightOf(const Band& band, std::int32_t x) const {
    return RunRightOf(RunsOf(band), 0, band.count, x);
}

bool BandRegion::Contains(std::int64_t x, std::int64_t y) const {
    if (x < box_.left || x >= box_.right || y < box_.top || y >= box_.bottom) return false;
    bool inside = false;
    ForEachPieceOfRow(static_cast<std::int32_t>(y), static_cast<std::int32_t>(x), static_cast<std::int32_t>(x) + 1,
                      [&](std::int32_t, std::int32_t) { inside = true; });
    return inside;
}

bool BandRegion::Overlaps(const RegionRect& r) const { return CountIn(r, 1) != 0; }

std::size_t BandRegion::CountIn(const RegionRect& window, std::size_t atMost) const {
    std::size_t found = 0;
    if (window.empty()) return 0;
    for (std::size_t b = FirstBandBelow(window.top); found < atMost && b < bands_.size() && bands_[b].top < window.bottom;
         ++b) {
        const BandRun* runs = RunsOf(bands_[b]);
        for (std::uint32_t i = FirstRunRightOf(bands_[b], window.left);
             found < atMost && i < bands_[b].count && runs[i].left < window.right; ++i)
            ++found;
    }
    return found;
}

bool BandRegion::Offset(std::int64_t dx, std::int64_t dy) {
    if (empty()) return true;
    auto inside = [](std::int64_t v) { return v >= -kMaxRegionCoordinate && v <= kMaxRegionCoordinate; };
    if (!inside(box_.left + dx) || !inside(box_.right + dx) || !inside(box_.top + dy) || !inside(box_.bottom + dy))
        return false;
    const auto x = static_cast<std::int32_t>(dx), y = static_cast<std::int32_t>(dy);
    for (Band& band : bands_) band.top += y, band.bottom += y;
    for (BandRun& run : runs_) run.left += x, run.right += x;
    box_ = RegionRect{box_.left + x, box_.top + y, box_.right + x, box_.bottom + y};
    return true;
}

bool BandRegion::Combine(const BandRegion& a, const BandRegion& b, RegionOp op, BandRegion* out) {
    const Keeps keep = KeepsOf(op);
    BandBuilder builder;
    std::vector<BandRun> runs;
    std::size_t steps = 0, ia = 0, ib = 0;
    const std::vector<Band>&bandsA = a.bands_, &bandsB = b.bands_;
    std::int32_t y = std::min(bandsA.empty() ? kAbove : bandsA[0].top, bandsB.empty() ? kAbove : bandsB[0].top);
    // Each step covers the rows between two consecutive band edges of
    // either region, where neither changes.
    while (true) {
        while (ia < bandsA.size() && bandsA[ia].bottom <= y) ++ia;
        while (ib < bandsB.size() && bandsB[ib].bottom <= y) ++ib;
        if (ia == bandsA.size() && ib == bandsB.size()) break;
        const bool inA = ia < bandsA.size() && bandsA[ia].top <= y;
        const bool inB = ib < bandsB.size() && bandsB[ib].top <= y;
        std::int32_t next = kAbove;
        if (ia < bandsA.size()) next = std::min(next, inA ? bandsA[ia].bottom : bandsA[ia].top);
        if (ib < bandsB.size()) next = std::min(next, inB ? bandsB[ib].bottom : bandsB[ib].top);
        runs.clear();
        if ((inA && (keep.first || inB)) || (inB && (keep.second || inA))) {
            const RunCursor ca = inA ? RunCursor(a.RunsOf(bandsA[ia]), bandsA[ia].count) : RunCursor(nullptr, 0);
            const RunCursor cb = inB ? RunCursor(b.RunsOf(bandsB[ib]), bandsB[ib].count) : RunCursor(nullptr, 0);
            MergeRuns(ca, cb, keep, &runs, &steps);
        }
        steps += runs.size() + 1;
        if (steps > kMaxRegionSteps) return false;
        if (!runs.empty() && !builder.AddSorted(y, next, runs.data(), runs.size())) return false;
        y = next;
    }
    *out = builder.Finish();
    return true;
}

BandRegion BandRegion::MovedDown(std::int32_t dy) const {
    BandRegion moved = *this;
    if (moved.empty()) return moved;
    for (Band& band : moved.bands_) band.top += dy, band.bottom += dy;
    moved.box_.top += dy;
    moved.box_.bottom += dy;
    return moved;
}

bool BandRegion::Erode(const BandRegion& region, std::int64_t rx, std::int64_t ry, BandRegion* out) {
    // Across: runs are maximal, so each shrinks by rx at both ends.
    BandBuilder builder;
    std::vector<BandRun> runs;
    for (const Band& band : region.bands_) {
        runs.clear();
        const BandRun* from = region.RunsOf(band);
        for (std::uint32_t i = 0; i < band.count; ++i)
            if (from[i].right - std::int64_t{from[i].left} > 2 * rx)
                runs.push_back(BandRun{static_cast<std::int32_t>(from[i].left + rx),
                                   static_cast<std::int32_t>(from[i].right - rx)});
        if (!builder.Add(band.top, band.bottom, &runs)) return false;
    }
    BandRegion across = builder.Finish();
    // Down: the rows y .. y + n - 1 all inside, for n = 2 ry + 1, built by
    // doubling (inside for a + b rows = inside for a rows, and for b rows
    // from a rows further down), then moved up by ry to centre the window.
    const std::int64_t n = 2 * ry + 1;
    if (across.empty() || n > std::int64_t{across.box_.bottom} - across.box_.top) {
        *out = BandRegion();
        return true;
    }
    BandRegion power = std::move(across), result;
    std::int64_t powerRows = 1, resultRows = 0;
    // The doublings together stay within one operation's steps.
    std::size_t steps = 0;
    for (std::int64_t left = n; left != 0; left >>= 1) {
        steps += 2 * (power.rectangleCount() + power.bands_.size() + result.rectangleCount() + result.bands_.size());
        if (steps > kMaxRegionSteps) return false;
        if ((left & 1) != 0) {
            if (resultRows == 0) {
                result = power;
            } else if (!Combine(result, power.MovedDown(static_cast<std::int32_t>(-resultRows)), RegionOp::And,
                                &result)) {
                return false;
            }
            resultRows += powerRows;
        }
        if ((left >> 1) != 0) {
            if (!Combine(power, power.MovedDown(static_cast<std::int32_t>(-powerRows)), RegionOp::And, &power))
                return false;
            powerRows *= 2;
        }
    }
    *out = result.MovedDown(static_cast<std::int32_t>(ry));
    return true;
}

bool BandBuilder::Add(std::int32_t top, std::int32_t bottom, std::vector<BandRun>* runs) {
    std::sort(runs->begin(), runs->end(), [](const BandRun& p, const BandRun& q) { return p.left < q.left; });
    std::size_t kept = 0;
    for (const BandRun& run : *runs) {
        if (run.left >= run.right) continue;
        if (kept != 0 && run.left <= (*runs)[kept - 1].right) {
            (*runs)[kept - 1].right = std::max((*runs)[kept - 1].right, run.right);
            continue;
        }
        (*runs)[kept++] = run;
    }
    runs->resize(kept);
    return AddSorted(top, bottom, runs->data(), kept);
}

bool BandBuilder::AddSorted(std::int32_t top, std::int32_t bottom, const BandRun* runs, std::size_t count) {
    if (failed_) return false;
    if (count == 0 || top >= bottom) return true;
    std::vector<Band>& bands = region_.bands_;
    if (!bands.empty() && top < bands.back().bottom) {  // bands must come top down
        failed_ = true;
        return false;
    }
    std::vector<BandRun>& all = region_.runs_;
    // A band that continues the one above with the same runs extends it.
    if (!bands.empty() && bands.back().bottom == top && bands.back().count == count &&
        std::equal(runs, runs + count, all.begin() + bands.back().first)) {
        bands.back().bottom = bottom;
        region_.box_.bottom = bottom;
        return true;
    }
    if (all.size() + count > kMaxRegionRectangles) {
        failed_ = true;
        return false;
    }
    RegionRect& box = region_.box_;
    if (bands.empty()) box = RegionRect{runs[0].left, top, runs[count - 1].right, bottom};
    box.left = std::min(box.left, runs[0].left);
    box.right = std::max(box.right, runs[count - 1].right);
    box.bottom = bottom;
    bands.push_back(Band{top, bottom, static_cast<std::uint32_t>(all.size()), static_cast<std::uint32_t>(count)});
    all.insert(all.end(), runs, runs + count);
    return true;
}

BandRegion BandBuilder::Finish() {
    BandRegion done = std::move(region_);
    region_ = BandRegion();
    failed_ = false;
    return done;
}

}  // namespace standin

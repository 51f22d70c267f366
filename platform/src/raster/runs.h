// Scan conversion's output: a shape as runs of device pixels, row by row.
//
// A run [left, right) covers pixels left .. right - 1 of one device row.
// A scan converter hands its shape to a RunSink one row at a time, top row
// first, each row's runs sorted left to right, non-empty and apart (two runs
// never touch: touching runs are one). Only the rows and columns of the
// window asked for are produced, so the work follows the window's size, not
// the shape's coordinates.
//
// Pixel (x, y) stands for the point (x, y) of the shape's coordinates: a
// shape's vertices lie on pixel centres, as a one-pixel line's end points
// do. A pixel whose point lies on the shape's boundary belongs to it when
// the inside lies to its right or below it, so shapes that share an edge
// never share a pixel, and a filled shape leaves out its right and bottom
// edges.
#ifndef STANDIN_RASTER_RUNS_H
#define STANDIN_RASTER_RUNS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

struct Run {
    std::int32_t left, right;
};

// The device pixels [left, right) x [top, bottom) a scan converter produces.
struct ScanWindow {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return left >= right || top >= bottom; }
};

// Receives the rows of a shape. Rows without runs may be skipped.
class RunSink {
public:
    virtual void Row(std::int32_t y, const Run* runs, std::size_t count) = 0;

protected:
    ~RunSink() = default;
};

// A row's runs being gathered: pieces added in any order, overlapping or
// not, then sorted and merged into the form a RunSink takes.
class RowRuns {
public:
    void Clear() { runs_.clear(); }
    // Adds [left, right) cut to the window's columns; nothing when empty.
    void Add(std::int64_t left, std::int64_t right, const ScanWindow& window);
    // Sorts and joins what was added; the runs stay until the next Clear.
    void Merge();
    // Removes from these merged runs every pixel of `other`'s merged runs.
    void Subtract(const RowRuns& other);
    const Run* data() const { return runs_.data(); }
    std::size_t size() const { return runs_.size(); }
    bool empty() const { return runs_.empty(); }
    // Hands the merged runs of row y to the sink, if there are any.
    void Emit(std::int32_t y, RunSink& sink) const {
        if (!runs_.empty()) sink.Row(y, runs_.data(), runs_.size());
    }

private:
    std::vector<Run> runs_;
    std::vector<Run> scratch_;
};

}  // namespace standin

#endif

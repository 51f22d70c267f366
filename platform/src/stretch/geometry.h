// How one axis of a stretch lays destination pixels onto source pixels.
//
// Coordinates are pixel edges: pixel j covers [j, j + 1) and its centre sits
// at j + 1/2. A rectangle with origin x and extent w > 0 covers pixels x ..
// x + w - 1; with extent -w it covers x, x - 1, .. x - w + 1, the start
// pixel included, as on the platform. So StretchBlt(dst, w - 1, 0, -w, h,
// src, 0, 0, w, h, ...) and StretchBlt(dst, 0, 0, w, h, src, w - 1, 0, -w,
// h, ...) both mirror a w-wide picture onto destination pixels 0 .. w - 1.
// The destination span is laid linearly onto the source span; it runs
// backwards when exactly one of the two extents is negative. Each destination pixel thus has a footprint on the source axis
// of length srcSpan / destSpan source pixels. Intervals are half-open: a
// point on the boundary of two pixels (or footprints) belongs to the one
// that starts there.
//
// Clipping: a destination pixel is written when it lies inside the
// destination bitmap and the centre of its footprint lies inside the source
// bitmap; every other pixel is left as it was. A written pixel whose
// footprint reaches past the source bitmap's edge takes the edge pixel in
// place of the missing ones, so its weights still sum to the full divisor.
#ifndef STANDIN_STRETCH_GEOMETRY_H
#define STANDIN_STRETCH_GEOMETRY_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// Largest magnitude of any origin or extent a stretch accepts. It keeps every
// product in the mapping below 2^62 and every divisor below 2^27.
constexpr std::int64_t kMaxStretchCoordinate = std::int64_t{1} << 27;

struct AxisMapping {
    std::int64_t destStart = 0;  // lower edge of the destination span
    std::int64_t destSpan = 1;   // > 0
    std::int64_t srcStart = 0;   // lower edge of the source span
    std::int64_t srcSpan = 1;    // > 0
    bool mirrored = false;
    // A reduction of a positive source extent of n > 1 to one destination
    // pixel: the modes that combine eliminated pixels combine only the
    // first n - 1, as the platform does.
    bool dropsLastSource = false;
};

// Builds the mapping from an API call's origins and signed extents; false
// when either extent is zero (nothing to draw).
bool MakeAxisMapping(std::int64_t destOrigin, std::int64_t destExtent, std::int64_t srcOrigin,
                     std::int64_t srcExtent, AxisMapping* out);

// The destination pixels [first, first + count) that a stretch writes.
struct DrawnRange {
    std::int32_t first = 0;
    std::int32_t count = 0;
};

DrawnRange ClipAxis(const AxisMapping& mapping, std::int32_t destLimit, std::int32_t srcLimit);

// Area coverage of every drawn destination pixel: the run of source pixels
// its footprint overlaps and the overlap of each as an integer weight. The
// weights of one destination pixel sum exactly to `divisor`.
struct CoverageTable {
    std::vector<std::int32_t> first;    // per drawn pixel: first source pixel
    std::vector<std::uint32_t> offset;  // per drawn pixel, plus one: start in `weights`
    std::vector<std::uint32_t> weights;
    std::uint32_t divisor = 1;
    std::int32_t sourceBegin = 0;  // source pixels referenced: [sourceBegin, sourceEnd)
    std::int32_t sourceEnd = 0;

    std::size_t size() const { return first.size(); }
    int Count(std::size_t i) const { return static_cast<int>(offset[i + 1] - offset[i]); }
    const std::uint32_t* Weights(std::size_t i) const { return weights.data() + offset[i]; }
};

CoverageTable BuildCoverageTable(const AxisMapping& mapping, DrawnRange range,
                                 std::int32_t srcLimit);

// Runs of source pixels per drawn destination pixel for the scan modes: the
// one pixel under the footprint's centre, or, when `combineEliminated` is set
// and the axis reduces, every source pixel whose centre lies in the
// footprint (the first n - 1 of them where the mapping drops the last
// source pixel). The groups of consecutive destination pixels tile the
// source.
struct RunTable {
    std::vector<std::int32_t> first;
    std::vector<std::int32_t> count;
    std::int32_t sourceBegin = 0;
    std::int32_t sourceEnd = 0;

    std::size_t size() const { return first.size(); }
};

RunTable BuildRunTable(const AxisMapping& mapping, DrawnRange range, std::int32_t srcLimit,
                       bool combineEliminated);

}  // namespace standin

#endif

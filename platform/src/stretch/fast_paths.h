// Specialised routines tried before the general path. Each gives exactly the
// bytes the general path would give (the tests compare them on random cases).
#ifndef STANDIN_STRETCH_FAST_PATHS_H
#define STANDIN_STRETCH_FAST_PATHS_H

#include "stretch/geometry.h"
#include "stretch/job.h"

#include <cstdint>
#include <vector>

namespace standin {

// Whether every drawn pixel of the axis averages exactly two whole source
// pixels, the pairs lying side by side in increasing order.
bool IsExactHalving(const CoverageTable& axis);

// The name of the routine HalveRows takes for `pixelBytes` on this
// processor under the current SIMD limit.
const char* HalvingRouteName(int pixelBytes);

// One destination row of an exact 2:1 reduction on both axes: each pixel is
// the mean of a 2 x 2 block, rounded half up. `scratch` is reused between rows.
void HalveRows(int pixelBytes, const std::uint8_t* top, const std::uint8_t* bottom,
               std::int32_t count, std::uint8_t* out, std::vector<std::uint8_t>* scratch);

// Whether every drawn pixel of the axis takes exactly one source pixel,
// every other one in increasing order (a 2:1 deleting reduction).
bool PicksEveryOtherColumn(const RunTable& axis);

// Copies every other three-byte pixel of `row` into `out` while the row
// holds the 32 pixels a step reads, at most `count` destination pixels;
// returns how many it wrote, a multiple of 16 (the caller does the rest).
std::int32_t PickEveryOtherOf3(const std::uint8_t* row, std::int32_t rowPixels, std::int32_t count,
                               std::uint8_t* out);
// The same for four-byte pixels, in steps of four destination pixels that
// read eight source pixels.
std::int32_t PickEveryOtherOf4(const std::uint8_t* row, std::int32_t rowPixels, std::int32_t count,
                               std::uint8_t* out);

// The name of the routine PickEveryOtherOf3 or PickEveryOtherOf4 (by
// `pixelBytes`) takes; null when it takes none and the caller picks alone.
const char* PickEveryOtherRouteName(int pixelBytes);

// Picks at any ratio by permutes of a window of the row, worked out once
// per stretch from the columns' table: for every step, where in the row its
// window starts and where each output byte comes from in it.
//  - Three-byte pixels by byte shuffles (SSSE3), four destination pixels a
//    step from a 32-byte window; a step writes 16 bytes, the last 4 of which
//    the next step rewrites.
//  - Four-byte pixels by doubleword permutes of two registers (AVX-512),
//    eight destination pixels a step from a 128-byte window; a step writes
//    exactly its 32 bytes. Gathers would do the same with one instruction,
//    but on AMD's processors a gather costs more than the plain loop (on a
//    Zen 4, 5.4 against 3.7 ms for 4096 -> 1500), while these permutes took
//    it to 2.8 ms.
class PickShuffles {
public:
    // `xs` takes one source pixel per destination pixel.
    PickShuffles(const RunTable& xs, int pixelBytes);

    // Destination pixels the steps make, a multiple of the step from the
    // row's first: the steps whose window lies inside the referenced
    // columns and whose store stays inside the drawn row. 0 where the
    // processor lacks the instructions (or the SIMD limit forbids them).
    std::size_t covered() const { return steps_ * stepPixels_; }

    // The route's name for the report.
    const char* routeName() const;

    // Picks covered() pixels of `row` (from the table's sourceBegin) into
    // `out`. `nextRow`, the source row the next destination row keeps (or
    // null), is asked for ahead where that pays (support/processor_costs.h).
    void Pick(const std::uint8_t* row, const std::uint8_t* nextRow, std::uint8_t* out) const;

private:
    static constexpr std::size_t kStepIndexBytes = 32;
    int pixelBytes_;
    std::size_t stepPixels_;
    bool prefetch_ = false;
    std::size_t steps_ = 0;
    std::vector<std::uint32_t> windowStart_;
    // 32 bytes a step. Three-byte pixels: the shuffle of the window's first
    // 16 bytes, then of its second 16 (-1 where the other half has the
    // byte). Four-byte pixels: the window's doubleword for each of the 8
    // destination pixels, as 32-bit integers.
    std::vector<std::int8_t> indices_;
};

// Whether both axes map pixels one to one in increasing order, so rows of
// identical formats can be copied byte for byte (false while dedicated
// routes are off: the general route then stretches 1:1).
bool IsPlainCopy(const StretchJob& job);

// Copies the drawn rectangle row by row; only for IsPlainCopy jobs between
// formats accepted by DirectPixelBytes (stretch/job.h).
void CopyRows(const StretchJob& job, int pixelBytes);

// Applies the job's raster operation to the drawn rectangle, the source's
// row bytes straight onto the destination's; only for IsPlainCopy jobs
// between formats accepted by DirectFormatBytes.
void CombineRows(const StretchJob& job, int pixelBytes);

}  // namespace standin

#endif

// Lines of pens wider than one pixel: a band of the pen's width with round
// ends (the default, so consecutive lines meet in round joins), square ends
// (the band carried on half the width past each end point) or flat ends
// (the band stops at the end points).
//
// Pixel (x, y) is the unit square [x, x + 1) x [y, y + 1), with its centre at
// (x + 1/2, y + 1/2). A line covers the pixels whose centres lie within half
// the pen's width of the segment between its end points (a capsule). The
// segment runs through the centres of the end pixels when the width is odd
// and through their top-left corners when it is even, so a horizontal or
// vertical line of width w covers exactly w rows or columns, the extra one of
// an even width lying above or to the left. Both end points are covered.
#ifndef STANDIN_WIDE_LINE_H
#define STANDIN_WIDE_LINE_H

#include "gdi/span_painter.h"

#include <cstdint>

namespace standin {

// Widths above this draw at this width: already twice the largest bitmap
// side, and small enough that every product below fits in 128 bits.
constexpr std::int64_t kMaxPenWidth = std::int64_t{1} << 17;

// Paints the line from (x0, y0) to (x1, y1) with a pen `width` pixels wide
// (more than one) and the given ends, one run per row, clipped to the
// bitmap. A line of no length has no direction: round ends draw a disc,
// square ends a square of the pen's width, flat ends nothing. The work is one
// short computation per bitmap row the line can reach, whatever the
// coordinates.
enum class LineCap { Round, Square, Flat };

// One such line as rows of pixels, for figures that gather several pieces
// a row at a time.
class WideLine {
public:
    WideLine(std::int64_t width, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, LineCap cap);
    // Rows [firstRow, endRow) the line can reach.
    std::int64_t firstRow() const { return firstRow_; }
    std::int64_t endRow() const { return endRow_; }
    // The pixels [left, right) of row y it covers; false when none.
    bool Row(std::int64_t y, std::int64_t* left, std::int64_t* right) const;

private:
    LineCap cap_;
    __int128 ax_, ay_, bx_, by_;  // the segment, doubled
    __int128 radius_;             // half the width, doubled: the width itself
    __int128 lengthSquared_;      // |b - a|^2
    __int128 crossLimit_;         // largest |cross(p - a, b - a)| inside: radius * |b - a|
    std::int64_t firstRow_, endRow_;
};

void DrawWideLine(SpanPainter& painter, std::int64_t width, std::int64_t x0, std::int64_t y0,
                  std::int64_t x1, std::int64_t y1, LineCap cap = LineCap::Round);

}  // namespace standin

#endif

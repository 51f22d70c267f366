// Ellipses and rectangles with rounded corners (and plain rectangles, whose
// corners have no radius): which pixels such a box covers.
//
// The box is given by its edges as the platform gives rectangles: pixel x
// spans [x, x + 1), so a box from edge 0 to edge 4 is four pixels wide. A
// pixel is covered when its centre lies inside the figure; a centre exactly
// on the boundary counts on the left and top side only (raster/runs.h).
// The ellipse fills the box; a rounded rectangle's corners are the quarters
// of an ellipse `cornerWidth` x `cornerHeight` (at most the box's size).
//
// Everything is exact integer arithmetic in doubled coordinates (pixel
// centres at odd values); coordinates are held to the platform's 27-bit
// limit first, so every product fits in 128 bits.
#ifndef STANDIN_RASTER_ROUNDED_BOX_H
#define STANDIN_RASTER_ROUNDED_BOX_H

#include "raster/runs.h"

#include <cstdint>

namespace standin {

// Largest coordinate magnitude a curved figure keeps; the platform holds
// device coordinates to 27 bits.
constexpr std::int64_t kMaxCurveCoordinate = std::int64_t{1} << 27;

class RoundedBox {
public:
    // Edges in any order (the box is normalised); corner sizes are taken
    // as their magnitudes, held to the box's sides.
    RoundedBox(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               std::int64_t cornerWidth, std::int64_t cornerHeight);
    static RoundedBox Ellipse(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
        return RoundedBox(left, top, right, bottom, kMaxCurveCoordinate * 2, kMaxCurveCoordinate * 2);
    }

    // The same figure with every edge moved out by `halfPixels` / 2 pixels
    // (inwards when negative); the corners' radii grow or shrink alike and
    // stop at zero.
    RoundedBox Grown(std::int64_t halfPixels) const;

    // Rows [firstRow, endRow) the figure can cover.
    std::int64_t firstRow() const;
    std::int64_t endRow() const;
    // The pixels [left, right) of row y inside the figure; false when none.
    bool Row(std::int64_t y, std::int64_t* left, std::int64_t* right) const;
    bool empty() const { return right_ <= left_ || bottom_ <= top_; }

private:
    RoundedBox() = default;
    // Doubled edges, and the corner ellipse's doubled radii.
    std::int64_t left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    std::int64_t radiusX_ = 0, radiusY_ = 0;
};

// Hands every row of the figure inside the window to the sink.
void ScanRoundedBox(const RoundedBox& box, const ScanWindow& window, RunSink& sink);

// The outline of a figure as a pen `width` pixels wide draws it, centred on
// the figure's edge: the pixels of the figure grown by half the width less
// a half pixel that are not inside the figure shrunk as much and kept off
// its edge. `inside`, when given, receives the pixels within the outline,
// which the brush fills. A width of one gives the pixels of the figure
// that have a neighbour outside it (left, right, above or below).
void ScanOutline(const RoundedBox& box, std::int64_t width, const ScanWindow& window, RunSink& outline,
                 RunSink* inside);

}  // namespace standin

#endif

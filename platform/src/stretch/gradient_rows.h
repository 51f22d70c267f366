// GradientFill's pixels: colours interpolated across rectangles and
// triangles, written a destination row at a time through the row codec.
//
// Colours are TRIVERTEX's 16-bit channels; a pixel's 8-bit channel is the
// interpolated 16-bit value's high byte. Interpolation is exact, in
// integers, and rounds down:
//   - a horizontal rectangle gives column x the colour at its left edge,
//     c0 + (c1 - c0) * (x - left) / (right - left), c0 being the colour of
//     the vertex on the left; a vertical one does the same from the top;
//   - a triangle gives a pixel the colour at its centre, the vertices'
//     colours weighed by the pixel centre's barycentric coordinates.
// A triangle covers the pixels whose centres lie inside it; a centre on an
// edge belongs to the triangle when the edge is a top or a left one, so
// triangles that share an edge cover every pixel along it exactly once.
#ifndef STANDIN_STRETCH_GRADIENT_ROWS_H
#define STANDIN_STRETCH_GRADIENT_ROWS_H

#include "stretch/geometry.h"
#include "stretch/surface.h"

#include <cstdint>

namespace standin {

// Largest magnitude of a vertex coordinate: every edge product stays
// below 2^62.
constexpr std::int64_t kMaxGradientCoordinate = std::int64_t{1} << 27;

struct GradientVertex {
    std::int64_t x = 0, y = 0;
    std::uint32_t channels[4] = {};  // blue, green, red, alpha: 16 bits each
};

// The pixels a gradient may write: a rectangle of the target.
struct PixelWindow {
    DrawnRange columns, rows;
};

// The rectangle between two vertices, interpolated across (horizontal) or
// down (vertical), written inside `window` only.
void FillGradientRect(const Surface& target, const PixelWindow& window, const GradientVertex& a,
                      const GradientVertex& b, bool vertical);

void FillGradientTriangle(const Surface& target, const PixelWindow& window, const GradientVertex& a,
                          const GradientVertex& b, const GradientVertex& c);

}  // namespace standin

#endif

// Figures as closed paths of points through the centres of the pixels on
// their edge, for pens that draw them line by line (styled pens, whose
// dashes run along the figure). Curves are flattened into short lines.
#ifndef STANDIN_GDI_FIGURE_PATHS_H
#define STANDIN_GDI_FIGURE_PATHS_H

#include <windows.h>

#include <cstdint>
#include <vector>

namespace standin {

// Most lines a quarter of an ellipse is flattened into.
constexpr int kMaxQuarterSteps = 64;

// The edge of the box figure in the normalised box (raster/rounded_box.h),
// from the top-left, clockwise on the screen, back to its first point.
std::vector<POINT> BoxPath(const RECT& box, std::int64_t cornerWidth, std::int64_t cornerHeight);

}  // namespace standin

#endif

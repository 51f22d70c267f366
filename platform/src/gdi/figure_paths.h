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

// The ellipse of a box figure (its edge through pixel centres) and angles on
// it, measured as the screen shows them: from the +x direction, positive
// counterclockwise.
struct EllipseArc {
    double cx, cy, rx, ry;  // centre and radii in points
    double start, sweep;    // radians; the sweep signed, at most one turn either way

    // The ellipse inscribed in the normalised box.
    static EllipseArc In(const RECT& box);
    // The angle of the point where the line from the centre towards (x, y)
    // meets the ellipse (0 when (x, y) is the centre).
    double AngleTowards(double x, double y) const;
    // Sweeps from the point towards (x1, y1) to the point towards (x2, y2),
    // counterclockwise or clockwise; the same point twice is a whole turn.
    void SweepBetween(double x1, double y1, double x2, double y2, bool clockwise);
    // The point at `angle`, rounded to the nearest pixel.
    POINT At(double angle) const;
    // The arc's points from its start to its end, a line at most about
    // every pixel and a half (at most kMaxQuarterSteps a quarter turn).
    std::vector<POINT> Path() const;
};

}  // namespace standin

#endif

// One-pixel lines: which pixels a line from (x0, y0) towards (x1, y1)
// lights. The start point is drawn and the end point is not. Along the
// major axis every step lights one pixel; its minor coordinate is the
// line's exact position rounded to the nearest pixel, and a position exactly
// halfway between two pixels takes the smaller coordinate (the upper pixel
// for a mostly horizontal line, the left one for a mostly vertical line), so
// a line lights the same pixels whichever end it is drawn from.
#ifndef STANDIN_COSMETIC_LINE_H
#define STANDIN_COSMETIC_LINE_H

#include <cstdint>

namespace standin {

// The steps of one line that can land in a width x height bitmap, and the
// state to walk them incrementally.
struct LineWalk {
    bool xMajor = true;
    int majorStep = 1;          // +1 or -1 along the major axis
    std::int64_t majorStart = 0, minorStart = 0;
    std::int64_t first = 0, last = -1;  // steps whose major coordinate is inside
    std::int64_t offset = 0;    // minor offset from minorStart at the current step
    std::int64_t remainder = 0; // offset * twiceMajor - (2 * minorDelta * step - major)
    std::int64_t twiceMinorDelta = 0, twiceMajor = 0;
};

// Number of pixels the whole line lights before clipping (its major extent).
std::int64_t LineSteps(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);

// Plans the walk of the line clipped to width x height. Only steps whose
// major coordinate lies inside are walked, so a line with far-away end
// points costs at most one bitmap width or height.
LineWalk PlanLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  std::int64_t width, std::int64_t height);

// Calls plot(x, y, step) for each pixel of the line inside the bitmap, with
// `step` counted from the start point.
template <class Plot>
void WalkLine(LineWalk walk, std::int64_t width, std::int64_t height, Plot&& plot) {
    const std::int64_t minorLimit = walk.xMajor ? height : width;
    for (std::int64_t i = walk.first; i <= walk.last; ++i) {
        std::int64_t major = walk.majorStart + walk.majorStep * i;
        std::int64_t minor = walk.minorStart + walk.offset;
        if (minor >= 0 && minor < minorLimit) {
            if (walk.xMajor)
                plot(static_cast<std::int32_t>(major), static_cast<std::int32_t>(minor), i);
            else
                plot(static_cast<std::int32_t>(minor), static_cast<std::int32_t>(major), i);
        }
        walk.remainder -= walk.twiceMinorDelta;
        if (walk.remainder < 0) {
            walk.remainder += walk.twiceMajor;
            ++walk.offset;
        } else if (walk.remainder >= walk.twiceMajor) {
            walk.remainder -= walk.twiceMajor;
            --walk.offset;
        }
    }
}

}  // namespace standin

#endif

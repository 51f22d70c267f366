// The dash patterns of one-pixel pens. Each pattern is a run of pixels
// along the line's major axis that repeats; the position in it carries on
// from one LineTo to the next and starts again at MoveToEx.
//
//   PS_DASH        18 on, 6 off
//   PS_DOT          3 on, 3 off
//   PS_DASHDOT      9 on, 6 off, 3 on, 6 off
//   PS_DASHDOTDOT   9 on, 3 off, 3 on, 3 off, 3 on, 3 off
//
// Every period divides 24, so a position kept modulo 24 serves them all.
#ifndef STANDIN_PEN_STYLE_H
#define STANDIN_PEN_STYLE_H

#include <cstdint>

namespace standin {

constexpr std::int64_t kStylePeriod = 24;

class DashPattern {
public:
    // The pattern of a dashed or dotted style; false for any other style.
    static bool For(int style, DashPattern* pattern);
    // Whether the pixel `position` steps into the pattern is drawn.
    bool On(std::int64_t position) const { return (mask_ >> (position % kStylePeriod)) & 1u; }

private:
    std::uint32_t mask_ = 0;  // bit i: pixel i of the period is drawn
};

}  // namespace standin

#endif

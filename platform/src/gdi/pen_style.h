// The dash patterns of pens: runs of pixels (one-pixel pens, counted along
// the line's major axis) or of logical units (geometric pens, counted along
// the line), alternately drawn and skipped, repeating. The position in the
// pattern carries on from one LineTo to the next and starts again at
// MoveToEx.
//
//   PS_DASH        18 on, 6 off
//   PS_DOT          3 on, 3 off
//   PS_DASHDOT      9 on, 6 off, 3 on, 6 off
//   PS_DASHDOTDOT   9 on, 3 off, 3 on, 3 off, 3 on, 3 off
//   PS_ALTERNATE    1 on, 1 off (one-pixel pens only)
//   PS_USERSTYLE   the caller's runs (ExtCreatePen), at most 16
//
// Geometric pens of the predefined styles stretch each run by the pen's
// width.
#ifndef STANDIN_PEN_STYLE_H
#define STANDIN_PEN_STYLE_H

#include <cstdint>
#include <vector>

namespace standin {

// Most runs a user style may have, as the platform allows.
constexpr std::size_t kMaxUserStyleRuns = 16;

class DashPattern {
public:
    // The pattern of a dashed, dotted or alternate style, each predefined
    // run `scale` times as long; false for any other style (PS_USERSTYLE
    // included: see User).
    static bool For(int style, std::int64_t scale, DashPattern* pattern);
    // The caller's runs; false when there are none, more than
    // kMaxUserStyleRuns, or they add up to nothing.
    static bool User(const std::vector<std::uint32_t>& runs, DashPattern* pattern);

    // Whether the pixel or unit `position` steps into the pattern is drawn.
    bool On(std::int64_t position) const;
    // The length of the runs `position` lies in that is left from it,
    // drawn or not.
    std::int64_t RunLeft(std::int64_t position) const;
    std::int64_t period() const { return period_; }

private:
    std::vector<std::int64_t> runs_;  // alternately on and off
    std::int64_t period_ = 0;         // sum of one cycle (runs twice over when odd)
};

}  // namespace standin

#endif

#include "gdi/pen_style.h"

#include <initializer_list>
#include <windows.h>

namespace standin {
namespace {

// Bit mask of runs alternately on and off, repeated to fill the period.
constexpr std::uint32_t MaskOf(std::initializer_list<int> runs) {
    std::uint32_t mask = 0;
    int position = 0;
    while (position < kStylePeriod) {
        bool on = true;
        for (int run : runs) {
            for (int i = 0; i < run; ++i, ++position)
                if (on) mask |= std::uint32_t{1} << position;
            on = !on;
        }
    }
    return mask;
}

}  // namespace

bool DashPattern::For(int style, DashPattern* pattern) {
    switch (style) {
        case PS_DASH: pattern->mask_ = MaskOf({18, 6}); return true;
        case PS_DOT: pattern->mask_ = MaskOf({3, 3}); return true;
        case PS_DASHDOT: pattern->mask_ = MaskOf({9, 6, 3, 6}); return true;
        case PS_DASHDOTDOT: pattern->mask_ = MaskOf({9, 3, 3, 3, 3, 3}); return true;
        default: return false;
    }
}

}  // namespace standin

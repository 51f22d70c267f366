#include "gdi/pen_style.h"

#include <windows.h>

namespace standin {
namespace {

bool Make(std::vector<std::int64_t> runs, std::vector<std::int64_t>* out, std::int64_t* period) {
    // An odd number of runs swaps on and off every time round: one cycle is
    // the runs twice over.
    if (runs.size() % 2 == 1) runs.insert(runs.end(), runs.begin(), runs.end());
    std::int64_t sum = 0;
    for (std::int64_t run : runs) sum += run;
    if (sum <= 0) return false;
    *out = std::move(runs);
    *period = sum;
    return true;
}

}  // namespace

bool DashPattern::For(int style, std::int64_t scale, DashPattern* pattern) {
    std::vector<std::int64_t> runs;
    switch (style) {
        case PS_DASH: runs = {18, 6}; break;
        case PS_DOT: runs = {3, 3}; break;
        case PS_DASHDOT: runs = {9, 6, 3, 6}; break;
        case PS_DASHDOTDOT: runs = {9, 3, 3, 3, 3, 3}; break;
        case PS_ALTERNATE: runs = {1, 1}; break;
        default: return false;
    }
    for (std::int64_t& run : runs) run *= scale > 0 ? scale : 1;
    return Make(std::move(runs), &pattern->runs_, &pattern->period_);
}

bool DashPattern::User(const std::vector<std::uint32_t>& runs, DashPattern* pattern) {
    if (runs.empty() || runs.size() > kMaxUserStyleRuns) return false;
    return Make(std::vector<std::int64_t>(runs.begin(), runs.end()), &pattern->runs_, &pattern->period_);
}

bool DashPattern::On(std::int64_t position) const {
    std::int64_t at = position % period_;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        if (at < runs_[i]) return i % 2 == 0;
        at -= runs_[i];
    }
    return false;
}

std::int64_t DashPattern::RunLeft(std::int64_t position) const {
    std::int64_t at = position % period_;
    for (std::int64_t run : runs_) {
        if (at < run) return run - at;
        at -= run;
    }
    return 1;
}

}  // namespace standin

#include "raster/runs.h"

#include <algorithm>

namespace standin {

void RowRuns::Add(std::int64_t left, std::int64_t right, const ScanWindow& window) {
    left = std::max<std::int64_t>(left, window.left);
    right = std::min<std::int64_t>(right, window.right);
    if (left < right) runs_.push_back(Run{static_cast<std::int32_t>(left), static_cast<std::int32_t>(right)});
}

void RowRuns::Merge() {
    if (runs_.size() < 2) return;
    std::sort(runs_.begin(), runs_.end(), [](const Run& a, const Run& b) { return a.left < b.left; });
    std::size_t kept = 0;
    for (std::size_t i = 1; i < runs_.size(); ++i) {
        if (runs_[i].left <= runs_[kept].right)
            runs_[kept].right = std::max(runs_[kept].right, runs_[i].right);
        else
            runs_[++kept] = runs_[i];
    }
    runs_.resize(kept + 1);
}

void RowRuns::Subtract(const RowRuns& other) {
    scratch_.clear();
    std::size_t j = 0;
    for (Run run : runs_) {
        while (j < other.runs_.size() && other.runs_[j].right <= run.left) ++j;
        for (std::size_t k = j; k < other.runs_.size() && other.runs_[k].left < run.right; ++k) {
            const Run cut = other.runs_[k];
            if (cut.left > run.left) scratch_.push_back(Run{run.left, cut.left});
            run.left = std::max(run.left, cut.right);
            if (run.left >= run.right) break;
        }
        if (run.left < run.right) scratch_.push_back(run);
    }
    runs_.swap(scratch_);
}

}  // namespace standin

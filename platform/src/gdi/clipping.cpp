#include "gdi/clipping.h"

namespace standin {

bool DrawClip::Several(DrawnRange columns, DrawnRange rows) const {
    const RegionRect window{columns.first, rows.first, columns.first + columns.count, rows.first + rows.count};
    return clip_ != nullptr && clip_->CountIn(window, 2) > 1;
}

void DrawClip::Gather(const RegionRect& r) const {
    if (bounds_ != nullptr) *bounds_ = Unite(*bounds_, r);
}

}  // namespace standin

#include "pixels/palette_matcher.h"

#include <algorithm>

namespace standin {
namespace {

constexpr std::uint32_t kEmptySlot = 0xFFFFFFFFu;

}  // namespace

PaletteMatcher::PaletteMatcher(const RGBQUAD* colors, int count) : colors_(colors), count_(count) {
    if (count_ <= 0) return;
    byGreen_.resize(static_cast<std::size_t>(count_));
    for (int i = 0; i < count_; ++i) byGreen_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::stable_sort(byGreen_.begin(), byGreen_.end(), [colors](std::uint8_t a, std::uint8_t b) {
        return colors[a].rgbGreen < colors[b].rgbGreen;
    });
    cacheKey_.fill(kEmptySlot);
}

std::uint8_t PaletteMatcher::Nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    if (count_ <= 0) return 0;
    std::uint32_t key = (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
    std::uint32_t slot = (key ^ (key >> 12) ^ (key >> 20)) & (kCacheSlots - 1);
    if (cacheKey_[slot] == key) return cacheIndex_[slot];
    std::uint8_t best = Search(b, g, r);
    cacheKey_[slot] = key;
    cacheIndex_[slot] = best;
    return best;
}

std::uint8_t PaletteMatcher::Search(int b, int g, int r) const {
    int best = count_;
    int bestDistance = 1 << 30;
    auto consider = [&](int index) {
        const RGBQUAD& c = colors_[index];
        int db = c.rgbBlue - b, dg = c.rgbGreen - g, dr = c.rgbRed - r;
        int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance || (distance == bestDistance && index < best)) {
            bestDistance = distance;
            best = index;
        }
    };
    // Walk down from just below the first entry whose green is at least g,
    // and up from it. A side is done once its green difference alone
    // exceeds the best distance (an equal one may still tie to a lower
    // index).
    auto start = std::lower_bound(byGreen_.begin(), byGreen_.end(), g, [this](std::uint8_t index, int green) {
        return colors_[index].rgbGreen < green;
    });
    int up = static_cast<int>(start - byGreen_.begin());
    int down = up - 1;
    while (up < count_ || down >= 0) {
        if (up < count_) {
            int dg = colors_[byGreen_[up]].rgbGreen - g;
            if (dg * dg > bestDistance) up = count_;
            else consider(byGreen_[up++]);
        }
        if (down >= 0) {
            int dg = g - colors_[byGreen_[down]].rgbGreen;
            if (dg * dg > bestDistance) down = -1;
            else consider(byGreen_[down--]);
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace standin

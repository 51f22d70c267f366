// Finds the colour-table entry nearest to a colour: the smallest squared
// distance in RGB, ties to the lowest index.
#ifndef STANDIN_PALETTE_MATCHER_H
#define STANDIN_PALETTE_MATCHER_H

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

namespace standin {

class PaletteMatcher {
public:
    // `colors` must hold `count` entries and outlive the matcher.
    PaletteMatcher(const RGBQUAD* colors, int count);
    std::uint8_t Nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r);

private:
    std::uint8_t Search(int b, int g, int r) const;

    static constexpr int kCacheSlots = 4096;
    const RGBQUAD* colors_;
    int count_;
    // Entry indices ordered by green: the search walks outwards from the
    // asked-for green and stops once green alone is farther than the best.
    std::vector<std::uint8_t> byGreen_;
    std::array<std::uint32_t, kCacheSlots> cacheKey_;
    std::array<std::uint8_t, kCacheSlots> cacheIndex_;
};

}  // namespace standin

#endif

// The brush as the row loops see it: a tile of pixel values in the
// destination's format, repeated across the bitmap from the brush origin, so
// that destination pixel (x, y) takes tile pixel ((x - ox) mod w, (y - oy) mod h).
// A solid brush is the 1 x 1 tile. A hatch brush drawn in TRANSPARENT mode
// also carries a mask: where it is clear the brush paints nothing and the
// destination keeps its pixel whatever the raster operation.
//
// PatternRows gives, for each destination row, the tile laid across the
// drawn columns, built once per tile row and kept (a solid brush builds one
// row for the whole call), in the layout the raster operation runs on: the
// row's bytes for pixels of 8 bits or more, one value a pixel below.
#ifndef STANDIN_STRETCH_PATTERN_H
#define STANDIN_STRETCH_PATTERN_H

#include "stretch/geometry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

struct PatternTile {
    std::int32_t width = 1, height = 1;
    std::vector<std::uint32_t> values = std::vector<std::uint32_t>(1, 0);  // rows top first
    // Empty, or one entry a tile pixel: non-zero where the brush paints.
    std::vector<std::uint8_t> painted;
    // The brush origin: the destination pixel that tile pixel (0, 0) lands on.
    std::int32_t originX = 0, originY = 0;

    static PatternTile Solid(std::uint32_t value) {
        PatternTile tile;
        tile.values[0] = value;
        return tile;
    }
    bool masked() const { return !painted.empty(); }
};

// Tiles are shared, not copied, between the operation and its row loops;
// null stands for the solid tile of value 0.
using SharedPattern = std::shared_ptr<const PatternTile>;
SharedPattern SolidPattern(std::uint32_t value);

// Tile rows kept for a call: all of them when they fit in this many bytes,
// else only the last one used (a tall DIB pattern across a wide bitmap).
constexpr std::size_t kMaxKeptPatternBytes = std::size_t{4} << 20;

// T is std::uint8_t for rows of whole-byte pixels (`pixelBytes` bytes each,
// little-endian) and std::uint32_t for pixel values (`pixelBytes` ignored).
template <class T>
class PatternRows {
public:
    PatternRows(SharedPattern tile, int pixelBytes, DrawnRange columns);

    // The brush across the drawn columns of destination row y: `count()`
    // elements.
    const T* Row(std::int32_t y) { return Build(y, false); }
    // All ones where the brush paints, zero where it leaves the destination;
    // null when it paints everywhere.
    const T* Mask(std::int32_t y) { return tile_->masked() ? Build(y, true) : nullptr; }
    std::size_t count() const { return count_; }

private:
    const T* Build(std::int32_t y, bool mask);

    SharedPattern tile_;
    int pixelBytes_;
    std::int32_t phase_;  // tile column of the first drawn column
    std::size_t count_;   // elements a row
    bool keepAll_;
    // Slot r holds tile row r (or, when not all are kept, slot 0 holds
    // `lastRow_`); masks likewise.
    std::vector<std::vector<T>> rows_, masks_;
    std::int32_t lastRow_ = -1, lastMaskRow_ = -1;
};

// dest = code(pattern, source, dest) for `count` elements of destination row
// y, leaving alone the pixels the pattern's mask excludes. `source` may be
// null when the operation reads none; `scratch` is reused between rows.
template <class T>
void ApplyPatternOp(std::uint8_t code, PatternRows<T>& pattern, std::int32_t y, const T* source,
                    T* dest, std::vector<T>* scratch);

// The tile row and column a destination coordinate lands on.
constexpr std::int32_t TilePhase(std::int64_t coordinate, std::int64_t origin, std::int32_t size) {
    const std::int64_t r = (coordinate - origin) % size;
    return static_cast<std::int32_t>(r < 0 ? r + size : r);
}

}  // namespace standin

#endif

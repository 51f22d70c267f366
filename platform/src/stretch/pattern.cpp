#include "stretch/pattern.h"

#include "stretch/raster_op.h"

#include <algorithm>
#include <cstring>

namespace standin {
namespace {

// One tile element as the row holds it: the value's low bytes, or the value.
template <class T>
void PutElement(std::uint32_t value, int pixelBytes, T* out);

template <>
void PutElement(std::uint32_t value, int pixelBytes, std::uint8_t* out) {
    for (int b = 0; b < pixelBytes; ++b) out[b] = static_cast<std::uint8_t>(value >> (8 * b));
}

template <>
void PutElement(std::uint32_t value, int, std::uint32_t* out) {
    *out = value;
}

template <class T>
int ElementsPerPixel(int pixelBytes) {
    return sizeof(T) == 1 ? pixelBytes : 1;
}

SharedPattern OrSolidZero(SharedPattern tile) {
    return tile != nullptr ? tile : SolidPattern(0);
}

}  // namespace

SharedPattern SolidPattern(std::uint32_t value) {
    return std::make_shared<const PatternTile>(PatternTile::Solid(value));
}

template <class T>
PatternRows<T>::PatternRows(SharedPattern tile, int pixelBytes, DrawnRange columns)
    : tile_(OrSolidZero(std::move(tile))),
      pixelBytes_(pixelBytes),
      phase_(TilePhase(columns.first, tile_->originX, tile_->width)),
      count_(static_cast<std::size_t>(columns.count) * static_cast<std::size_t>(ElementsPerPixel<T>(pixelBytes))) {
    const std::size_t rowBytes = count_ * sizeof(T) * (tile_->masked() ? 2 : 1);
    keepAll_ = rowBytes * static_cast<std::size_t>(tile_->height) <= kMaxKeptPatternBytes;
    const std::size_t slots = keepAll_ ? static_cast<std::size_t>(tile_->height) : 1;
    rows_.resize(slots);
    if (tile_->masked()) masks_.resize(slots);
}

template <class T>
const T* PatternRows<T>::Build(std::int32_t y, bool mask) {
    const PatternTile& tile = *tile_;
    const std::int32_t tileRow = TilePhase(y, tile.originY, tile.height);
    std::vector<std::vector<T>>& slots = mask ? masks_ : rows_;
    std::int32_t& last = mask ? lastMaskRow_ : lastRow_;
    std::vector<T>& slot = slots[keepAll_ ? static_cast<std::size_t>(tileRow) : 0];
    if (keepAll_ ? !slot.empty() : last == tileRow) return slot.data();
    slot.resize(count_);
    last = tileRow;
    // One period of the tile row from the first drawn column, then copies of
    // what is already built, doubling each time.
    const int step = ElementsPerPixel<T>(pixelBytes_);
    const std::size_t period =
        std::min(count_, static_cast<std::size_t>(tile.width) * static_cast<std::size_t>(step));
    const std::size_t base = static_cast<std::size_t>(tileRow) * static_cast<std::size_t>(tile.width);
    std::int32_t column = phase_;
    for (std::size_t i = 0; i < period; i += static_cast<std::size_t>(step)) {
        const std::size_t at = base + static_cast<std::size_t>(column);
        const std::uint32_t value = mask ? (tile.painted[at] ? ~std::uint32_t{0} : 0) : tile.values[at];
        PutElement(value, pixelBytes_, slot.data() + i);
        if (++column == tile.width) column = 0;
    }
    for (std::size_t done = period; done < count_;) {
        const std::size_t n = std::min(done, count_ - done);
        std::memcpy(slot.data() + done, slot.data(), n * sizeof(T));
        done += n;
    }
    return slot.data();
}

template <class T>
void ApplyPatternOp(std::uint8_t code, PatternRows<T>& pattern, std::int32_t y, const T* source,
                    T* dest, std::vector<T>* scratch) {
    const std::size_t count = pattern.count();
    const T* brush = UsesPattern(code) ? pattern.Row(y) : nullptr;
    const T* mask = UsesPattern(code) ? pattern.Mask(y) : nullptr;
    if (mask == nullptr) return ApplyRasterOp(code, brush, source, dest, count);
    // Masked: the result on a copy, then kept only where the brush paints.
    scratch->assign(dest, dest + count);
    ApplyRasterOp(code, brush, source, scratch->data(), count);
    const T* result = scratch->data();
    for (std::size_t i = 0; i < count; ++i) dest[i] = static_cast<T>((result[i] & mask[i]) | (dest[i] & ~mask[i]));
}

template class PatternRows<std::uint8_t>;
template class PatternRows<std::uint32_t>;
template void ApplyPatternOp(std::uint8_t, PatternRows<std::uint8_t>&, std::int32_t, const std::uint8_t*,
                             std::uint8_t*, std::vector<std::uint8_t>*);
template void ApplyPatternOp(std::uint8_t, PatternRows<std::uint32_t>&, std::int32_t,
                             const std::uint32_t*, std::uint32_t*, std::vector<std::uint32_t>*);

}  // namespace standin

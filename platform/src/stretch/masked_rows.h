// Blits that change only some pixels of a row: TransparentBlt (pixels of
// the source's transparent colour are skipped), MaskBlt (a monochrome mask
// chooses one of two raster operations for each pixel) and PlgBlt (pixels
// outside the parallelogram, or under 0 bits of its mask, are left alone).
// They share the stretch engine's geometry, surfaces and source rows; only
// the writing of a destination row differs.
#ifndef STANDIN_STRETCH_MASKED_ROWS_H
#define STANDIN_STRETCH_MASKED_ROWS_H

#include "pixels/row_codec.h"
#include "stretch/job.h"
#include "stretch/pattern.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

// The raster operation that leaves the destination as it is.
constexpr std::uint8_t kDestinationKept = 0xAA;

// Writes destination rows of `columns.count` pixels from `columns.first`:
// where chosen[j] is non-zero pixel j takes op.code, elsewhere `otherCode`,
// each combining the brush, the source (working pixels, converted to the
// destination's format as in every blit) and the destination's pixel.
class MaskedTarget {
public:
    MaskedTarget(const Surface& target, DrawnRange columns, const PixelOp& op, std::uint8_t otherCode);
    // `source` may be null when neither operation reads it; it is modified
    // (keyed to monochrome for a monochrome destination).
    void Write(std::int32_t y, std::uint8_t* source, const std::uint8_t* chosen);

private:
    void CombineBytes(std::int32_t y, std::uint8_t* row, const std::uint8_t* chosen);
    void CombineValues(std::int32_t y, std::uint8_t* row, const std::uint8_t* chosen);

    Surface surface_;
    RowCodec codec_;
    DrawnRange columns_;
    PixelOp op_;
    std::uint8_t otherCode_;
    // The brush across the drawn columns: row bytes at 8 bits or more, pixel
    // values below.
    std::unique_ptr<PatternRows<std::uint8_t>> patternBytes_;
    std::unique_ptr<PatternRows<std::uint32_t>> patternValues_;
    std::vector<std::uint8_t> packed_, first_, second_, byteScratch_;
    std::vector<std::uint32_t> sourceValues_, firstValues_, secondValues_, valueScratch_;
};

// TransparentBlt: the job's source stretched like COLORONCOLOR, every pixel
// whose colour (blue, green, red) equals `key` left out.
void KeyedStretch(const StretchJob& job, RGBQUAD key);

// MaskBlt: equal extents; destination pixel (x, y) reads bit
// (x + maskOffsetX, y + maskOffsetY) of `mask`, a 1-bit surface: 1 takes
// job.op.code, 0 takes `backCode`. Without a mask every pixel takes
// job.op.code. `readsSource` says whether either operation reads the source.
void MaskedBlit(const StretchJob& job, std::uint8_t backCode, bool readsSource, const Surface* mask,
                std::int32_t maskOffsetX, std::int32_t maskOffsetY);

}  // namespace standin

#endif

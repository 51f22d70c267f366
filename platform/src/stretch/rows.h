// Where the stretch loops get their source rows and put their results.
//
// The loops are templates over one source and one target type, chosen once
// per call: the direct kinds read and write 24- and 32-bit rows in place
// (three or four bytes a pixel), the coded kinds go through the row codec's
// four-byte working pixels and so serve every format. Both present the same
// bytes for formats they both accept, so a loop gives the same result on
// either.
#ifndef STANDIN_STRETCH_ROWS_H
#define STANDIN_STRETCH_ROWS_H

#include "pixels/row_codec.h"
#include "stretch/job.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

// Colour to monochrome on `bytes` bytes of working pixels: the background
// colour becomes white, every other colour black.
void KeyToMonochrome(const RGBQUAD& background, std::uint8_t* pixels, std::size_t bytes);

// Source rows read in place, columns from `columnBegin`.
template <int PixelBytes>
class DirectSource {
public:
    static constexpr int kPixelBytes = PixelBytes;
    DirectSource(const Surface& surface, std::int32_t columnBegin)
        : surface_(surface), offset_(static_cast<std::size_t>(columnBegin) * PixelBytes) {}
    const std::uint8_t* Row(std::int32_t y) { return surface_.Row(y) + offset_; }

private:
    Surface surface_;
    std::size_t offset_;
};

// Source rows unpacked to working pixels, columns [columnBegin, columnEnd).
// The two most recently used rows are kept, since neighbouring destination
// rows share the source row between them.
class DecodedSource {
public:
    static constexpr int kPixelBytes = kWorkBytesPerPixel;
    DecodedSource(const Surface& surface, std::int32_t columnBegin, std::int32_t columnEnd);
    const std::uint8_t* Row(std::int32_t y);

private:
    static constexpr int kSlots = 2;
    Surface surface_;
    RowCodec codec_;
    std::int32_t columnBegin_;
    std::int32_t columnCount_;
    std::vector<std::uint8_t> slots_[kSlots];
    std::int32_t slotRow_[kSlots] = {-1, -1};
    int lastUsed_ = 0;
};

// Destination rows written in place, columns from `columnBegin`. Only a
// plain copy goes this way.
template <int PixelBytes>
class DirectTarget {
public:
    static constexpr int kPixelBytes = PixelBytes;
    DirectTarget(const Surface& surface, std::int32_t columnBegin)
        : surface_(surface), offset_(static_cast<std::size_t>(columnBegin) * PixelBytes) {}
    std::uint8_t* Row(std::int32_t y) { return surface_.Row(y) + offset_; }
    void Commit() {}

private:
    Surface surface_;
    std::size_t offset_;
};

// Destination rows assembled as working pixels and packed into the
// destination by Commit; at 8 bits or fewer packing picks the nearest
// colour-table entry. Any operation but SRCCOPY then combines the packed
// values with the destination's (raster_op.h).
class EncodedTarget {
public:
    static constexpr int kPixelBytes = kWorkBytesPerPixel;
    EncodedTarget(const Surface& surface, DrawnRange columns, const PixelOp& op);
    std::uint8_t* Row(std::int32_t y) {
        row_ = y;
        return pixels_.data();
    }
    void Commit();

private:
    Surface surface_;
    RowCodec codec_;
    DrawnRange columns_;
    PixelOp op_;
    std::int32_t row_ = 0;
    std::vector<std::uint8_t> pixels_;
    // For operations other than SRCCOPY: the source packed into the
    // destination's format and the brush's rows in that format; below 8 bits
    // the source and destination values of the row.
    std::vector<std::uint8_t> packed_, byteScratch_;
    std::vector<std::uint32_t> source_, values_, valueScratch_;
    std::unique_ptr<PatternRows<std::uint8_t>> patternBytes_;
    std::unique_ptr<PatternRows<std::uint32_t>> patternValues_;
};

}  // namespace standin

#endif

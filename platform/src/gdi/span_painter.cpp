#include "gdi/span_painter.h"

#include "gdi/brush_pattern.h"
#include "pixels/pixel_values.h"
#include "stretch/raster_op.h"

#include <cstring>

namespace standin {
namespace {

constexpr std::uint8_t kPatternCopy = 0xF0;

}  // namespace

std::uint8_t MixCode(int mix) {
    if (mix < R2_BLACK || mix > R2_WHITE) return kPatternCopy;
    // R2_x - 1 is a truth table over pen p and destination d: bit (p << 1 | d).
    // The ternary table's bit (p << 2 | s << 1 | d) is that bit, whatever s.
    const unsigned binary = static_cast<unsigned>(mix - 1);
    std::uint8_t code = 0;
    for (unsigned i = 0; i < 8; ++i) {
        const unsigned p = i >> 2, d = i & 1;
        if (binary >> (p << 1 | d) & 1) code = static_cast<std::uint8_t>(code | 1u << i);
    }
    return code;
}

SpanPainter::SpanPainter(DcState& state, Bitmap& bitmap, const Ink& ink)
    : SpanPainter(state, bitmap, SolidPattern(InkValue(bitmap, ink)), kPatternCopy) {}

SpanPainter::SpanPainter(DcState& state, Bitmap& bitmap, SharedPattern pattern)
    : SpanPainter(state, bitmap, std::move(pattern), MixCode(state.mix)) {}

SpanPainter::SpanPainter(DcState& state, Bitmap& bitmap, SharedPattern pattern, std::uint8_t code)
    : bitmap_(bitmap), clip_(state), code_(code),
      pixelBytes_(bitmap.format().bitCount >= 8 ? bitmap.format().bitCount / 8 : 0) {
    const DrawnRange all{0, bitmap.width()};
    if (pixelBytes_ != 0)
        bytes_ = std::make_unique<PatternRows<std::uint8_t>>(std::move(pattern), pixelBytes_, all);
    else
        values_ = std::make_unique<PatternRows<std::uint32_t>>(std::move(pattern), 0, all);
}

// to[0 .. count) = code(pattern, to), where the pattern's mask lets it.
template <class T>
void SpanPainter::Combine(PatternRows<T>& pattern, std::int32_t y, std::size_t first, std::size_t count, T* to,
                          std::vector<T>* scratch) {
    const T* from = UsesPattern(code_) ? pattern.Row(y) + first : nullptr;
    const T* mask = pattern.Mask(y);
    if (mask == nullptr) {
        if (code_ == kPatternCopy) {
            std::memcpy(to, from, count * sizeof(T));
            return;
        }
        return ApplyRasterOp(code_, from, nullptr, to, count);
    }
    mask += first;
    scratch->assign(to, to + count);
    ApplyRasterOp(code_, from, nullptr, scratch->data(), count);
    const T* result = scratch->data();
    for (std::size_t i = 0; i < count; ++i) to[i] = static_cast<T>((result[i] & mask[i]) | (to[i] & ~mask[i]));
}

void SpanPainter::Paint(std::int32_t y, std::int32_t left, std::int32_t right) {
    const auto first = static_cast<std::size_t>(left), count = static_cast<std::size_t>(right - left);
    std::uint8_t* row = bitmap_.Row(y);
    if (pixelBytes_ != 0) {
        const auto pb = static_cast<std::size_t>(pixelBytes_);
        return Combine<std::uint8_t>(*bytes_, y, first * pb, count * pb, row + first * pb, &byteScratch_);
    }
    const PixelFormat& format = bitmap_.format();
    if (code_ == kPatternCopy && values_->Mask(y) == nullptr)
        return WritePixelValues(format, values_->Row(y) + first, left, right - left, row);
    rowValues_.resize(count);
    ReadPixelValues(format, row, left, right - left, rowValues_.data());
    Combine<std::uint32_t>(*values_, y, first, count, rowValues_.data(), &scratch_);
    WritePixelValues(format, rowValues_.data(), left, right - left, row);
}

}  // namespace standin

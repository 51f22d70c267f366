#include "gdi/span_painter.h"

#include "gdi/brush_pattern.h"
#include "pixels/pixel_values.h"

#include <cstring>

namespace standin {

SpanPainter::SpanPainter(Bitmap& bitmap, const Ink& ink) : SpanPainter(bitmap, SolidPattern(InkValue(bitmap, ink))) {}

SpanPainter::SpanPainter(Bitmap& bitmap, SharedPattern pattern)
    : bitmap_(bitmap), pixelBytes_(bitmap.format().bitCount >= 8 ? bitmap.format().bitCount / 8 : 0) {
    const DrawnRange all{0, bitmap.width()};
    if (pixelBytes_ != 0)
        bytes_ = std::make_unique<PatternRows<std::uint8_t>>(std::move(pattern), pixelBytes_, all);
    else
        values_ = std::make_unique<PatternRows<std::uint32_t>>(std::move(pattern), 0, all);
}

void SpanPainter::Run(std::int32_t y, std::int32_t left, std::int32_t right) {
    const auto first = static_cast<std::size_t>(left), count = static_cast<std::size_t>(right - left);
    std::uint8_t* row = bitmap_.Row(y);
    if (pixelBytes_ != 0) {
        const auto pb = static_cast<std::size_t>(pixelBytes_);
        const std::uint8_t* from = bytes_->Row(y) + first * pb;
        const std::uint8_t* mask = bytes_->Mask(y);
        std::uint8_t* to = row + first * pb;
        if (mask == nullptr) {
            std::memcpy(to, from, count * pb);
            return;
        }
        mask += first * pb;
        for (std::size_t i = 0; i < count * pb; ++i)
            to[i] = static_cast<std::uint8_t>((from[i] & mask[i]) | (to[i] & ~mask[i]));
        return;
    }
    const std::uint32_t* from = values_->Row(y) + first;
    const std::uint32_t* mask = values_->Mask(y);
    const PixelFormat& format = bitmap_.format();
    if (mask == nullptr) return WritePixelValues(format, from, left, right - left, row);
    mask += first;
    scratch_.resize(count);
    ReadPixelValues(format, row, left, right - left, scratch_.data());
    for (std::size_t i = 0; i < count; ++i) scratch_[i] = (from[i] & mask[i]) | (scratch_[i] & ~mask[i]);
    WritePixelValues(format, scratch_.data(), left, right - left, row);
}

}  // namespace standin

#include "gdi/span_painter.h"

#include "pixels/pixel_values.h"

#include <algorithm>

namespace standin {

SpanPainter::SpanPainter(Bitmap& bitmap, const Ink& ink)
    : bitmap_(bitmap),
      codec_(bitmap.format(), bitmap.dib.colors.data(), bitmap.dib.colorCount),
      pixel_{GetBValue(ink.rgb), GetGValue(ink.rgb), GetRValue(ink.rgb), 0},
      index_(ink.index) {}

void SpanPainter::Run(std::int32_t y, std::int32_t left, std::int32_t right) {
    if (index_ >= 0) {
        const std::size_t count = static_cast<std::size_t>(right - left);
        if (values_.size() < count) values_.resize(count, static_cast<std::uint32_t>(index_));
        return WritePixelValues(bitmap_.format(), values_.data(), left, right - left, bitmap_.Row(y));
    }
    std::size_t bytes = static_cast<std::size_t>(right - left) * kWorkBytesPerPixel;
    if (run_.size() < bytes) {
        std::size_t old = run_.size();
        run_.resize(bytes);
        for (std::size_t i = old; i < bytes; i += kWorkBytesPerPixel)
            std::copy(pixel_, pixel_ + kWorkBytesPerPixel, run_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    codec_.Pack(run_.data(), left, right - left, bitmap_.Row(y));
}

void SpanPainter::Pixel(std::int32_t x, std::int32_t y) {
    if (index_ >= 0) {
        const std::uint32_t value = static_cast<std::uint32_t>(index_);
        return WritePixelValues(bitmap_.format(), &value, x, 1, bitmap_.Row(y));
    }
    codec_.Pack(pixel_, x, 1, bitmap_.Row(y));
}

COLORREF SpanPainter::ColourAt(std::int32_t x, std::int32_t y) const {
    std::uint8_t px[kWorkBytesPerPixel];
    codec_.Unpack(bitmap_.Row(y), x, 1, px);
    return RGB(px[2], px[1], px[0]);
}

}  // namespace standin

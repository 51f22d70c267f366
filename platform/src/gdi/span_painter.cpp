#include "gdi/span_painter.h"

#include <algorithm>

namespace standin {

SpanPainter::SpanPainter(Bitmap& bitmap, COLORREF color)
    : bitmap_(bitmap),
      codec_(bitmap.format(), bitmap.dib.colors.data(), bitmap.dib.colorCount),
      pixel_{GetBValue(color), GetGValue(color), GetRValue(color), 0} {}

void SpanPainter::Run(std::int32_t y, std::int32_t left, std::int32_t right) {
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
    codec_.Pack(pixel_, x, 1, bitmap_.Row(y));
}

}  // namespace standin

// Paints runs of one colour into the rows of a bitmap, through the row
// codec, so every depth gets the same colour (the nearest table entry at 8
// bits or fewer).
#ifndef STANDIN_SPAN_PAINTER_H
#define STANDIN_SPAN_PAINTER_H

#include "gdi/color_ref.h"
#include "gdi/gdi_objects.h"
#include "pixels/row_codec.h"

#include <cstdint>
#include <vector>

namespace standin {

class SpanPainter {
public:
    SpanPainter(Bitmap& bitmap, COLORREF color) : SpanPainter(bitmap, Ink{color & 0xFFFFFF, -1}) {}
    // An ink naming a colour-table entry stores that entry as it stands.
    SpanPainter(Bitmap& bitmap, const Ink& ink);

    std::int32_t width() const { return bitmap_.width(); }
    std::int32_t height() const { return bitmap_.height(); }
    // Paints columns [left, right) of row y; the caller keeps them inside.
    // May throw std::bad_alloc for the first run of a new width.
    void Run(std::int32_t y, std::int32_t left, std::int32_t right);
    void Pixel(std::int32_t x, std::int32_t y);
    // The colour the pixel at (x, y) holds.
    COLORREF ColourAt(std::int32_t x, std::int32_t y) const;

private:
    Bitmap& bitmap_;
    RowCodec codec_;
    std::uint8_t pixel_[kWorkBytesPerPixel];
    std::vector<std::uint8_t> run_;  // the colour repeated, grown on demand
    int index_;                        // the entry stored as it stands, or -1
    std::vector<std::uint32_t> values_;  // the entry repeated, grown on demand
};

}  // namespace standin

#endif

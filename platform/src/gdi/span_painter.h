// Paints runs of a brush's pattern into the rows of a bitmap: a solid
// colour (the nearest table entry at 8 bits or fewer, as every fill takes
// it) or any brush's tile, laid from the brush origin like every other fill
// (stretch/pattern.h), so lines of brush-styled pens show the brush. The
// pattern meets the pixels through a binary raster operation (SetROP2),
// carried out as the ternary operation over pattern and destination that
// gives the same bits. Every run is cut to the drawing context's clip
// region (gdi/clipping.h), so whatever paints through it honours the clip.
#ifndef STANDIN_SPAN_PAINTER_H
#define STANDIN_SPAN_PAINTER_H

#include "gdi/clipping.h"
#include "gdi/color_ref.h"
#include "gdi/gdi_objects.h"
#include "stretch/pattern.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

class SpanPainter {
public:
    // Each paints on `bitmap` as the context whose state is `state` draws:
    // within its clip region, gathering its bounds.
    // A colour stored as it is (SetPixel); an ink naming a colour-table
    // entry stores that entry as it stands.
    SpanPainter(DcState& state, Bitmap& bitmap, COLORREF color)
        : SpanPainter(state, bitmap, Ink{color & 0xFFFFFF, -1}) {}
    SpanPainter(DcState& state, Bitmap& bitmap, const Ink& ink);
    // Painting with the state's binary raster operation: what every pen and
    // brush drawing does.
    SpanPainter(DcState& state, Bitmap& bitmap, SharedPattern pattern);

    const Bitmap& bitmap() const { return bitmap_; }
    std::int32_t width() const { return bitmap_.width(); }
    std::int32_t height() const { return bitmap_.height(); }
    // Paints the visible part of columns [left, right) of row y; the caller
    // keeps them inside the bitmap. May throw std::bad_alloc when a row of
    // the pattern is first built.
    void Run(std::int32_t y, std::int32_t left, std::int32_t right) {
        clip_.Row(y, left, right, [&](std::int32_t l, std::int32_t r) { Paint(y, l, r); });
    }
    void Pixel(std::int32_t x, std::int32_t y) { Run(y, x, x + 1); }

private:
    SpanPainter(DcState& state, Bitmap& bitmap, SharedPattern pattern, std::uint8_t code);
    void Paint(std::int32_t y, std::int32_t left, std::int32_t right);

    template <class T>
    void Combine(PatternRows<T>& pattern, std::int32_t y, std::size_t first, std::size_t count, T* to,
                 std::vector<T>* scratch);

    Bitmap& bitmap_;
    DrawClip clip_;
    std::uint8_t code_;
    int pixelBytes_;  // 0 below 8 bits, where pixels are values
    // The pattern across the whole bitmap width, row by row.
    std::unique_ptr<PatternRows<std::uint8_t>> bytes_;
    std::unique_ptr<PatternRows<std::uint32_t>> values_;
    std::vector<std::uint32_t> rowValues_, scratch_;
    std::vector<std::uint8_t> byteScratch_;
};

// The ternary raster operation (stretch/raster_op.h) over pattern and
// destination that a binary one, R2_BLACK to R2_WHITE, stands for; the
// pattern's copy (PATCOPY, as R2_COPYPEN) for any other value.
std::uint8_t MixCode(int mix);

}  // namespace standin

#endif

// Operations that read no source (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS,
// WHITENESS, ...): the brush's row and the destination's own, row by row,
// on the row's bytes where pixels are whole bytes.
#include "stretch/rows.h"

#include "pixels/pixel_values.h"
#include "support/blit_routes.h"

#include <vector>

namespace standin {
namespace {

void PaintBytes(const Surface& target, DrawnRange columns, DrawnRange rows, const PixelOp& op) {
    const int pixelBytes = target.dib().format.bitCount / 8;
    PatternRows<std::uint8_t> pattern(op.pattern, pixelBytes, columns);
    std::vector<std::uint8_t> scratch;
    const std::size_t offset = static_cast<std::size_t>(columns.first) * static_cast<std::size_t>(pixelBytes);
    RecordBlitRoute(RasterOpRouteName(op.code, RasterOpRows::BrushFill));
    for (std::int32_t y = rows.first; y < rows.first + rows.count; ++y)
        ApplyPatternOp<std::uint8_t>(op.code, pattern, y, nullptr, target.Row(y) + offset, &scratch);
}

void PaintValues(const Surface& target, DrawnRange columns, DrawnRange rows, const PixelOp& op) {
    const PixelFormat& format = target.dib().format;
    const auto count = static_cast<std::size_t>(columns.count);
    PatternRows<std::uint32_t> pattern(op.pattern, 0, columns);
    std::vector<std::uint32_t> values(count), scratch;
    RecordBlitRoute("brush fill on pixel values");
    for (std::int32_t y = rows.first; y < rows.first + rows.count; ++y) {
        std::uint8_t* row = target.Row(y);
        ReadPixelValues(format, row, columns.first, columns.count, values.data());
        ApplyPatternOp<std::uint32_t>(op.code, pattern, y, nullptr, values.data(), &scratch);
        WritePixelValues(format, values.data(), columns.first, columns.count, row);
    }
}

}  // namespace

void PaintTarget(const Surface& target, DrawnRange columns, DrawnRange rows, const PixelOp& op) {
    if (target.dib().format.bitCount >= 8) return PaintBytes(target, columns, rows, op);
    PaintValues(target, columns, rows, op);
}

}  // namespace standin

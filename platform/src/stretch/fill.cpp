// Operations that read no source (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS,
// WHITENESS, ...): the brush's value and the destination's own, row by row.
#include "stretch/rows.h"

#include "pixels/pixel_values.h"

#include <vector>

namespace standin {

void PaintTarget(const Surface& target, DrawnRange columns, DrawnRange rows, const PixelOp& op) {
    const PixelFormat& format = target.dib().format;
    const bool readsDestination = UsesDestination(op.code);
    std::vector<std::uint32_t> values(static_cast<std::size_t>(columns.count));
    for (std::int32_t y = rows.first; y < rows.first + rows.count; ++y) {
        std::uint8_t* row = target.Row(y);
        if (readsDestination) ReadPixelValues(format, row, columns.first, columns.count, values.data());
        ApplyRasterOp(op.code, op.pattern, nullptr, values.data(), values.size());
        WritePixelValues(format, values.data(), columns.first, columns.count, row);
    }
}

}  // namespace standin

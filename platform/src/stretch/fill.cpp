// BLACKNESS and WHITENESS: the destination rectangle becomes black or white,
// whatever the source holds.
#include "stretch/rows.h"

#include <cstring>

namespace standin {

void FillTarget(const Surface& target, DrawnRange columns, DrawnRange rows, std::uint8_t level) {
    EncodedTarget out(target, columns, RasterOp::Copy);
    for (std::int32_t y = rows.first; y < rows.first + rows.count; ++y) {
        std::uint8_t* pixel = out.Row(y);
        for (std::int32_t x = 0; x < columns.count; ++x, pixel += kWorkBytesPerPixel) {
            pixel[0] = pixel[1] = pixel[2] = level;
            pixel[3] = 0;
        }
        out.Commit();
    }
}

}  // namespace standin

// One stretch as the pixel loops see it: the two surfaces, the mapping of
// each axis, the destination pixels to write and what to do with them.
#ifndef STANDIN_STRETCH_JOB_H
#define STANDIN_STRETCH_JOB_H

#include "pixel_format.h"
#include "stretch_geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// Rows of a device-independent bitmap, counted from the top whatever the
// storage order; or of a private copy of some of them.
class Surface {
public:
    Surface(std::uint8_t* pixels, const DibDescription& dib);

    const DibDescription& dib() const { return *dib_; }
    std::uint8_t* Row(std::int32_t y) const {
        return pixels_ + (origin_ + static_cast<std::ptrdiff_t>(y) * step_);
    }
    // A surface reading rows [rowBegin, rowEnd) from a copy held in `storage`,
    // for stretches whose source and destination are one bitmap.
    Surface CopyRows(std::int32_t rowBegin, std::int32_t rowEnd,
                     std::vector<std::uint8_t>* storage) const;

private:
    std::uint8_t* pixels_;
    const DibDescription* dib_;
    std::ptrdiff_t origin_;  // byte offset of row 0
    std::ptrdiff_t step_;    // bytes from one row to the next one down
};

// How the stretched source meets the destination.
enum class RasterOp { Copy, And, Or, Xor };

struct StretchJob {
    StretchJob(const Surface& from, const Surface& to) : source(from), target(to) {}

    Surface source;
    Surface target;
    bool sharedPixels = false;  // source and destination are one bitmap
    AxisMapping x, y;
    DrawnRange columns, rows;
    RasterOp op = RasterOp::Copy;
};

// The source surface a job reads `rowBegin` .. `rowEnd` from: the bitmap
// itself, or a copy when writing the destination would change them.
Surface SourceRows(const StretchJob& job, std::int32_t rowBegin, std::int32_t rowEnd,
                   std::vector<std::uint8_t>* storage);

// Area averaging (HALFTONE).
void AverageArea(const StretchJob& job);
// Deleting (COLORONCOLOR), ANDing (BLACKONWHITE) or ORing (WHITEONBLACK)
// the eliminated rows and columns.
enum class ScanMode { Delete, And, Or };
void ScanStretch(const StretchJob& job, ScanMode mode);
// Sets the drawn destination rectangle to one colour (BLACKNESS, WHITENESS).
void FillTarget(const Surface& target, DrawnRange columns, DrawnRange rows, std::uint8_t level);

}  // namespace standin

#endif

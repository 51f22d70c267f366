// One stretch as the pixel loops see it: the two surfaces, the mapping of
// each axis, the destination pixels to write and what to do with them.
#ifndef STANDIN_STRETCH_JOB_H
#define STANDIN_STRETCH_JOB_H

#include "stretch/geometry.h"
#include "stretch/pattern.h"
#include "stretch/raster_op.h"
#include "stretch/surface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// How the stretched source meets the destination.
struct PixelOp {
    std::uint8_t code = kSourceCopy;  // ternary raster operation (raster_op.h)
    SharedPattern pattern;            // the brush in the destination's format (pattern.h)
    // Colour to monochrome: source colours equal to `background` become
    // white (1), all others black (0), before the operation.
    bool toMonochrome = false;
    RGBQUAD background{};
};

struct StretchJob {
    StretchJob(const Surface& from, const Surface& to) : source(from), target(to) {}

    Surface source;
    Surface target;
    bool sharedPixels = false;  // source and destination are one bitmap
    AxisMapping x, y;
    DrawnRange columns, rows;
    PixelOp op;
};

// Maps both axes of a call's destination and source rectangles onto `job`
// and clips them to its two surfaces; false when no destination pixel is
// drawn (an extent of zero, or nothing left after clipping).
bool PlaceStretch(StretchJob* job, std::int64_t xDest, std::int64_t yDest, std::int64_t wDest,
                  std::int64_t hDest, std::int64_t xSrc, std::int64_t ySrc, std::int64_t wSrc,
                  std::int64_t hSrc);

// Bytes a pixel when rows of the two formats hold the same bytes for the
// same pixels, so they can be read and written in place without decoding to
// working pixels: 3 for 24 to 24 bits, 4 for 32-bit BI_RGB to 32-bit BI_RGB
// (whose fourth byte the working pixels carry too); 0 otherwise.
int DirectFormatBytes(const StretchJob& job);
// The same, but 0 for any raster operation other than SRCCOPY.
int DirectPixelBytes(const StretchJob& job);

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
// Applies an operation that reads no source to the drawn destination
// rectangle (PATCOPY, DSTINVERT, BLACKNESS, ...).
void PaintTarget(const Surface& target, DrawnRange columns, DrawnRange rows, const PixelOp& op);

}  // namespace standin

#endif

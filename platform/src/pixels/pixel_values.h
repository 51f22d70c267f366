// Pixels as raster operations see them: the value each pixel stores, one
// 32-bit word a pixel. At 8 bits or fewer that is the colour-table index; at
// 16, 24 and 32 bits the packed bits as they lie in the row (little-endian,
// the fourth byte of 32-bit pixels included).
#ifndef STANDIN_PIXEL_VALUES_H
#define STANDIN_PIXEL_VALUES_H

#include "pixels/pixel_format.h"

#include <cstdint>

namespace standin {

// Reads `count` pixel values from column `x0` of `row`.
void ReadPixelValues(const PixelFormat& format, const std::uint8_t* row, int x0, int count,
                     std::uint32_t* out);
// Writes `count` pixel values into `row` from column `x0`; bits beyond the
// pixel's width are dropped.
void WritePixelValues(const PixelFormat& format, const std::uint32_t* values, int x0, int count,
                      std::uint8_t* row);

// The value a bitmap of this description stores for `colour`: the nearest
// colour-table entry at 8 bits or fewer, the packed channels above.
std::uint32_t ColourValue(const DibDescription& dib, COLORREF colour);
// The colour a pixel of this description holds after storing `colour`.
RGBQUAD StoredColour(const DibDescription& dib, COLORREF colour);

// Monochrome bitmaps: one bit a pixel, entry 0 black and entry 1 white. Blits
// convert to and from them with the device contexts' text and background
// colours instead of colour tables.
bool IsMonochrome(const DibDescription& dib);

}  // namespace standin

#endif

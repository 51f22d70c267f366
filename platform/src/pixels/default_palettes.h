// Colour tables handed out when a bitmap is read at 8 bits per pixel or
// fewer in a depth other than its own.
#ifndef STANDIN_DEFAULT_PALETTES_H
#define STANDIN_DEFAULT_PALETTES_H

#include "pixels/pixel_format.h"

namespace standin {

// Fills `colors` with the default table for `bitCount` (1, 4 or 8): black
// and white; the 16 VGA colours; the first ten static colours of the
// default palette, a 6 x 6 x 6 colour cube, a ramp of 20 greys and the last
// ten static colours. Returns the entry count.
int DefaultPalette(int bitCount, RGBQUAD* colors);

// Fills `colors` with the table made up for a device-dependent bitmap, which
// has none of its own, read at `bitCount` (1, 4 or 8) bits: black and white;
// the 16 VGA colours in the VGA order (grey 80 80 80 at 7, silver C0 C0 C0 at
// 8); the first ten static colours, a 3-3-2 colour cube (entry i has red
// (i & 7) << 5, green (i & 0x38) << 2, blue i & 0xC0) and the last ten
// static colours. Returns the entry count.
int DeviceDependentPalette(int bitCount, RGBQUAD* colors);

// Entries in the default logical palette.
constexpr int kDefaultLogicalColors = 20;

// Fills `colors` with the default logical palette: the 16 VGA colours with
// four more (money green, sky blue, cream, medium grey) between the dark and
// the bright halves.
void DefaultLogicalPalette(RGBQUAD colors[kDefaultLogicalColors]);

}  // namespace standin

#endif

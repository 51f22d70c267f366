// AlphaBlend's pixel loop: the stretch engine's geometry and surfaces with
// the blend row kernels (blend_rows.h) in place of a raster operation.
#ifndef STANDIN_STRETCH_BLEND_H
#define STANDIN_STRETCH_BLEND_H

#include "stretch/job.h"

#include <cstdint>

namespace standin {

struct BlendParameters {
    std::uint8_t constantAlpha = 255;  // BLENDFUNCTION's SourceConstantAlpha
    bool perPixel = false;             // AC_SRC_ALPHA: the source's fourth byte is its alpha
};

// Whether rows of this format hold blue, green, red and a fourth byte that
// can serve as alpha, so they can be read in place: 32-bit BI_RGB, and
// 32-bit bitfields with the same 8-8-8 masks.
bool HasAlphaByte(const PixelFormat& format);

// Blends the job's source over its drawn rectangle. Each axis takes the
// source pixel under each destination pixel's centre (COLORONCOLOR, the
// mode the platform uses for AlphaBlend whatever the context's). Source and
// destination must not share pixels. A source without an alpha byte is
// read through the row codec (fourth byte 0), a destination without one is
// blended as working pixels and packed back.
void BlendStretch(const StretchJob& job, const BlendParameters& blend);

}  // namespace standin

#endif

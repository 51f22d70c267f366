// What every blit (BitBlt, StretchBlt, AlphaBlend, TransparentBlt, MaskBlt,
// PlgBlt) finds out about its operands before any pixel moves: the context
// and the bitmap it draws on, whether coordinates are within the engine's
// limits, and how a source looks from the destination.
#ifndef STANDIN_GDI_BLIT_OPERANDS_H
#define STANDIN_GDI_BLIT_OPERANDS_H

#include "gdi/gdi_objects.h"
#include "stretch/job.h"

#include <initializer_list>

namespace standin {

struct Operands {
    DeviceContext* context = nullptr;
    Bitmap* bitmap = nullptr;
};

// False (and nothing found) for a null, stale or wrong-kind handle and for a
// context without pixels (the screen's).
bool FindOperands(HDC dc, Operands* out);

// Whether every origin and extent lies within kMaxStretchCoordinate.
bool WithinStretchLimits(std::initializer_list<int> values);

// The source as the destination should read it: a monochrome source onto a
// colour destination shows the destination context's text and background
// colours in place of its own black and white.
DibDescription SourceAsSeen(const Bitmap& source, const Bitmap& target, const DeviceContext& to);

// A colour source onto a monochrome `target`: `op` turns source pixels of
// the source context's background colour white and all others black. Leaves
// `op` alone for every other pair of formats.
void ConvertToMonochrome(const Bitmap& target, const Operands& from, PixelOp* op);

}  // namespace standin

#endif

// The system colours (GetSysColor) and their cached solid brushes
// (GetSysColorBrush), which FillRect also takes as a colour index plus one.
#ifndef STANDIN_SYSTEM_COLORS_H
#define STANDIN_SYSTEM_COLORS_H

#include "gdi/gdi_objects.h"

namespace standin {

// The brush of system colour `index`, or null when there is no such colour.
// Caller holds the API lock.
Brush* SystemColorBrush(int index);

// The brush FillRect means by `value`: a system colour index plus one.
// Null when the value is not one.
Brush* SystemColorBrushFromValue(HBRUSH value);

// A brush argument as the fills take it (FillRect, FrameRect, FillRgn,
// FrameRgn): a brush handle, or else a system colour index plus one. Null
// when it is neither.
Brush* FillBrush(HBRUSH value);

}  // namespace standin

#endif

// The holds a context's states take on the objects they name. The current
// state and every saved one each count as a selection of their pen, brush,
// palette and bitmap, so an object that RestoreDC may select again can be
// neither deleted nor, for a bitmap, selected into another context.
#ifndef STANDIN_DC_STATE_H
#define STANDIN_DC_STATE_H

#include "gdi/gdi_objects.h"

namespace standin {

// One more state of `dc` names the object. A bitmap becomes selected into
// `dc`; the caller has checked it is in no other context. Stock bitmaps are
// shared and not counted.
void HoldBitmap(HDC dc, Bitmap* bitmap);
template <class T>
void HoldObject(T* object) {
    ++object->selections;
}

// One state fewer names the object behind the handle (nothing when it names
// none). A bitmap named by no state of its context is free again.
void ReleaseBitmap(HBITMAP handle);
void ReleasePen(HPEN handle);
void ReleaseBrush(HBRUSH handle);
void ReleasePalette(HPALETTE handle);

// Takes or gives back a whole state's holds.
void HoldState(HDC dc, const DcState& state);
void ReleaseState(const DcState& state);

// Gives back the holds of the context's current and saved states, before it
// is removed.
void ReleaseAllStates(DeviceContext* context);

}  // namespace standin

#endif

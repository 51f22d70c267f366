// The windowless user layer and saved context states: signatures,
// structures and constants, as the platform declares them.
#include "agreement.h"

// ---- Saved context states ------------------------------------------------------

EXPECT_SIGNATURE(SaveDC, int(WINAPI *)(HDC));
EXPECT_SIGNATURE(RestoreDC, BOOL(WINAPI *)(HDC, int));

// The colour forms GDI resolves against palettes and colour tables, and the
// error for a buffer the caller cannot write.
#include "agreement.h"

EXPECT_VALUE(PALETTEINDEX(7), 0x01000007);
EXPECT_VALUE(PALETTERGB(1, 2, 3), 0x02030201);
EXPECT_VALUE(DIBINDEX(5), 0x10FF0005);
EXPECT_VALUE(ERROR_NOACCESS, 998);

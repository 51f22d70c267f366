// PatBlt: a raster operation over a rectangle that reads no source, only
// the context's brush and the destination (PATCOPY, PATINVERT, DSTINVERT,
// BLACKNESS, WHITENESS and every other code whose result does not depend on
// the source). It runs through BitBlt's path with no source context; a code
// that reads the source fails with ERROR_INVALID_PARAMETER, as the platform
// leaves it undefined. Negative extents draw leftwards or upwards from the
// origin, as BitBlt's do.
#include "support/last_error.h"
#include "stretch/raster_op.h"

using namespace standin;

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    if (UsesSource(RasterOpCode(rop))) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    return BitBlt(hdc, x, y, w, h, nullptr, 0, 0, rop);
}

// GetDeviceCaps: what every context here reports about its device.
//
// Memory contexts, the screen's and information contexts all describe the
// one screen (gdi/screen.h), as memory contexts on the platform report the
// display they are compatible with rather than the bitmap selected into
// them. The capability flags are those a display driver reports for a
// true-colour screen: they describe the device, and GDI itself stands in
// for whatever a device lacks, so they do not say which drawing calls this
// library has.
#include "gdi/gdi_objects.h"
#include "gdi/screen.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

namespace standin {
namespace {

struct Capability {
    int index;
    int value;
};

constexpr int kRasterCaps = RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV |
                            RC_BIGFONT | RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB | RC_OP_DX_OUTPUT;
constexpr int kCurveCaps = CC_CIRCLES | CC_PIE | CC_CHORD | CC_ELLIPSES | CC_WIDE | CC_STYLED |
                           CC_WIDESTYLED | CC_INTERIORS | CC_ROUNDRECT;
constexpr int kLineCaps =
    LC_POLYLINE | LC_MARKER | LC_POLYMARKER | LC_WIDE | LC_STYLED | LC_WIDESTYLED | LC_INTERIORS;
constexpr int kPolygonalCaps = PC_POLYGON | PC_RECTANGLE | PC_WINDPOLYGON | PC_SCANLINE | PC_WIDE |
                               PC_STYLED | PC_WIDESTYLED | PC_INTERIORS;
constexpr int kTextCaps = TC_OP_CHARACTER | TC_OP_STROKE | TC_CP_STROKE | TC_CR_ANY | TC_SF_X_YINDEP |
                          TC_SA_DOUBLE | TC_SA_INTEGER | TC_SA_CONTIN | TC_EA_DOUBLE | TC_IA_ABLE |
                          TC_UA_ABLE | TC_SO_ABLE | TC_RA_ABLE | TC_VA_ABLE;

constexpr Capability kScreenCaps[] = {
    {DRIVERVERSION, 0x4000},
    {TECHNOLOGY, DT_RASDISPLAY},
    {HORZSIZE, kScreenWidthMm},
    {VERTSIZE, kScreenHeightMm},
    {HORZRES, kScreenWidth},
    {VERTRES, kScreenHeight},
    {BITSPIXEL, kScreenBitCount},
    {PLANES, 1},
    // A true-colour device has no fixed set of brushes, pens or colours.
    {NUMBRUSHES, -1},
    {NUMPENS, -1},
    {NUMMARKERS, 0},
    {NUMFONTS, 0},
    {NUMCOLORS, -1},
    {PDEVICESIZE, 0},
    {CURVECAPS, kCurveCaps},
    {LINECAPS, kLineCaps},
    {POLYGONALCAPS, kPolygonalCaps},
    {TEXTCAPS, kTextCaps},
    {CLIPCAPS, 1},
    // Not a palette device (no RC_PALETTE), so the palette indexes say
    // none: no system palette, and the colour resolution is the pixels'.
    {RASTERCAPS, kRasterCaps},
    {ASPECTX, 36},
    {ASPECTY, 36},
    {ASPECTXY, 51},
    {LOGPIXELSX, kScreenDpi},
    {LOGPIXELSY, kScreenDpi},
    {SIZEPALETTE, 0},
    {NUMRESERVED, 20},
    {COLORRES, 24},
    // The printer-only indexes are 0 for a display.
    {PHYSICALWIDTH, 0},
    {PHYSICALHEIGHT, 0},
    {PHYSICALOFFSETX, 0},
    {PHYSICALOFFSETY, 0},
    {SCALINGFACTORX, 0},
    {SCALINGFACTORY, 0},
    {VREFRESH, kScreenRefreshHz},
    {DESKTOPVERTRES, kScreenHeight},
    {DESKTOPHORZRES, kScreenWidth},
    {BLTALIGNMENT, 0},  // any alignment
    // A display does every blend; the two flags say alpha blends are
    // accelerated, the only ones a display reports.
    {SHADEBLENDCAPS, SB_CONST_ALPHA | SB_PIXEL_ALPHA},
    {COLORMGMTCAPS, CM_NONE},  // no colour management or gamma ramps
};

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI GetDeviceCaps(HDC hdc, int index) try {
    ApiLock lock(ApiMutex());
    if (Lookup<DeviceContext>(hdc) == nullptr) return Fail<int>(ERROR_INVALID_HANDLE);
    for (const Capability& capability : kScreenCaps) {
        if (capability.index == index) return capability.value;
    }
    return 0;  // an index the platform does not define
} catch (...) {
    return OutOfMemory<int>();
}

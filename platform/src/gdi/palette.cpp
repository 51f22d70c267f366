// Logical palettes: creation and reading entries back. They are selected
// with SelectPalette (device_context.cpp) and give the colours of
// DIB_PAL_COLORS tables, whose entries are 16-bit indices into them.
#include "gdi/gdi_objects.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <algorithm>

namespace {

// The version every logical palette carries.
constexpr WORD kPaletteVersion = 0x300;

}  // namespace

using namespace standin;

HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal) try {
    ApiLock lock(ApiMutex());
    if (plpal == nullptr || plpal->palVersion != kPaletteVersion || plpal->palNumEntries == 0)
        return Fail<HPALETTE>(ERROR_INVALID_PARAMETER);
    auto palette = std::make_unique<Palette>();
    palette->colors.resize(plpal->palNumEntries);
    for (WORD i = 0; i < plpal->palNumEntries; ++i) {
        const PALETTEENTRY& e = plpal->palPalEntry[i];
        palette->colors[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
    }
    HPALETTE handle = InsertObject<HPALETTE>(std::move(palette));
    return handle != nullptr ? handle : Fail<HPALETTE>(ERROR_NOT_ENOUGH_MEMORY);
} catch (...) {
    return OutOfMemory<HPALETTE>();
}

UINT WINAPI GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, LPPALETTEENTRY pPalEntries) try {
    ApiLock lock(ApiMutex());
    const Palette* palette = Lookup<Palette>(hpal);
    if (palette == nullptr) return Fail<UINT>(ERROR_INVALID_HANDLE);
    const UINT size = static_cast<UINT>(palette->colors.size());
    // Without a buffer: the palette's entry count.
    if (pPalEntries == nullptr) return size;
    if (iStart >= size) return 0;
    const UINT count = std::min(cEntries, size - iStart);
    for (UINT i = 0; i < count; ++i) {
        const RGBQUAD& c = palette->colors[iStart + i];
        pPalEntries[i] = PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
    }
    return count;
} catch (...) {
    return OutOfMemory<UINT>();
}

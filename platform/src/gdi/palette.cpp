// Logical palettes: creation, the halftone palette, reading and changing
// entries and finding the nearest one. They are selected with SelectPalette
// (device_context.cpp) and give the colours of DIB_PAL_COLORS tables, whose
// entries are 16-bit indices into them; a table takes the palette's colours
// when it is made, so later changes to the palette leave it as it is.
#include "gdi/gdi_objects.h"
#include "pixels/default_palettes.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <algorithm>
#include <climits>

namespace {

// The version every logical palette carries.
constexpr WORD kPaletteVersion = 0x300;

// Writes the entries from `start` that the palette holds, colours and
// flags; with `reservedOnly` (AnimatePalette) only the colours of entries
// flagged PC_RESERVED. Returns how many entries were in range.
UINT ReplaceEntries(standin::Palette* palette, UINT start, UINT count, const PALETTEENTRY* entries,
                    bool reservedOnly) {
    const UINT size = static_cast<UINT>(palette->colors.size());
    if (start >= size) return 0;
    const UINT n = std::min(count, size - start);
    palette->flags.resize(size, 0);
    for (UINT i = 0; i < n; ++i) {
        BYTE& flags = palette->flags[start + i];
        if (reservedOnly && (flags & PC_RESERVED) == 0) continue;
        const PALETTEENTRY& e = entries[i];
        palette->colors[start + i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        if (!reservedOnly) flags = e.peFlags;
    }
    return n;
}

}  // namespace

using namespace standin;

HPALETTE WINAPI CreatePalette(const LOGPALETTE* plpal) try {
    ApiLock lock(ApiMutex());
    if (plpal == nullptr || plpal->palVersion != kPaletteVersion || plpal->palNumEntries == 0)
        return Fail<HPALETTE>(ERROR_INVALID_PARAMETER);
    auto palette = std::make_unique<Palette>();
    palette->colors.resize(plpal->palNumEntries);
    ReplaceEntries(palette.get(), 0, plpal->palNumEntries, plpal->palPalEntry, false);
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
        pPalEntries[i] = PALETTEENTRY{c.rgbRed, c.rgbGreen, c.rgbBlue, palette->Flags(iStart + i)};
    }
    return count;
} catch (...) {
    return OutOfMemory<UINT>();
}

HPALETTE WINAPI CreateHalftonePalette(HDC hdc) try {
    ApiLock lock(ApiMutex());
    EnsureStockObjects();
    if (Lookup<DeviceContext>(hdc) == nullptr) return Fail<HPALETTE>(ERROR_INVALID_HANDLE);
    // The table HALFTONE stretches into 8-bit bitmaps may use: the default
    // palette's static colours around a colour cube and a ramp of greys.
    auto palette = std::make_unique<Palette>();
    palette->colors.resize(kMaxColors);
    palette->colors.resize(static_cast<std::size_t>(DefaultPalette(8, palette->colors.data())));
    palette->flags.assign(palette->colors.size(), 0);
    HPALETTE handle = InsertObject<HPALETTE>(std::move(palette));
    return handle != nullptr ? handle : Fail<HPALETTE>(ERROR_NOT_ENOUGH_MEMORY);
} catch (...) {
    return OutOfMemory<HPALETTE>();
}

UINT WINAPI GetNearestPaletteIndex(HPALETTE h, COLORREF color) try {
    ApiLock lock(ApiMutex());
    const Palette* palette = Lookup<Palette>(h);
    if (palette == nullptr) return Fail(ERROR_INVALID_HANDLE, static_cast<UINT>(CLR_INVALID));
    // The smallest distance in RGB, ties to the lowest index. A palette may
    // hold more entries than a colour table, so each is looked at in turn.
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    UINT best = 0;
    int bestDistance = INT_MAX;
    for (std::size_t i = 0; i < palette->colors.size(); ++i) {
        const RGBQUAD& c = palette->colors[i];
        const int dr = c.rgbRed - r, dg = c.rgbGreen - g, db = c.rgbBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) best = static_cast<UINT>(i), bestDistance = distance;
    }
    return best;
} catch (...) {
    return OutOfMemory<UINT>(static_cast<UINT>(CLR_INVALID));
}

UINT WINAPI SetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, const PALETTEENTRY* pPalEntries) try {
    ApiLock lock(ApiMutex());
    Palette* palette = Lookup<Palette>(hpal);
    if (palette == nullptr) return Fail<UINT>(ERROR_INVALID_HANDLE);
    // The stock palette is every context's default; it stays as it is.
    if (palette->stock || pPalEntries == nullptr) return Fail<UINT>(ERROR_INVALID_PARAMETER);
    return ReplaceEntries(palette, iStart, cEntries, pPalEntries, false);
} catch (...) {
    return OutOfMemory<UINT>();
}

BOOL WINAPI AnimatePalette(HPALETTE hPal, UINT iStartIndex, UINT cEntries, const PALETTEENTRY* ppe) try {
    ApiLock lock(ApiMutex());
    Palette* palette = Lookup<Palette>(hPal);
    if (palette == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (palette->stock || ppe == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    // There is no system palette to animate: the logical palette's
    // PC_RESERVED entries take the new colours, which DIB_PAL_COLORS tables
    // made from then on show.
    ReplaceEntries(palette, iStartIndex, cEntries, ppe, true);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

#include "gdi/color_ref.h"

#include "pixels/default_palettes.h"
#include "pixels/pixel_values.h"

namespace standin {
namespace {

constexpr COLORREF kFormMask = 0xFFFF0000;
constexpr COLORREF kDibIndexForm = 0x10FF0000;
constexpr COLORREF kPaletteIndexForm = 0x01000000;

COLORREF Rgb(const RGBQUAD& c) { return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue); }

COLORREF PaletteEntry(const DeviceContext* context, unsigned index) {
    if (const Palette* palette = context != nullptr ? Lookup<Palette>(context->palette) : nullptr)
        return index < palette->colors.size() ? Rgb(palette->colors[index]) : RGB(0, 0, 0);
    RGBQUAD defaults[kDefaultLogicalColors];
    DefaultLogicalPalette(defaults);
    return index < static_cast<unsigned>(kDefaultLogicalColors) ? Rgb(defaults[index]) : RGB(0, 0, 0);
}

}  // namespace

COLORREF StoredColorRef(COLORREF color) {
    if ((color & kFormMask) == kDibIndexForm || (color & kFormMask) == kPaletteIndexForm) return color;
    return color & 0xFFFFFF;
}

Ink ResolveInk(const DeviceContext* context, const Bitmap& bitmap, COLORREF color) {
    const unsigned index = color & 0xFFFF;
    if ((color & kFormMask) == kPaletteIndexForm) return Ink{PaletteEntry(context, index), -1};
    if ((color & kFormMask) != kDibIndexForm) return Ink{color & 0xFFFFFF, -1};
    // A bitmap without a colour table has no entry n: black.
    if (!bitmap.format().indexed() || index >= static_cast<unsigned>(bitmap.dib.colorCount))
        return Ink{RGB(0, 0, 0), -1};
    return Ink{Rgb(bitmap.dib.colors[index]), static_cast<int>(index)};
}

std::uint32_t InkValue(const Bitmap& bitmap, const Ink& ink) {
    if (ink.index >= 0) return static_cast<std::uint32_t>(ink.index);
    return ColourValue(bitmap.dib, ink.rgb);
}

}  // namespace standin

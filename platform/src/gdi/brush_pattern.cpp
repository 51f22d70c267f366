#include "gdi/brush_pattern.h"

#include "gdi/color_ref.h"
#include "pixels/pixel_values.h"
#include "pixels/row_codec.h"
#include "stretch/surface.h"

#include <vector>

namespace standin {
namespace {

constexpr std::uint8_t kHatchRows[][kHatchSide] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL: down left to right
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL: up left to right
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

RGBQUAD Quad(COLORREF colour) {
    return RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
}

void Anchor(const DeviceContext& context, PatternTile* tile) {
    tile->originX = context.brushOrigin.x;
    tile->originY = context.brushOrigin.y;
}

SharedPattern HatchPattern(const Brush& brush, const DeviceContext& context, const Bitmap& target) {
    PatternTile tile;
    tile.width = tile.height = kHatchSide;
    tile.values.assign(kHatchSide * kHatchSide, 0);
    const std::uint32_t ink = InkValue(target, ResolveInk(&context, target, brush.color));
    const std::uint32_t paper = InkValue(target, ResolveInk(&context, target, context.backColor));
    const bool opaque = context.backMode == OPAQUE;
    if (!opaque) tile.painted.assign(tile.values.size(), 0);
    for (int y = 0; y < kHatchSide; ++y) {
        std::uint8_t bits = 0;
        HatchRow(brush.hatch, y, &bits);
        for (int x = 0; x < kHatchSide; ++x) {
            const bool line = (bits >> (7 - x)) & 1;
            tile.values[static_cast<std::size_t>(y * kHatchSide + x)] = line ? ink : paper;
            if (!opaque) tile.painted[static_cast<std::size_t>(y * kHatchSide + x)] = line;
        }
    }
    Anchor(context, &tile);
    return std::make_shared<const PatternTile>(std::move(tile));
}

// The picture's colours as drawn through `context`.
DibDescription PictureAsSeen(const BrushPicture& picture, const DeviceContext& context) {
    DibDescription dib = picture.dib;
    if (picture.monochrome) {
        dib.colors[0] = Quad(context.textColor);
        dib.colors[1] = Quad(context.backColor);
    } else if (picture.paletteIndices) {
        const Palette* palette = Lookup<Palette>(context.palette);
        for (std::size_t i = 0; i < picture.indices.size(); ++i) {
            const WORD index = picture.indices[i];
            const bool inside = palette != nullptr && index < palette->colors.size();
            dib.colors[i] = inside ? palette->colors[index] : RGBQUAD{0, 0, 0, 0};
        }
    }
    return dib;
}

// Each picture row decoded and packed into the target's format, then read
// as the target's pixel values.
SharedPattern PicturePattern(const BrushPicture& picture, const DeviceContext& context,
                             const Bitmap& target) {
    const DibDescription dib = PictureAsSeen(picture, context);
    PatternTile tile;
    tile.width = dib.width;
    tile.height = dib.height;
    tile.values.resize(static_cast<std::size_t>(dib.width) * static_cast<std::size_t>(dib.height));
    const Surface rows(const_cast<std::uint8_t*>(picture.pixels.data()), dib);
    RowCodec from(dib.format, dib.colors.data(), dib.colorCount);
    RowCodec to(target.format(), target.dib.colors.data(), target.dib.colorCount);
    std::vector<std::uint8_t> work(static_cast<std::size_t>(dib.width) * kWorkBytesPerPixel);
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(DibStride(dib.width, target.format().bitCount)));
    for (std::int32_t y = 0; y < dib.height; ++y) {
        from.Unpack(rows.Row(y), 0, dib.width, work.data());
        to.Pack(work.data(), 0, dib.width, packed.data());
        ReadPixelValues(target.format(), packed.data(), 0, dib.width,
                        tile.values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(dib.width));
    }
    Anchor(context, &tile);
    return std::make_shared<const PatternTile>(std::move(tile));
}

}  // namespace

bool HatchRow(ULONG_PTR style, int y, std::uint8_t* bits) {
    if (style > HS_DIAGCROSS || y < 0 || y >= kHatchSide) return false;
    *bits = kHatchRows[style][y];
    return true;
}

SharedPattern SolidColourPattern(const Bitmap& target, COLORREF colour) {
    return SolidPattern(ColourValue(target.dib, colour));
}

SharedPattern RealizeBrush(const Brush& brush, const DeviceContext& context, const Bitmap& target) {
    switch (brush.style) {
        case BS_SOLID:
            return SolidPattern(InkValue(target, ResolveInk(&context, target, brush.dcColor ? context.dcBrushColor : brush.color)));
        case BS_HATCHED: return HatchPattern(brush, context, target);
        case BS_PATTERN:
        case BS_DIBPATTERN:
        case BS_DIBPATTERNPT:
            if (brush.picture != nullptr) return PicturePattern(*brush.picture, context, target);
            return nullptr;
        default: return nullptr;  // BS_NULL
    }
}

}  // namespace standin

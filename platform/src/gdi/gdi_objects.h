// The GDI objects behind the handles: bitmaps, memory device contexts, pens
// and brushes.
#ifndef STANDIN_GDI_OBJECTS_H
#define STANDIN_GDI_OBJECTS_H

#include "support/object_table.h"
#include "pixels/pixel_format.h"
#include "support/large_blocks.h"
#include "gdi/screen.h"
#include "space/coordinate_space.h"
#include "region/band_region.h"

#include <cstdint>
#include <cstddef>
#include <memory>
#include <vector>

namespace standin {

// Pixels are held in whole pages of their own, as the platform's section
// bits are: the block is page-aligned, and a caller writing past the last
// row but inside the last page touches only the bitmap's memory.
struct PagesDeleter {
    std::size_t bytes = 0;
    void operator()(std::uint8_t* p) const { FreePages(p, bytes); }
};
using PixelBlock = std::unique_ptr<std::uint8_t, PagesDeleter>;

struct Bitmap : Object {
    static constexpr ObjectKind kKind = ObjectKind::Bitmap;
    Bitmap() : Object(kKind) {}

    DibDescription dib;
    PixelBlock pixels;
    // The device context this bitmap is selected into, or null. A bitmap is
    // selected into at most one context at a time (stock bitmaps excepted).
    HDC selectedInto = nullptr;
    // States of that context naming it: the current one and saved ones. It
    // stays selected until the last of them lets it go.
    int selections = 0;
    // Whether it is a DIB section (GetObject then reports its bits). Every
    // other bitmap is device-dependent: its pixels are held the same way but
    // are reached only through the GDI calls.
    bool dibSection = false;
    // The caller's physical size for it, in 0.1 mm (SetBitmapDimensionEx);
    // nothing here reads it.
    SIZE dimension{0, 0};

    std::int32_t width() const { return dib.width; }
    std::int32_t height() const { return dib.height; }
    const PixelFormat& format() const { return dib.format; }
    // Row y counted from the top of the picture, whatever the storage order.
    std::uint8_t* Row(std::int32_t y) const {
        std::int32_t stored = dib.topDown ? y : dib.height - 1 - y;
        return pixels.get() + static_cast<std::size_t>(stored) * dib.stride;
    }
};


// The picture of a pattern brush, copied when the brush is made, so the
// bitmap or the caller's block can go away while the brush lives.
struct BrushPicture {
    DibDescription dib;
    std::vector<std::uint8_t> pixels;  // dib.imageBytes, rows as dib says
    // A monochrome bitmap's pattern takes the drawing context's text (0) and
    // background (1) colours instead of its own.
    bool monochrome = false;
    // DIB_PAL_COLORS: colour-table entries as indices into the palette of
    // the context drawn into, resolved when drawing.
    bool paletteIndices = false;
    std::vector<WORD> indices;
};

struct Brush : Object {
    static constexpr ObjectKind kKind = ObjectKind::Brush;
    Brush(UINT s, COLORREF c) : Object(kKind), style(s), color(c) {}
    UINT style;      // BS_SOLID, BS_NULL, BS_HATCHED, BS_PATTERN, BS_DIBPATTERNPT
    COLORREF color;  // solid and hatch colour; DIB_RGB_COLORS or DIB_PAL_COLORS for DIB patterns
    ULONG_PTR hatch = 0;  // LOGBRUSH's lbHatch as GetObject reports it
    bool dcColor = false;  // the stock DC_BRUSH: takes the drawing context's DC brush colour
    std::shared_ptr<const BrushPicture> picture;  // pattern brushes only
    int selections = 0;  // context states (current or saved) naming this brush
};

struct Pen : Object {
    static constexpr ObjectKind kKind = ObjectKind::Pen;
    Pen(int s, int w, COLORREF c) : Object(kKind), style(s), width(w), color(c) {}
    int style;  // PS_SOLID to PS_ALTERNATE: the style without type, cap or join
    int width;
    COLORREF color;
    bool dcColor = false;  // the stock DC_PEN: draws in the context's DC pen colour
    // Made by ExtCreatePen: GetObject describes it with an EXTLOGPEN, and
    // `extendedStyle` holds its type, end cap, join and style as given.
    bool extended = false;
    DWORD extendedStyle = 0;
    // A geometric pen draws with a brush (any kind but hollow), kept here
    // outside the handle table; null for cosmetic pens, which are solid.
    std::unique_ptr<Brush> brush;
    std::vector<std::uint32_t> userStyle;  // PS_USERSTYLE's runs
    int selections = 0;  // context states (current or saved) naming this pen

    bool geometric() const { return extended && (extendedStyle & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

// A logical palette: its colours in order (entry flags are not kept).
struct Palette : Object {
    static constexpr ObjectKind kKind = ObjectKind::Palette;
    Palette() : Object(kKind) {}
    std::vector<RGBQUAD> colors;
    std::vector<BYTE> flags;  // may be shorter than `colors`: the rest are 0
    BYTE Flags(std::size_t i) const { return i < flags.size() ? flags[i] : 0; }
    int selections = 0;  // context states (current or saved) naming this palette
};

// Every attribute of a device context that SaveDC saves and RestoreDC
// brings back: the selected objects, colours, modes and positions. A new
// per-context attribute belongs here, so that it is saved with the rest;
// DeviceContext itself holds only what no saved state may change.
struct DcState {
    HBITMAP bitmap = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HPALETTE palette = nullptr;
    POINT position{0, 0};
    int stretchMode = BLACKONWHITE;
    // Colours for monochrome conversions in blits (and, on the platform, text).
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backColor = RGB(255, 255, 255);
    int backMode = OPAQUE;
    POINT brushOrigin{0, 0};
    // The colours of the stock DC_BRUSH and DC_PEN while drawing here.
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    // Pixels of the dash pattern used since the last MoveToEx, modulo its
    // period: it goes with the current position.
    std::int64_t styleStep = 0;
    // Mapping mode, extents, origins, graphics mode, world transform and
    // layout: how logical coordinates land on the device (gdi/coordinates.h).
    CoordinateSpace space;
    // How pens and brushes combine with the pixels they draw on (SetROP2).
    int mix = R2_COPYPEN;
    // Which pixels Polygon and PolyPolygon fill (SetPolyFillMode).
    int polyFillMode = ALTERNATE;
    // The direction arcs, pies and chords are drawn in (SetArcDirection).
    int arcDirection = AD_COUNTERCLOCKWISE;
    // The clip region, in device pixels; null while the context has none
    // and every pixel of its bitmap may be drawn. Never changed in place: a
    // new clip is a new region, so saved states share it safely.
    std::shared_ptr<const BandRegion> clip;
    // Bounds accumulation (SetBoundsRect): whether draws gather the device
    // pixels they touch into `bounds`, empty until one does.
    bool boundsEnabled = false;
    RegionRect bounds;
};

struct DeviceContext : Object, DcState {
    static constexpr ObjectKind kKind = ObjectKind::DeviceContext;
    DeviceContext() : Object(kKind) {}
    // The pixel this context draws on while the stock bitmap is selected:
    // every context has its own, so drawing in one shows in no other.
    std::unique_ptr<Bitmap> defaultPixel;
    // A context for the whole screen (GetDC(NULL), CreateDC, CreateIC): it
    // holds no bitmap and cannot be drawn on here, but describes the
    // screen's format.
    bool screen = false;
    // How it was made, which says how it is given back: GetDC's with
    // ReleaseDC, every other with DeleteDC.
    enum class Source : std::uint8_t { Memory, GetDC, CreateDC, CreateIC };
    Source source = Source::Memory;
    // States pushed by SaveDC, oldest first; SaveDC's level n is saved[n - 1].
    std::vector<DcState> saved;
};

// Row length of a device-dependent bitmap's bits: padded to a 16-bit word.
inline std::int64_t WordAlignedRowBytes(std::int64_t width, int bitCount) {
    return (width * bitCount + 15) / 16 * 2;
}

// The description of a device-dependent bitmap of 1 (black and white), 4,
// 8 (the default tables), 16 (5-5-5), 24 or 32 bits per pixel. False beyond
// the size limits.
bool DescribeDeviceBitmap(std::int64_t width, std::int64_t height, int bitCount,
                          DibDescription* out);

// Whether a bitmap may be selected into a memory context: DIB sections and
// monochrome bitmaps go into any, other device-dependent bitmaps only at
// the screen's depth, the format every memory context here is compatible
// with.
bool SelectableIntoMemoryContext(const Bitmap& bitmap);

// What CreateCompatibleBitmap makes for a context at this size (both sides
// positive): false beyond the size limits.
bool DescribeCompatible(const DeviceContext& context, int width, int height, DibDescription* out,
                        bool* dibSection);

// Makes a bitmap from a checked description, pixels zeroed; null when the
// pixel block cannot be allocated.
std::unique_ptr<Bitmap> MakeBitmap(const DibDescription& dib);

// Inserts a new bitmap; null (nothing inserted) when the pixels cannot be
// allocated or the table is full.
HBITMAP InsertBitmap(const DibDescription& dib, bool dibSection);

// The bitmap a context draws on, or null when the context is invalid: the
// selected one, or the context's own pixel while the stock bitmap is selected.
Bitmap* SelectedBitmap(HDC dc);

// A new context made the given way, with the default objects; a memory
// context starts with the stock bitmap, the screen's hold none. Null when
// memory runs out. Caller holds the lock.
HDC InsertContext(DeviceContext::Source source);

// Removes a context, letting go of everything its states hold. Caller
// holds the lock.
void RemoveContext(HDC hdc, DeviceContext* context);

// The colours of the palette selected into a context (for DIB_PAL_COLORS);
// false when the context is invalid. Caller holds the lock.
bool SelectedLogicalColors(HDC dc, LogicalColors* out);

// Creates the stock objects once. Called under the API lock by every entry
// point that may hand out or use one.
void EnsureStockObjects();
HBITMAP StockBitmap();
// A fresh 1 x 1 monochrome bitmap, black, outside the handle table; null when
// it cannot be allocated.
std::unique_ptr<Bitmap> MakeDefaultBitmap();
// A stock object by its GetStockObject index, or null; caller holds the lock.
HGDIOBJ StockObject(int index);

}  // namespace standin

#endif

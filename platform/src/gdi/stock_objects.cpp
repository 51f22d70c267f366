// Stock pens, brushes, the default palette and the 1 x 1 monochrome bitmap that every new memory
// device context starts with. They are made once and never deleted. The
// stock bitmap's handle is shared, but a context draws on a pixel of its own
// while it holds it (SelectedBitmap), so one context's drawing never shows
// through another's; the stock bitmap itself stays black.
#include "support/api_boundary.h"
#include "gdi/gdi_objects.h"
#include "pixels/default_palettes.h"

#include <array>

namespace standin {
namespace {

// Indices 9 to 14, 16 and 17 are the stock fonts, which do not exist here.
constexpr int kStockObjectCount = DC_PEN + 1;

struct StockTable {
    std::array<HGDIOBJ, kStockObjectCount> objects{};
    HBITMAP bitmap = nullptr;
    bool made = false;
};

StockTable& Stock() {
    static StockTable table;
    return table;
}

template <class T>
HGDIOBJ InsertStock(std::unique_ptr<T> object) {
    object->stock = true;
    return Objects().Insert(std::move(object));
}

}  // namespace

std::unique_ptr<Bitmap> MakeDefaultBitmap() {
    DibDescription dib;
    DescribeDeviceBitmap(1, 1, 1, &dib);
    return MakeBitmap(dib);
}

namespace {

HBITMAP MakeStockBitmap() {
    std::unique_ptr<Bitmap> bitmap = MakeDefaultBitmap();
    if (!bitmap) return nullptr;
    return static_cast<HBITMAP>(InsertStock(std::move(bitmap)));
}

HGDIOBJ MakeDefaultPalette() {
    auto palette = std::make_unique<Palette>();
    palette->colors.resize(kDefaultLogicalColors);
    DefaultLogicalPalette(palette->colors.data());
    return InsertStock(std::move(palette));
}

}  // namespace

void EnsureStockObjects() {
    StockTable& t = Stock();
    if (t.made) return;
    // Each object is made once; when memory runs out part-way, the next
    // call makes the rest.
    const auto brush = [&](int index, UINT style, COLORREF color) {
        if (t.objects[index] == nullptr) t.objects[index] = InsertStock(std::make_unique<Brush>(style, color));
    };
    const auto pen = [&](int index, int style, COLORREF color) {
        if (t.objects[index] == nullptr) t.objects[index] = InsertStock(std::make_unique<Pen>(style, 1, color));
    };
    brush(WHITE_BRUSH, BS_SOLID, RGB(255, 255, 255));
    brush(LTGRAY_BRUSH, BS_SOLID, RGB(192, 192, 192));
    brush(GRAY_BRUSH, BS_SOLID, RGB(128, 128, 128));
    brush(DKGRAY_BRUSH, BS_SOLID, RGB(64, 64, 64));
    brush(BLACK_BRUSH, BS_SOLID, RGB(0, 0, 0));
    brush(NULL_BRUSH, BS_NULL, RGB(0, 0, 0));
    pen(WHITE_PEN, PS_SOLID, RGB(255, 255, 255));
    pen(BLACK_PEN, PS_SOLID, RGB(0, 0, 0));
    pen(NULL_PEN, PS_NULL, RGB(0, 0, 0));
    // DC_BRUSH and DC_PEN draw in the colours of the context they draw in.
    brush(DC_BRUSH, BS_SOLID, RGB(255, 255, 255));
    pen(DC_PEN, PS_SOLID, RGB(0, 0, 0));
    if (Object* dcBrush = Objects().Find(t.objects[DC_BRUSH])) static_cast<Brush*>(dcBrush)->dcColor = true;
    if (Object* dcPen = Objects().Find(t.objects[DC_PEN])) static_cast<Pen*>(dcPen)->dcColor = true;
    if (t.objects[DEFAULT_PALETTE] == nullptr) t.objects[DEFAULT_PALETTE] = MakeDefaultPalette();
    if (t.bitmap == nullptr) t.bitmap = MakeStockBitmap();
    t.made = t.bitmap != nullptr && t.objects[DEFAULT_PALETTE] != nullptr;
}

HBITMAP StockBitmap() {
    EnsureStockObjects();
    return Stock().bitmap;
}

HGDIOBJ StockObject(int index) {
    EnsureStockObjects();
    if (index < 0 || index >= kStockObjectCount) return nullptr;
    return Stock().objects[static_cast<std::size_t>(index)];
}

}  // namespace standin

HGDIOBJ WINAPI GetStockObject(int i) try {
    standin::ApiLock lock(standin::ApiMutex());
    return standin::StockObject(i);
} catch (...) {
    return standin::OutOfMemory<HGDIOBJ>();
}

// Stock pens, brushes, the default palette and the 1 x 1 monochrome bitmap that every new memory
// device context starts with. They are made once and never deleted.
#include "gdi/gdi_objects.h"
#include "pixels/default_palettes.h"

#include <array>

namespace standin {
namespace {

// Indices 9 to 14 are the stock fonts, which do not exist here.
constexpr int kStockObjectCount = DEFAULT_PALETTE + 1;

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

HBITMAP MakeStockBitmap() {
    DibDescription dib;
    DescribeDeviceBitmap(1, 1, 1, &dib);
    std::unique_ptr<Bitmap> bitmap = MakeBitmap(dib);
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
    t.made = true;
    t.objects[WHITE_BRUSH] = InsertStock(std::make_unique<Brush>(BS_SOLID, RGB(255, 255, 255)));
    t.objects[LTGRAY_BRUSH] = InsertStock(std::make_unique<Brush>(BS_SOLID, RGB(192, 192, 192)));
    t.objects[GRAY_BRUSH] = InsertStock(std::make_unique<Brush>(BS_SOLID, RGB(128, 128, 128)));
    t.objects[DKGRAY_BRUSH] = InsertStock(std::make_unique<Brush>(BS_SOLID, RGB(64, 64, 64)));
    t.objects[BLACK_BRUSH] = InsertStock(std::make_unique<Brush>(BS_SOLID, RGB(0, 0, 0)));
    t.objects[NULL_BRUSH] = InsertStock(std::make_unique<Brush>(BS_NULL, RGB(0, 0, 0)));
    t.objects[WHITE_PEN] = InsertStock(std::make_unique<Pen>(PS_SOLID, 1, RGB(255, 255, 255)));
    t.objects[BLACK_PEN] = InsertStock(std::make_unique<Pen>(PS_SOLID, 1, RGB(0, 0, 0)));
    t.objects[NULL_PEN] = InsertStock(std::make_unique<Pen>(PS_NULL, 1, RGB(0, 0, 0)));
    t.objects[DEFAULT_PALETTE] = MakeDefaultPalette();
    t.bitmap = MakeStockBitmap();
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

HGDIOBJ WINAPI GetStockObject(int i) {
    standin::ApiLock lock(standin::ApiMutex());
    return standin::StockObject(i);
}

// Bitmaps, pens and brushes: creation, description and deletion.
#include "gdi/gdi_objects.h"
#include "gdi/color_ref.h"

#include "support/api_boundary.h"
#include "support/caller_memory.h"

#include "pixels/bitmap_info.h"
#include "pixels/default_palettes.h"
#include "support/fault_injection.h"
#include "support/large_blocks.h"
#include "support/last_error.h"

#include <climits>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

namespace standin {
namespace {

// Row length reported for a device-dependent bitmap: padded to a 16-bit
// word, whatever the padding of the rows held here.
LONG DeviceRowBytes(const Bitmap& bitmap) {
    return static_cast<LONG>(WordAlignedRowBytes(bitmap.width(), bitmap.format().bitCount));
}

// The colour masks of a format above 8 bits: its own bitfields, or the
// BI_RGB layouts (5-5-5 at 16 bits, 8-8-8 at 24 and 32). Zero at 8 bits or
// fewer.
void ReportMasks(const PixelFormat& format, DWORD masks[3]) {
    if (format.indexed()) return;
    if (format.bitfields || format.bitCount == 16) {
        masks[0] = format.red.mask;
        masks[1] = format.green.mask;
        masks[2] = format.blue.mask;
    } else {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
}

// Hands a record to GetObject's caller: its size, or 0 with ERROR_NOACCESS
// when the caller's buffer cannot be written.
int Hand(void* out, const void* record, std::size_t bytes) {
    if (!CopyToCaller(out, record, bytes)) return Fail<int>(ERROR_NOACCESS);
    return static_cast<int>(bytes);
}

int DescribeBitmap(const Bitmap& bitmap, int size, void* out) {
    BITMAP bm{};
    bm.bmType = 0;
    bm.bmWidth = bitmap.width();
    bm.bmHeight = bitmap.height();
    bm.bmWidthBytes = bitmap.dibSection ? static_cast<LONG>(bitmap.dib.stride) : DeviceRowBytes(bitmap);
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(bitmap.format().bitCount);
    bm.bmBits = bitmap.dibSection ? bitmap.pixels.get() : nullptr;
    if (out == nullptr) return sizeof(BITMAP);
    if (bitmap.dibSection && size >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        // The header reports the height as positive whichever way the
        // rows are stored, as the platform does.
        ds.dsBmih = MakeInfoHeader(bitmap.width(), bitmap.height(), false, bitmap.format());
        ds.dsBmih.biClrUsed = static_cast<DWORD>(bitmap.dib.colorCount);
        ReportMasks(bitmap.format(), ds.dsBitfields);
        return Hand(out, &ds, sizeof ds);
    }
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    return Hand(out, &bm, sizeof bm);
}

template <class Record>
int CopyRecord(const Record& record, int size, void* out) {
    if (out == nullptr) return sizeof(Record);
    if (size < static_cast<int>(sizeof(Record))) return 0;
    return Hand(out, &record, sizeof record);
}

// An ExtCreatePen pen: an EXTLOGPEN whose style array holds exactly the
// pen's runs, so its size is the fixed part plus four bytes a run.
int DescribeExtendedPen(const Pen& pen, int size, void* out) {
    const std::size_t runs = pen.userStyle.size();
    const std::size_t bytes = offsetof(EXTLOGPEN, elpStyleEntry) + runs * sizeof(DWORD);
    if (out == nullptr) return static_cast<int>(bytes);
    if (size < static_cast<int>(bytes)) return 0;
    std::vector<std::uint8_t> record(std::max(bytes, sizeof(EXTLOGPEN)));
    EXTLOGPEN head{};
    head.elpPenStyle = pen.extendedStyle;
    head.elpWidth = static_cast<DWORD>(pen.width);
    head.elpBrushStyle = pen.brush != nullptr ? pen.brush->style : BS_SOLID;
    head.elpColor = pen.brush != nullptr ? pen.brush->color : pen.color;
    head.elpHatch = pen.brush != nullptr ? pen.brush->hatch : 0;
    head.elpNumEntries = static_cast<DWORD>(runs);
    std::memcpy(record.data(), &head, offsetof(EXTLOGPEN, elpStyleEntry));
    if (runs != 0)
        std::memcpy(record.data() + offsetof(EXTLOGPEN, elpStyleEntry), pen.userStyle.data(), runs * sizeof(DWORD));
    return Hand(out, record.data(), bytes);
}

}  // namespace

std::unique_ptr<Bitmap> MakeBitmap(const DibDescription& dib) {
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->dib = dib;
    bitmap->pixels = PixelBlock(static_cast<std::uint8_t*>(AllocatePages(dib.imageBytes)),
                                PagesDeleter{dib.imageBytes});
    if (!bitmap->pixels) return nullptr;
    return bitmap;
}

bool DescribeDeviceBitmap(std::int64_t width, std::int64_t height, int bitCount,
                          DibDescription* out) {
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension) return false;
    std::int64_t stride = DibStride(width, bitCount);
    if (stride * height > kMaxImageBytes) return false;
    DibDescription dib;
    dib.width = static_cast<std::int32_t>(width);
    dib.height = static_cast<std::int32_t>(height);
    dib.format = RgbFormat(bitCount);
    if (dib.format.indexed()) dib.colorCount = DefaultPalette(bitCount, dib.colors.data());
    dib.stride = static_cast<std::size_t>(stride);
    dib.imageBytes = static_cast<std::size_t>(stride * height);
    *out = dib;
    return true;
}

bool SelectableIntoMemoryContext(const Bitmap& bitmap) {
    return bitmap.dibSection || bitmap.stock || bitmap.format().bitCount == 1 ||
           bitmap.format().bitCount == kScreenBitCount;
}

HBITMAP InsertBitmap(const DibDescription& dib, bool dibSection) {
    std::unique_ptr<Bitmap> bitmap = MakeBitmap(dib);
    if (!bitmap) return nullptr;
    bitmap->dibSection = dibSection;
    return InsertObject<HBITMAP>(std::move(bitmap));
}

}  // namespace standin

using namespace standin;

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits,
                                HANDLE hSection, DWORD offset) try {
    ApiLock lock(ApiMutex());
    if (ppvBits != nullptr) *ppvBits = nullptr;
    // A DIB_PAL_COLORS table indexes the context's palette, so needs one.
    LogicalColors logical;
    if ((hdc != nullptr || usage == DIB_PAL_COLORS) && !SelectedLogicalColors(hdc, &logical))
        return Fail<HBITMAP>(ERROR_INVALID_HANDLE);
    // File-mapping sections are not supported: pixels live on the heap.
    if (hSection != nullptr || offset != 0) return Fail<HBITMAP>(ERROR_NOT_SUPPORTED);
    DibDescription dib;
    if (!DescribeDib(pbmi, usage, &dib, logical)) return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
    if (InjectedFailure(Call::CreateDIBSection)) return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
    std::unique_ptr<Bitmap> bitmap = MakeBitmap(dib);
    if (!bitmap) return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
    bitmap->dibSection = true;
    void* bits = bitmap->pixels.get();
    HBITMAP handle = InsertObject<HBITMAP>(std::move(bitmap));
    if (handle == nullptr) return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
    if (ppvBits != nullptr) *ppvBits = bits;
    return handle;
} catch (...) {
    return OutOfMemory<HBITMAP>();
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) try {
    ApiLock lock(ApiMutex());
    // A negative width means its magnitude (INT_MIN, having none, is the
    // widest the stand-in draws anyway).
    const int width = cWidth >= 0 ? cWidth : cWidth == INT_MIN ? INT_MAX : -cWidth;
    switch (iStyle) {
        case PS_DASH:
        case PS_DOT:
        case PS_DASHDOT:
        case PS_DASHDOTDOT:
            // Dashes exist only one pixel wide; a wider dashed pen is solid.
            if (width > 1) iStyle = PS_SOLID;
            break;
        case PS_SOLID:
        case PS_NULL:
        case PS_INSIDEFRAME:  // solid for lines: it only shrinks bounded figures
            break;
        case PS_USERSTYLE:
        case PS_ALTERNATE:  // ExtCreatePen's styles
            return Fail<HPEN>(ERROR_NOT_SUPPORTED);
        default:
            return Fail<HPEN>(ERROR_INVALID_PARAMETER);
    }
    return InsertObject<HPEN>(std::make_unique<Pen>(iStyle, width, StoredColorRef(color)));
} catch (...) {
    return OutOfMemory<HPEN>();
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) try {
    ApiLock lock(ApiMutex());
    return InsertObject<HBRUSH>(std::make_unique<Brush>(BS_SOLID, StoredColorRef(color)));
} catch (...) {
    return OutOfMemory<HBRUSH>();
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) try {
    ApiLock lock(ApiMutex());
    if (h == nullptr) return 0;  // the platform leaves the last error alone
    if (InjectedFailure(Call::GetObjectA)) return Fail<int>(ERROR_INVALID_HANDLE);
    if (Bitmap* bitmap = Lookup<Bitmap>(h)) return DescribeBitmap(*bitmap, c, pv);
    if (Pen* pen = Lookup<Pen>(h)) {
        if (pen->extended) return DescribeExtendedPen(*pen, c, pv);
        LOGPEN record{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color};
        return CopyRecord(record, c, pv);
    }
    if (Brush* brush = Lookup<Brush>(h)) {
        LOGBRUSH record{brush->style, brush->color, brush->hatch};
        return CopyRecord(record, c, pv);
    }
    if (Palette* palette = Lookup<Palette>(h)) {
        // A palette is described by its entry count alone.
        WORD entries = static_cast<WORD>(palette->colors.size());
        return CopyRecord(entries, c, pv);
    }
    return Fail<int>(ERROR_INVALID_HANDLE);
} catch (...) {
    return OutOfMemory<int>();
}

DWORD WINAPI GetObjectType(HGDIOBJ h) try {
    ApiLock lock(ApiMutex());
    Object* object = Objects().Find(h);
    if (object == nullptr) return Fail<DWORD>(ERROR_INVALID_HANDLE);
    switch (object->kind) {
        case ObjectKind::Bitmap: return OBJ_BITMAP;
        case ObjectKind::Pen: return static_cast<Pen*>(object)->extended ? OBJ_EXTPEN : OBJ_PEN;
        case ObjectKind::Brush: return OBJ_BRUSH;
        case ObjectKind::Palette: return OBJ_PAL;
        case ObjectKind::Region: return OBJ_REGION;
        case ObjectKind::DeviceContext:
            return static_cast<DeviceContext*>(object)->screen ? OBJ_DC : OBJ_MEMDC;
        case ObjectKind::File:
        case ObjectKind::MemoryBlock: break;
    }
    return Fail<DWORD>(ERROR_INVALID_HANDLE);
} catch (...) {
    return OutOfMemory<DWORD>();
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) try {
    ApiLock lock(ApiMutex());
    if (ho == nullptr) return FALSE;  // the platform leaves the last error alone
    Object* object = Objects().Find(ho);
    if (object == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    // Deleting a stock object is allowed and does nothing.
    if (object->stock) return TRUE;
    switch (object->kind) {
        case ObjectKind::Bitmap:
            if (static_cast<Bitmap*>(object)->selectedInto != nullptr)
                return Fail<BOOL>(ERROR_INVALID_PARAMETER);
            break;
        case ObjectKind::Pen:
            if (static_cast<Pen*>(object)->selections > 0) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
            break;
        case ObjectKind::Brush:
            if (static_cast<Brush*>(object)->selections > 0)
                return Fail<BOOL>(ERROR_INVALID_PARAMETER);
            break;
        case ObjectKind::Palette:
            if (static_cast<Palette*>(object)->selections > 0)
                return Fail<BOOL>(ERROR_INVALID_PARAMETER);
            break;
        case ObjectKind::Region:  // contexts hold copies of regions, never the objects
            break;
        case ObjectKind::DeviceContext:
        case ObjectKind::File:
        case ObjectKind::MemoryBlock:
            return Fail<BOOL>(ERROR_INVALID_HANDLE);
    }
    Objects().Remove(ho);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

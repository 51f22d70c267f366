// LoadImageA's options, applied to the decoded picture through the public
// GDI calls: StretchBlt for the size, CreateCompatibleBitmap for the kind of
// bitmap, GetDIBits and SetDIBits in bands for black and white.
#include "bmp/load_options.h"

#include "support/last_error.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

namespace standin {
namespace bmp {
namespace {

// Nearest-pixel stretching keeps palette pictures to their own colours.
constexpr int kStretchMode = COLORONCOLOR;
// Rows moved per GetDIBits/SetDIBits pair when converting to black and white.
constexpr std::size_t kBandBytes = std::size_t{1} << 20;

struct Request {
    int width = 0;
    int height = 0;
    bool dibSection = false;
    bool monochrome = false;
};

// A memory context holding one bitmap for as long as it lives.
class Holding {
public:
    explicit Holding(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
        if (dc_ != nullptr) old_ = SelectObject(dc_, bitmap);
    }
    ~Holding() {
        if (dc_ == nullptr) return;
        if (old_ != nullptr) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;
    HDC dc() const { return old_ != nullptr ? dc_ : nullptr; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// A new bitmap of the request's size: in the format of `source` (a DIB
// section) when `sameFormat`, else compatible with the 32-bit screen.
HBITMAP NewSizedBitmap(const Holding& source, const Request& r, bool sameFormat) {
    if (sameFormat) return CreateCompatibleBitmap(source.dc(), r.width, r.height);
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.width, r.height);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// The picture stretched (or copied) into a new bitmap of the request's size.
HBITMAP Resample(HBITMAP source, const Request& r, bool sameFormat) {
    BITMAP bm;
    if (GetObjectA(source, sizeof bm, &bm) != static_cast<int>(sizeof bm)) return nullptr;
    Holding from(source);
    if (from.dc() == nullptr) return nullptr;
    HBITMAP target = NewSizedBitmap(from, r, sameFormat);
    if (target == nullptr) return nullptr;
    bool drawn = false;
    {
        Holding to(target);
        drawn = to.dc() != nullptr && SetStretchBltMode(to.dc(), kStretchMode) != 0 &&
                StretchBlt(to.dc(), 0, 0, r.width, r.height, from.dc(), 0, 0, bm.bmWidth,
                           bm.bmHeight, SRCCOPY);
    }
    if (drawn) return target;
    DeleteObject(target);
    return nullptr;
}

// An empty black-and-white bitmap: a DIB section or a device-dependent one.
HBITMAP NewMonochromeBitmap(int width, int height, bool dibSection) {
    if (dibSection) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[2];
        } info = {{sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 0, 0},
                  {{0, 0, 0, 0}, {255, 255, 255, 0}}};
        return CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                DIB_RGB_COLORS, nullptr, nullptr, 0);
    }
    // A new memory context holds a monochrome bitmap, so it makes them.
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    DeleteDC(dc);
    return bitmap;
}

// Moves the picture into `target` in bands of 32-bit rows.
bool CopyThrough32Bits(HBITMAP source, HBITMAP target, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    const int band = static_cast<int>(std::clamp<std::size_t>(kBandBytes / rowBytes, 1, height));
    std::vector<std::uint8_t> rows(rowBytes * static_cast<std::size_t>(band));
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return false;
    bool ok = true;
    for (int start = 0; ok && start < height; start += band) {
        UINT lines = static_cast<UINT>(std::min(band, height - start));
        ok = GetDIBits(dc, source, static_cast<UINT>(start), lines, rows.data(), &info, DIB_RGB_COLORS) != 0 &&
             SetDIBits(dc, target, static_cast<UINT>(start), lines, rows.data(), &info, DIB_RGB_COLORS) != 0;
    }
    DeleteDC(dc);
    return ok;
}

HBITMAP ToMonochrome(HBITMAP source, const Request& r) {
    HBITMAP target = NewMonochromeBitmap(r.width, r.height, r.dibSection);
    if (target == nullptr) return nullptr;
    if (CopyThrough32Bits(source, target, r.width, r.height)) return target;
    DeleteObject(target);
    return nullptr;
}

// Replaces `*bitmap` by `next` (deleting the old one); false when `next`
// is null, the old one then deleted too.
bool Replace(HBITMAP* bitmap, HBITMAP next) {
    DeleteObject(*bitmap);
    *bitmap = next;
    return next != nullptr;
}

}  // namespace

HBITMAP ApplyLoadOptions(HBITMAP decoded, int cx, int cy, UINT fuLoad) {
    BITMAP bm;
    if (GetObjectA(decoded, sizeof bm, &bm) != static_cast<int>(sizeof bm)) {
        DeleteObject(decoded);
        return Fail<HBITMAP>(ERROR_INVALID_HANDLE);
    }
    Request r;
    r.width = cx != 0 ? cx : bm.bmWidth;
    r.height = cy != 0 ? cy : bm.bmHeight;
    r.dibSection = (fuLoad & LR_CREATEDIBSECTION) != 0;
    r.monochrome = (fuLoad & LR_MONOCHROME) != 0;
    const bool resize = r.width != bm.bmWidth || r.height != bm.bmHeight;

    HBITMAP bitmap = decoded;
    try {
        // A colour DIB section keeps the file's format; anything else goes
        // through the screen's 32 bits, which hold every colour exactly.
        const bool keepFormat = r.dibSection && !r.monochrome;
        if ((resize || !(r.dibSection || r.monochrome)) && !Replace(&bitmap, Resample(bitmap, r, keepFormat)))
            return nullptr;
        if (r.monochrome && !Replace(&bitmap, ToMonochrome(bitmap, r))) return nullptr;
    } catch (const std::bad_alloc&) {
        DeleteObject(bitmap);
        return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
    }
    return bitmap;
}

}  // namespace bmp
}  // namespace standin

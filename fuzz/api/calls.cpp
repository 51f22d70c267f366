// The call families a session draws from, each with adversarial arguments
// and the few answers the platform's rules pin down.
#include "caller_buffers.h"
#include "session.h"

#include <SaveBitmapToFile.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace apifuzz {
namespace {

constexpr std::int64_t kMaxSide = 65536;
constexpr std::int64_t kMaxPixelBytes = std::int64_t{1} << 30;
// Largest block the heap calls ask for; anything larger is one that must
// be refused.
constexpr SIZE_T kLargestBlock = 1 << 16;
constexpr DWORD kMaxFileTransfer = 256;
// Contexts below this count leave room for one made beside a new section.
constexpr std::size_t kPoolRoom = 6;
// A last error no call sets, to see which calls leave it alone.
constexpr DWORD kUntouchedError = 0x2A2A;

std::size_t PageBytes() {
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return page;
}

// A page the process may read but not write, for GetObject's buffer.
void* ReadOnlyPage() {
    static void* const page = mmap(nullptr, PageBytes(), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return page;
}

DWORD RasterOperation(Input& in) {
    static const DWORD kCodes[] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, BLACKNESS, WHITENESS,
                                   0x00440328 /* SRCERASE */, 0x00330008 /* NOTSRCCOPY */,
                                   0x001100A6 /* NOTSRCERASE */, 0x00F00021 /* PATCOPY */,
                                   0x00550009 /* DSTINVERT */, 0x005A0049 /* PATINVERT */};
    if (in.Below(4) == 0) return in.U32();
    return in.Pick(kCodes);
}

// Whether a header declares a picture the stand-in must refuse as too big.
bool DeclaresTooBig(const BITMAPINFOHEADER& h) {
    const std::int64_t width = std::llabs(static_cast<long long>(h.biWidth));
    const std::int64_t height = std::llabs(static_cast<long long>(h.biHeight));
    if (width > kMaxSide || height > kMaxSide) return true;
    const std::int64_t stride = (width * h.biBitCount + 31) / 32 * 4;
    return stride * height > kMaxPixelBytes;
}

}  // namespace

void Session::CreateDc() {
    HDC from = in_.Bool() ? nullptr : Dc();
    Keep(&dcs_, Timed("CreateCompatibleDC", [&] { return CreateCompatibleDC(from); }));
}

void Session::CreateSection() {
    const std::vector<std::uint8_t> info = MakeBitmapInfo(in_, in_.Below(3) != 0);
    const BITMAPINFOHEADER header = HeaderOf(info);
    HDC dc = in_.Bool() ? nullptr : Dc();
    const UINT usage = in_.Below(8) == 0 ? in_.U32() : DIB_RGB_COLORS;
    const bool wantBits = in_.Below(4) != 0;
    HANDLE section = in_.Below(16) == 0 ? reinterpret_cast<HANDLE>(std::uintptr_t{in_.U32()}) : nullptr;
    const DWORD offset = in_.Below(16) == 0 ? in_.U32() : 0;
    void* bits = nullptr;
    HBITMAP bitmap = Timed("CreateDIBSection", [&] {
        return CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(info.data()), usage,
                                wantBits ? &bits : nullptr, section, offset);
    });
    if (bitmap == nullptr) {
        Check(bits == nullptr, "a refused section hands out no bits");
        return;
    }
    Check(!DeclaresTooBig(header), "a picture beyond the size limits is refused");
    Check(!wantBits || bits != nullptr, "a section's bits are handed out");
    DIBSECTION ds;
    if (GetObjectA(bitmap, sizeof ds, &ds) == static_cast<int>(sizeof ds)) {
        Check(ds.dsBmih.biHeight > 0 && ds.dsBm.bmHeight > 0, "a section reports its height positive");
        Check(reinterpret_cast<std::uintptr_t>(ds.dsBm.bmBits) % PageBytes() == 0, "section bits are page-aligned");
        // The whole block, up to the end of its last page, is the caller's.
        const std::size_t pages = (ds.dsBmih.biSizeImage + PageBytes() - 1) / PageBytes() * PageBytes();
        if (bits != nullptr && pages <= kMaxPixelBuffer) std::memset(bits, in_.Byte(), pages);
    }
    // Often straight into a new context of its own, ready for blits.
    if (in_.Below(3) != 0 && dcs_.size() < kPoolRoom && bitmaps_.size() < kPoolRoom) {
        HDC own = Timed("CreateCompatibleDC", [] { return CreateCompatibleDC(nullptr); });
        Timed("SelectObject", [&] { return SelectObject(own, bitmap); });
        Keep(&dcs_, own);
        if (own != nullptr) canvases_.push_back(own);
    }
    Keep(&bitmaps_, bitmap);
}

// A LOGBRUSH of any style, pointing at a live bitmap or a packed DIB held
// in `packed` where the style reads one.
LOGBRUSH Session::MakeLogBrush(std::vector<std::uint8_t>* packed) {
    static const UINT kStyles[] = {BS_SOLID, BS_NULL, BS_HATCHED, BS_PATTERN, BS_INDEXED, BS_DIBPATTERN,
                                   BS_DIBPATTERNPT, BS_PATTERN8X8, BS_DIBPATTERN8X8, BS_MONOPATTERN, 77};
    LOGBRUSH log{in_.Pick(kStyles), in_.U32(), in_.Below(8)};
    if (log.lbStyle == BS_PATTERN || log.lbStyle == BS_PATTERN8X8) {
        log.lbHatch = reinterpret_cast<ULONG_PTR>(Bitmap());
    } else if (log.lbStyle == BS_DIBPATTERNPT) {
        *packed = PackedDib();
        log.lbHatch = reinterpret_cast<ULONG_PTR>(packed->data());
        log.lbColor = in_.Below(4);
    }
    return log;
}

// A packed DIB as a caller lays it out: the BITMAPINFO, the optional table
// of a deep picture, then every row it declares.
std::vector<std::uint8_t> Session::PackedDib() {
    std::vector<std::uint8_t> dib = MakeBitmapInfo(in_, in_.Below(4) != 0);
    const BITMAPINFOHEADER header = HeaderOf(dib);
    const std::size_t deepTable = header.biBitCount > 8 && header.biClrUsed <= 256 ? header.biClrUsed * sizeof(RGBQUAD) : 0;
    dib.resize(dib.size() + deepTable + DeclaredPixelBytes(header), in_.Byte());
    return dib;
}

void Session::CreatePenOrBrush() {
    static const int kStyles[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, -1};
    static const int kWidths[] = {0, 1, 2, 3, 5, 16, -1, 1000, INT_MAX, INT_MIN};
    static const DWORD kExtras[] = {0, PS_GEOMETRIC, PS_GEOMETRIC | PS_ENDCAP_FLAT, PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                                    PS_ENDCAP_FLAT, 0x00020000, 0x00000300};
    const COLORREF color = in_.U32();
    std::vector<std::uint8_t> packed;
    if (in_.Bool()) {
        const int style = in_.Below(8) == 0 ? static_cast<int>(in_.U32()) : in_.Pick(kStyles);
        const int width = in_.Pick(kWidths);
        switch (in_.Below(3)) {
            case 0: Keep(&pens_, Timed("CreatePen", [&] { return CreatePen(style, width, color); })); break;
            case 1: {
                const LOGPEN log{static_cast<UINT>(style), POINT{width, 0}, color};
                Keep(&pens_, Timed("CreatePenIndirect", [&] { return CreatePenIndirect(&log); }));
                break;
            }
            default: {
                const DWORD penStyle = static_cast<DWORD>(style & 0xF) | in_.Pick(kExtras);
                const LOGBRUSH log = MakeLogBrush(&packed);
                std::vector<DWORD> runs(in_.Below(4) == 0 ? in_.Below(20) : 0);
                for (DWORD& run : runs) run = in_.Below(4) == 0 ? in_.U32() : in_.Below(12);
                Keep(&pens_, Timed("ExtCreatePen", [&] {
                    return ExtCreatePen(penStyle, static_cast<DWORD>(width), &log, static_cast<DWORD>(runs.size()),
                                        runs.empty() ? nullptr : runs.data());
                }));
            }
        }
        return;
    }
    switch (in_.Below(5)) {
        case 0: Keep(&brushes_, Timed("CreateSolidBrush", [&] { return CreateSolidBrush(color); })); break;
        case 1: {
            const int hatch = static_cast<int>(in_.Below(8)) - 1;
            Keep(&brushes_, Timed("CreateHatchBrush", [&] { return CreateHatchBrush(hatch, color); }));
            break;
        }
        case 2: {
            HBITMAP bitmap = Bitmap();
            Keep(&brushes_, Timed("CreatePatternBrush", [&] { return CreatePatternBrush(bitmap); }));
            break;
        }
        case 3: {
            packed = PackedDib();
            const UINT usage = in_.Below(3);
            Keep(&brushes_, Timed("CreateDIBPatternBrushPt", [&] { return CreateDIBPatternBrushPt(packed.data(), usage); }));
            break;
        }
        default: {
            const LOGBRUSH log = MakeLogBrush(&packed);
            Keep(&brushes_, Timed("CreateBrushIndirect", [&] { return CreateBrushIndirect(&log); }));
        }
    }
}

void Session::Select() {
    HDC dc = Dc();
    HANDLE object = in_.Bool() ? Bitmap() : AnyObject();
    Timed("SelectObject", [&] { return SelectObject(dc, object); });
}

void Session::Delete() {
    HANDLE handle = Choose(in_.Bool() ? bitmaps_ : dcs_);
    const bool isDc = in_.Bool();
    const bool live = IsLive(handle);
    const bool dead = std::find(dead_.begin(), dead_.end(), handle) != dead_.end();
    SetLastError(kUntouchedError);
    const BOOL deleted = Timed("DeleteObject", [&] {
        return isDc ? DeleteDC(static_cast<HDC>(handle)) : DeleteObject(handle);
    });
    if (handle == nullptr && !isDc)
        Check(!deleted && GetLastError() == kUntouchedError, "DeleteObject(NULL) leaves the last error");
    Check(!deleted || !dead, "a deleted handle cannot be deleted again");
    if (deleted && live) Bury(handle);
}

void Session::Describe() {
    static const int kSizes[] = {0, 1, sizeof(BITMAP), sizeof(BITMAP) - 1, sizeof(DIBSECTION), sizeof(LOGPEN),
                                 sizeof(LOGBRUSH), -1, INT_MIN};
    HANDLE handle = AnyObject();
    switch (in_.Below(3)) {
        case 0: {
            const int size = in_.Pick(kSizes);
            std::vector<std::uint8_t> out(size > 0 ? static_cast<std::size_t>(size) : 0);
            void* where = in_.Bool() || out.empty() ? nullptr : out.data();
            // Now and then a buffer the caller cannot write: refused, not a crash.
            const bool unwritable = in_.Below(8) == 0 && ReadOnlyPage() != MAP_FAILED;
            if (unwritable) where = ReadOnlyPage();
            SetLastError(kUntouchedError);
            const int written = Timed("GetObjectA", [&] { return GetObjectA(handle, size, where); });
            if (handle == nullptr)
                Check(written == 0 && GetLastError() == kUntouchedError, "GetObject(NULL) leaves the last error");
            if (unwritable) Check(written == 0, "GetObject into an unwritable buffer fails");
            break;
        }
        case 1:
            Timed("GetObjectType", [&] { return GetObjectType(in_.Bool() ? Choose(bitmaps_) : handle); });
            break;
        default: {
            static const UINT kTypes[] = {OBJ_PEN, OBJ_BRUSH, OBJ_BITMAP, OBJ_DC, 0, 99};
            const UINT type = in_.Pick(kTypes);
            HDC dc = Dc();
            Timed("GetCurrentObject", [&] { return GetCurrentObject(dc, type); });
        }
    }
}

void Session::Draw() {
    HDC dc = Canvas();
    const int x = in_.Int(), y = in_.Int();
    switch (in_.Below(10)) {
        case 6: {
            const DWORD rop = RasterOperation(in_);
            const int w = in_.Int(), h = in_.Int();
            Timed("PatBlt", [&] { return PatBlt(dc, x, y, w, h, rop); });
            break;
        }
        case 7: {
            POINT previous;
            Timed("SetBrushOrgEx", [&] { return SetBrushOrgEx(dc, x, y, in_.Bool() ? &previous : nullptr); });
            break;
        }
        case 8: {
            const COLORREF color = in_.U32();
            if (in_.Bool())
                Timed("SetDCBrushColor", [&] { return SetDCBrushColor(dc, color); });
            else
                Timed("SetDCPenColor", [&] { return SetDCPenColor(dc, color); });
            break;
        }
        case 9: {
            HANDLE object = AnyObject();
            Timed("UnrealizeObject", [&] { return UnrealizeObject(object); });
            break;
        }
        case 0: {
            POINT previous;
            POINT* out = in_.Bool() ? &previous : nullptr;
            Timed("MoveToEx", [&] { return MoveToEx(dc, x, y, out); });
            break;
        }
        case 1:
            Timed("LineTo", [&] { return LineTo(dc, x, y); });
            break;
        case 2: {
            const RECT rect{x, y, in_.Int(), in_.Int()};
            // A brush, or a system colour index plus one.
            HBRUSH brush = in_.Bool() ? static_cast<HBRUSH>(Choose(brushes_))
                                      : reinterpret_cast<HBRUSH>(std::uintptr_t{in_.Below(40)});
            Timed("FillRect", [&] { return FillRect(dc, &rect, brush); });
            break;
        }
        case 3: {
            const COLORREF color = in_.U32();
            Timed("SetPixel", [&] { return SetPixel(dc, x, y, color); });
            break;
        }
        case 4:
            Timed("GetPixel", [&] { return GetPixel(dc, x, y); });
            break;
        case 5: {
            static const int kModes[] = {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE, 0, 5, -1};
            const int mode = in_.Pick(kModes);
            Timed("SetStretchBltMode", [&] { return SetStretchBltMode(dc, mode); });
            Timed("GetStretchBltMode", [&] { return GetStretchBltMode(dc); });
        }
    }
}

void Session::Stretch() {
    HDC target = Canvas();
    HDC source = in_.Below(4) == 0 ? target : Canvas();  // often the same bitmap both ways
    int d[4], s[4];
    for (int& v : d) v = in_.Int();
    for (int& v : s) v = in_.Int();
    const DWORD rop = RasterOperation(in_);
    if (in_.Below(3) == 0) {
        static const int kModes[] = {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE, HALFTONE, 0};
        const int mode = in_.Pick(kModes);
        Timed("SetStretchBltMode", [&] { return SetStretchBltMode(target, mode); });
    }
    if (in_.Bool()) {
        Timed("BitBlt", [&] { return BitBlt(target, d[0], d[1], d[2], d[3], source, s[0], s[1], rop); });
    } else {
        Timed("StretchBlt", [&] {
            return StretchBlt(target, d[0], d[1], d[2], d[3], source, s[0], s[1], s[2], s[3], rop);
        });
    }
}

// AlphaBlend, TransparentBlt, MaskBlt, PlgBlt and GradientFill: the calls
// that blend, key, mask or shade, with their documented refusals checked.
void Session::Blend() {
    HDC target = Canvas();
    HDC source = in_.Below(4) == 0 ? target : Canvas();
    int d[4], s[4];
    for (int& v : d) v = in_.Int();
    for (int& v : s) v = in_.Int();
    const bool negative = d[2] < 0 || d[3] < 0 || s[2] < 0 || s[3] < 0;
    switch (in_.Below(5)) {
        case 0: {
            BLENDFUNCTION f;
            f.BlendOp = in_.Below(8) == 0 ? in_.Byte() : AC_SRC_OVER;
            f.BlendFlags = in_.Below(8) == 0 ? in_.Byte() : 0;
            f.SourceConstantAlpha = in_.Byte();
            f.AlphaFormat = in_.Bool() ? AC_SRC_ALPHA : in_.Below(8) == 0 ? in_.Byte() : 0;
            const BOOL ok = Timed("AlphaBlend", [&] {
                return AlphaBlend(target, d[0], d[1], d[2], d[3], source, s[0], s[1], s[2], s[3], f);
            });
            Check(!ok || !negative, "AlphaBlend refuses negative extents");
            Check(!ok || (f.BlendOp == AC_SRC_OVER && f.BlendFlags == 0), "AlphaBlend refuses other operations");
            break;
        }
        case 1: {
            const UINT key = in_.U32();
            const BOOL ok = Timed("TransparentBlt", [&] {
                return TransparentBlt(target, d[0], d[1], d[2], d[3], source, s[0], s[1], s[2], s[3], key);
            });
            Check(!ok || !negative, "TransparentBlt refuses negative extents");
            break;
        }
        case 2: {
            HBITMAP mask = in_.Bool() ? nullptr : Bitmap();
            const DWORD rop = in_.Below(4) == 0 ? in_.U32() : MAKEROP4(RasterOperation(in_), RasterOperation(in_));
            Timed("MaskBlt", [&] {
                return MaskBlt(target, d[0], d[1], d[2], d[3], source, s[0], s[1], mask, s[2], s[3], rop);
            });
            break;
        }
        case 3: {
            POINT points[3];
            for (POINT& p : points) p = POINT{in_.Int(), in_.Int()};
            HBITMAP mask = in_.Bool() ? nullptr : Bitmap();
            const POINT* where = in_.Below(8) == 0 ? nullptr : points;
            Timed("PlgBlt", [&] {
                return PlgBlt(target, where, source, s[0], s[1], s[2], s[3], mask, d[0], d[1]);
            });
            break;
        }
        default: {
            std::vector<TRIVERTEX> vertices(in_.Below(8));
            for (TRIVERTEX& v : vertices) {
                v.x = in_.Int(), v.y = in_.Int();
                const std::uint32_t rg = in_.U32(), ba = in_.U32();
                v.Red = COLOR16(rg), v.Green = COLOR16(rg >> 16), v.Blue = COLOR16(ba), v.Alpha = COLOR16(ba >> 16);
            }
            const ULONG mode = in_.Below(4);
            std::vector<ULONG> mesh(3 * in_.Below(6));  // three indices an element fits either kind
            for (ULONG& index : mesh) index = in_.Below(10);
            const std::size_t perElement = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
            const auto elements = static_cast<ULONG>(mesh.size() / perElement);
            bool indicesValid = true;
            for (std::size_t i = 0; i < elements * perElement; ++i) indicesValid &= mesh[i] < vertices.size();
            TRIVERTEX* vertex = vertices.empty() ? nullptr : vertices.data();
            void* elementsAt = mesh.empty() ? nullptr : mesh.data();
            const BOOL ok = Timed("GradientFill", [&] {
                return GradientFill(target, vertex, static_cast<ULONG>(vertices.size()), elementsAt, elements, mode);
            });
            Check(!ok || elements == 0 || indicesValid, "GradientFill refuses an index past its vertices");
        }
    }
}

void Session::TransferOut() {
    std::vector<std::uint8_t> info = MakeBitmapInfo(in_, in_.Below(4) != 0);
    const BITMAPINFOHEADER header = HeaderOf(info);
    HDC dc = Dc();
    HBITMAP bitmap = Bitmap();
    const UINT start = in_.Count(), lines = in_.Count();
    const UINT usage = in_.Below(8) == 0 ? in_.U32() : DIB_RGB_COLORS;
    std::vector<std::uint8_t> pixels(in_.Below(4) == 0 ? 0 : DeclaredPixelBytes(header));
    void* bits = pixels.empty() ? nullptr : pixels.data();
    const int moved = Timed("GetDIBits", [&] {
        return GetDIBits(dc, bitmap, start, lines, bits, reinterpret_cast<BITMAPINFO*>(info.data()), usage);
    });
    if (bits != nullptr && moved > 0) {
        Check(static_cast<UINT>(moved) <= lines, "GetDIBits moves no more lines than asked for");
        Check(static_cast<std::int64_t>(moved) <= std::llabs(static_cast<long long>(header.biHeight)),
              "GetDIBits moves no more lines than the header declares");
    }
}

void Session::TransferIn() {
    const std::vector<std::uint8_t> info = MakeBitmapInfo(in_, in_.Below(4) != 0);
    const BITMAPINFOHEADER header = HeaderOf(info);
    HDC dc = in_.Bool() ? nullptr : Dc();
    HBITMAP bitmap = Bitmap();
    const UINT start = in_.Count(), lines = in_.Count();
    const UINT usage = in_.Below(8) == 0 ? in_.U32() : DIB_RGB_COLORS;
    std::vector<std::uint8_t> pixels(in_.Below(8) == 0 ? 0 : DeclaredPixelBytes(header));
    const std::uint8_t seed = in_.Byte();
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(seed + i * 7);
    const void* bits = pixels.empty() ? nullptr : pixels.data();
    const int moved = Timed("SetDIBits", [&] {
        return SetDIBits(dc, bitmap, start, lines, bits, reinterpret_cast<const BITMAPINFO*>(info.data()), usage);
    });
    if (moved > 0) {
        Check(static_cast<UINT>(moved) <= lines, "SetDIBits moves no more lines than asked for");
        Check(static_cast<std::int64_t>(moved) <= std::llabs(static_cast<long long>(header.biHeight)),
              "SetDIBits moves no more lines than the header declares");
    }
}

void Session::HeapCall() {
    static const SIZE_T kSizes[] = {0, 1, 16, 4096, kLargestBlock, ~SIZE_T{0}, ~SIZE_T{0} - 7, SIZE_T{1} << 62};
    HANDLE heap = in_.Below(8) == 0 ? Choose(dcs_) : GetProcessHeap();
    if (in_.Bool()) {
        const DWORD flags = in_.Bool() ? HEAP_ZERO_MEMORY : in_.U32() & ~DWORD{HEAP_GENERATE_EXCEPTIONS};
        const SIZE_T size = in_.Pick(kSizes);
        void* block = Timed("HeapAlloc", [&] { return HeapAlloc(heap, flags, size); });
        if (block == nullptr) return;
        Check(size <= kLargestBlock, "an impossible block is refused");
        std::memset(block, 0xA5, size);
        if (blocks_.size() < 8) {
            blocks_.push_back(block);
        } else {
            HeapFree(GetProcessHeap(), 0, block);
        }
        return;
    }
    void* block = nullptr;
    switch (in_.Below(4)) {
        case 0: break;
        case 1: block = freedBlocks_.empty() ? nullptr : freedBlocks_[in_.Below(static_cast<unsigned>(freedBlocks_.size()))]; break;
        case 2: block = reinterpret_cast<void*>(static_cast<std::uintptr_t>(in_.U32())); break;
        default: block = blocks_.empty() ? nullptr : blocks_[in_.Below(static_cast<unsigned>(blocks_.size()))];
    }
    const BOOL freed = Timed("HeapFree", [&] { return HeapFree(heap, 0, block); });
    if (freed && block != nullptr) {
        blocks_.erase(std::remove(blocks_.begin(), blocks_.end(), block), blocks_.end());
        if (freedBlocks_.size() < 8) freedBlocks_.push_back(block);
    }
}

void Session::FileCall() {
    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, 0};
    static const DWORD kDispositions[] = {CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING, OPEN_ALWAYS, TRUNCATE_EXISTING, 0, 6};
    switch (in_.Below(7)) {
        case 0: {
            const DWORD access = in_.Pick(kAccess);
            const DWORD share = in_.Below(8);
            const DWORD disposition = in_.Pick(kDispositions);
            const DWORD flags = in_.Below(8) == 0 ? in_.U32() : FILE_ATTRIBUTE_NORMAL;
            HANDLE file = Timed("CreateFileA", [&] {
                return CreateFileA(scratchFile_.c_str(), access, share, nullptr, disposition, flags, nullptr);
            });
            Keep(&files_, file);
            break;
        }
        case 1: case 2: {
            HANDLE file = Choose(files_);
            const DWORD count = in_.Below(kMaxFileTransfer);
            std::vector<std::uint8_t> buffer(count);
            for (std::uint8_t& b : buffer) b = in_.Byte();
            DWORD done = 0;
            DWORD* doneOut = in_.Below(8) == 0 ? nullptr : &done;
            void* where = buffer.empty() ? nullptr : buffer.data();
            if (in_.Bool())
                Timed("WriteFile", [&] { return WriteFile(file, where, count, doneOut, nullptr); });
            else
                Timed("ReadFile", [&] { return ReadFile(file, where, count, doneOut, nullptr); });
            Check(done <= count, "no more bytes moved than asked for");
            break;
        }
        case 3: {
            HANDLE file = Choose(files_);
            DWORD high = 0;
            DWORD* highOut = in_.Bool() ? &high : nullptr;
            Timed("GetFileSize", [&] { return GetFileSize(file, highOut); });
            break;
        }
        case 4: {
            HANDLE file = Choose(files_);
            const bool isFile = std::find(files_.begin(), files_.end(), file) != files_.end();
            const BOOL closed = Timed("CloseHandle", [&] { return CloseHandle(file); });
            if (closed && isFile) Bury(file);
            break;
        }
        case 5: {
            // A whole bitmap file for the loaders to start from (and later
            // writes to spoil).
            HBITMAP bitmap = Bitmap();
            Timed("SaveBitmapToFileA", [&] { return SaveBitmapToFileA(scratchFile_.c_str(), bitmap); });
            break;
        }
        default:
            Timed("DeleteFileA", [&] { return DeleteFileA(scratchFile_.c_str()); });
    }
}

void Session::LoadImageCall() {
    static const UINT kTypes[] = {IMAGE_BITMAP, IMAGE_BITMAP, IMAGE_BITMAP, IMAGE_ICON, 7};
    static const UINT kFlags[] = {LR_LOADFROMFILE, LR_LOADFROMFILE | LR_CREATEDIBSECTION,
                                  LR_LOADFROMFILE | LR_MONOCHROME, LR_LOADFROMFILE | LR_DEFAULTSIZE, 0};
    const UINT type = in_.Pick(kTypes);
    const UINT flags = in_.Pick(kFlags);
    const int cx = in_.Bool() ? 0 : static_cast<int>(in_.Below(48)) - 4;
    const int cy = in_.Bool() ? 0 : static_cast<int>(in_.Below(48)) - 4;
    HANDLE image = in_.Below(4) == 0
                       ? Timed("LoadBitmapFromFileA", [&] { return LoadBitmapFromFileA(scratchFile_.c_str()); })
                       : Timed("LoadImageA", [&] { return LoadImageA(nullptr, scratchFile_.c_str(), type, cx, cy, flags); });
    Keep(&bitmaps_, image);
}

}  // namespace apifuzz

namespace apifuzz {

void Session::DeviceBitmapCall() {
    static const UINT kDepths[] = {1, 1, 4, 8, 16, 24, 32, 32, 0, 2, 33, 0x10000};
    const int width = in_.Int(), height = in_.Int();
    const UINT planes = in_.Below(8) == 0 ? in_.U32() : 1, bits = in_.Pick(kDepths);
    // Word-aligned rows as CreateBitmap reads them, when the buffer is small.
    const std::uint64_t depth = std::uint64_t{planes} * bits;
    const std::int64_t rowBytes = width > 0 && depth <= 32 ? (std::int64_t{width} * static_cast<std::int64_t>(depth) + 15) / 16 * 2 : 0;
    std::vector<std::uint8_t> rows;
    if (height > 0 && rowBytes > 0 && rowBytes <= 1 << 16 && rowBytes * height <= 1 << 16 && in_.Bool())
        rows.assign(static_cast<std::size_t>(rowBytes * height), in_.Byte());
    switch (in_.Below(5)) {
        case 0: {
            HBITMAP made = Timed("CreateBitmap", [&] {
                return CreateBitmap(width, height, planes, bits, rows.empty() ? nullptr : rows.data());
            });
            // A zero side gives the 1 x 1 monochrome bitmap, whatever the other side.
            Check(made == nullptr || width <= kMaxSide || height == 0, "a bitmap beyond the size limits is refused");
            Keep(&bitmaps_, made);
            break;
        }
        case 1: {
            BITMAP bm{in_.Below(8) == 0 ? 1 : 0, width, height, static_cast<LONG>(rowBytes), static_cast<WORD>(planes),
                      static_cast<WORD>(bits), rows.empty() ? nullptr : rows.data()};
            Keep(&bitmaps_, Timed("CreateBitmapIndirect", [&] { return CreateBitmapIndirect(&bm); }));
            break;
        }
        case 2: {
            const std::vector<std::uint8_t> info = MakeBitmapInfo(in_, in_.Below(4) != 0);
            const BITMAPINFOHEADER header = HeaderOf(info);
            std::vector<std::uint8_t> pixels(DeclaredPixelBytes(header), in_.Byte());
            HDC dc = in_.Bool() ? nullptr : Dc();
            const DWORD init = in_.Below(4) == 0 ? in_.U32() : CBM_INIT;
            const UINT usage = in_.Below(4) == 0 ? DIB_PAL_COLORS : DIB_RGB_COLORS;
            const auto* described = reinterpret_cast<const BITMAPINFO*>(info.data());
            // The header CreateDIBitmap sizes the bitmap by is read whole: give it one.
            BITMAPINFOHEADER size = header;
            size.biSize = sizeof size;
            Keep(&bitmaps_, Timed("CreateDIBitmap", [&] {
                return CreateDIBitmap(dc, &size, init, pixels.empty() ? nullptr : pixels.data(), described, usage);
            }));
            break;
        }
        case 3: {
            HBITMAP bitmap = Bitmap();
            std::vector<std::uint8_t> buffer(in_.Below(4096));
            const LONG asked = in_.Below(8) == 0 ? static_cast<LONG>(in_.U32()) : static_cast<LONG>(buffer.size());
            void* where = buffer.empty() || in_.Below(8) == 0 ? nullptr : buffer.data();
            if (where != nullptr && static_cast<std::size_t>(asked) > buffer.size()) break;  // a caller's overrun
            const LONG moved = in_.Bool()
                ? Timed("GetBitmapBits", [&] { return GetBitmapBits(bitmap, asked, where); })
                : Timed("SetBitmapBits", [&] { return SetBitmapBits(bitmap, static_cast<DWORD>(asked), where); });
            Check(where == nullptr || moved <= asked, "no more bits move than asked for");
            break;
        }
        default: {
            SIZE previous;
            HBITMAP bitmap = Bitmap();
            Timed("SetBitmapDimensionEx",
                  [&] { return SetBitmapDimensionEx(bitmap, width, height, in_.Bool() ? &previous : nullptr); });
            Timed("GetBitmapDimensionEx", [&] { return GetBitmapDimensionEx(bitmap, &previous); });
        }
    }
}

}  // namespace apifuzz

namespace apifuzz {
namespace {

bool UsesSourceRop(DWORD rop) {
    const unsigned code = (rop >> 16) & 0xFF;
    return (((code >> 2) ^ code) & 0x33) != 0;
}

}  // namespace

void Session::ColourCall() {
    HDC dc = in_.Bool() ? Canvas() : Dc();
    const UINT start = in_.Count(), count = in_.Count();
    std::vector<RGBQUAD> table(std::min<UINT>(count, 300));
    const UINT asked = std::min<UINT>(count, static_cast<UINT>(table.size()));
    switch (in_.Below(4)) {
        case 0: {
            for (RGBQUAD& q : table) q = RGBQUAD{in_.Byte(), in_.Byte(), in_.Byte(), 0};
            RGBQUAD* where = table.empty() || in_.Below(8) == 0 ? nullptr : table.data();
            const UINT moved = in_.Bool() ? Timed("GetDIBColorTable", [&] { return GetDIBColorTable(dc, start, asked, where); })
                                          : Timed("SetDIBColorTable", [&] { return SetDIBColorTable(dc, start, asked, where); });
            Check(moved <= asked && moved <= 256, "no more table entries move than asked for or exist");
            break;
        }
        case 1: {
            const COLORREF colour = in_.U32();
            Timed("GetNearestColor", [&] { return GetNearestColor(dc, colour); });
            const int x = in_.Int(), y = in_.Int();
            Timed("SetPixelV", [&] { return SetPixelV(dc, x, y, colour); });
            break;
        }
        default: {
            // A palette of its own for this call, or a handle of any other kind.
            HPALETTE own = in_.Bool() ? Timed("CreateHalftonePalette", [&] { return CreateHalftonePalette(dc); }) : nullptr;
            HPALETTE palette = own != nullptr && in_.Below(4) != 0 ? own : static_cast<HPALETTE>(Choose(bitmaps_));
            std::vector<PALETTEENTRY> entries(asked);
            for (PALETTEENTRY& e : entries) e = PALETTEENTRY{in_.Byte(), in_.Byte(), in_.Byte(), in_.Byte()};
            const PALETTEENTRY* from = entries.empty() ? nullptr : entries.data();
            switch (in_.Below(3)) {
                case 0: Timed("GetNearestPaletteIndex", [&] { return GetNearestPaletteIndex(palette, in_.U32()); }); break;
                case 1: {
                    const UINT set = Timed("SetPaletteEntries", [&] { return SetPaletteEntries(palette, start, asked, from); });
                    Check(set <= asked, "no more palette entries are set than given");
                    break;
                }
                default: Timed("AnimatePalette", [&] { return AnimatePalette(palette, start, asked, from); });
            }
            if (own != nullptr) Check(DeleteObject(own) != FALSE, "an unselected palette deletes");
        }
    }
}

void Session::DibToDeviceCall() {
    const std::vector<std::uint8_t> info = MakeBitmapInfo(in_, in_.Below(4) != 0);
    const BITMAPINFOHEADER header = HeaderOf(info);
    std::vector<std::uint8_t> pixels(in_.Below(16) == 0 ? 0 : DeclaredPixelBytes(header));
    const std::uint8_t seed = in_.Byte();
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(seed + i * 13);
    const void* bits = pixels.empty() ? nullptr : pixels.data();
    const auto* described = reinterpret_cast<const BITMAPINFO*>(info.data());
    HDC dc = Canvas();
    const UINT usage = in_.Below(6) == 0 ? DIB_PAL_COLORS : in_.Below(16) == 0 ? in_.U32() : DIB_RGB_COLORS;
    int d[4], s[4];
    for (int& v : d) v = in_.Int();
    for (int& v : s) v = in_.Int();
    if (in_.Bool()) {
        static const int kModes[] = {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE};
        const int mode = in_.Pick(kModes);
        Timed("SetStretchBltMode", [&] { return SetStretchBltMode(dc, mode); });
        const DWORD rop = RasterOperation(in_);
        const int lines = Timed("StretchDIBits", [&] {
            return StretchDIBits(dc, d[0], d[1], d[2], d[3], s[0], s[1], s[2], s[3], bits, described, usage, rop);
        });
        Check(lines == static_cast<int>(GDI_ERROR) || std::llabs(lines) <= std::llabs(static_cast<long long>(s[3])) ||
                  !UsesSourceRop(rop),
              "StretchDIBits copies no more scan lines than the source rectangle holds");
    } else {
        const UINT start = in_.Count(), count = in_.Count();
        const int lines = Timed("SetDIBitsToDevice", [&] {
            return SetDIBitsToDevice(dc, d[0], d[1], static_cast<DWORD>(d[2]), static_cast<DWORD>(d[3]), s[0], s[1],
                                     start, count, bits, described, usage);
        });
        Check(lines == static_cast<int>(GDI_ERROR) || (lines >= 0 && static_cast<UINT>(lines) <= count),
              "SetDIBitsToDevice sets no more scan lines than it is given");
    }
}

// Mapping modes, extents, origins, world transforms and layouts, with
// adversarial values (a transform's floats from any 32 bits: infinities and
// NaNs among them), then points through them both ways.
void Session::CoordinateCall() {
    HDC dc = in_.Bool() ? Canvas() : Dc();
    const int a = in_.Int(), b = in_.Int(), c = in_.Int(), d = in_.Int();
    SIZE size;
    POINT point;
    switch (in_.Below(9)) {
        case 0: {
            const int mode = static_cast<int>(in_.Below(10));
            const int previous = Timed("SetMapMode", [&] { return SetMapMode(dc, mode); });
            if (previous != 0) Check(GetMapMode(dc) == mode, "GetMapMode reports the mode just set");
            break;
        }
        case 1:
            if (in_.Bool())
                Timed("SetWindowExtEx", [&] { return SetWindowExtEx(dc, a, b, in_.Bool() ? &size : nullptr); });
            else
                Timed("SetViewportExtEx", [&] { return SetViewportExtEx(dc, a, b, in_.Bool() ? &size : nullptr); });
            break;
        case 2:
            switch (in_.Below(4)) {
                case 0: Timed("SetWindowOrgEx", [&] { return SetWindowOrgEx(dc, a, b, &point); }); break;
                case 1: Timed("SetViewportOrgEx", [&] { return SetViewportOrgEx(dc, a, b, &point); }); break;
                case 2: Timed("OffsetWindowOrgEx", [&] { return OffsetWindowOrgEx(dc, a, b, nullptr); }); break;
                default: Timed("OffsetViewportOrgEx", [&] { return OffsetViewportOrgEx(dc, a, b, nullptr); });
            }
            break;
        case 3:
            if (in_.Bool())
                Timed("ScaleWindowExtEx", [&] { return ScaleWindowExtEx(dc, a, b, c, d, &size); });
            else
                Timed("ScaleViewportExtEx", [&] { return ScaleViewportExtEx(dc, a, b, c, d, nullptr); });
            Timed("GetWindowExtEx", [&] { return GetWindowExtEx(dc, &size); });
            Timed("GetViewportOrgEx", [&] { return GetViewportOrgEx(dc, in_.Bool() ? &point : nullptr); });
            break;
        case 4: {
            const int mode = static_cast<int>(in_.Below(4));
            Timed("SetGraphicsMode", [&] { return SetGraphicsMode(dc, mode); });
            break;
        }
        case 5: {
            XFORM xf;
            float* f = &xf.eM11;
            for (int i = 0; i < 6; ++i) {
                const std::uint32_t bits = in_.Bool() ? in_.U32() : static_cast<std::uint32_t>(in_.Int());
                std::memcpy(&f[i], &bits, sizeof bits);
                if (in_.Bool()) f[i] = static_cast<float>(in_.Int() % 5);
            }
            const DWORD mode = in_.Below(5);
            const BOOL set = mode == 0 ? Timed("SetWorldTransform", [&] { return SetWorldTransform(dc, &xf); })
                                       : Timed("ModifyWorldTransform", [&] { return ModifyWorldTransform(dc, &xf, mode); });
            if (set) Check(GetGraphicsMode(dc) == GM_ADVANCED, "a world transform is set only in GM_ADVANCED");
            XFORM out;
            Timed("CombineTransform", [&] { return CombineTransform(&out, &xf, &xf); });
            Timed("GetWorldTransform", [&] { return GetWorldTransform(dc, &out); });
            break;
        }
        case 6: {
            const DWORD layout = in_.Bool() ? in_.Below(16) : in_.U32();
            Timed("SetLayout", [&] { return SetLayout(dc, layout); });
            Timed("GetLayout", [&] { return GetLayout(dc); });
            break;
        }
        default: {
            POINT points[4] = {{a, b}, {c, d}, {b, a}, {d, c}};
            const int count = static_cast<int>(in_.Below(5));
            if (in_.Bool())
                Timed("LPtoDP", [&] { return LPtoDP(dc, points, count); });
            else
                Timed("DPtoLP", [&] { return DPtoLP(dc, points, count); });
        }
    }
}

// Outlined and filled figures and the modes they draw with: corners
// anywhere an int reaches, mostly near the bitmap.
void Session::ShapeCall() {
    HDC dc = Canvas();
    int c[6];
    for (int& v : c) v = in_.Int();
    switch (in_.Below(12)) {
        case 8: {
            const int x = in_.Int(), y = in_.Int();
            switch (in_.Below(5)) {
                case 0: Timed("Arc", [&] { return Arc(dc, c[0], c[1], c[2], c[3], c[4], c[5], x, y); }); break;
                case 1: Timed("ArcTo", [&] { return ArcTo(dc, c[0], c[1], c[2], c[3], c[4], c[5], x, y); }); break;
                case 2: Timed("Pie", [&] { return Pie(dc, c[0], c[1], c[2], c[3], c[4], c[5], x, y); }); break;
                case 3: Timed("Chord", [&] { return Chord(dc, c[0], c[1], c[2], c[3], c[4], c[5], x, y); }); break;
                default: {
                    // Angles of any 32 bits: infinities and NaNs among them.
                    float angles[2];
                    for (float& a : angles) {
                        const std::uint32_t bits = in_.Bool() ? in_.U32() : static_cast<std::uint32_t>(in_.Int());
                        std::memcpy(&a, &bits, sizeof bits);
                    }
                    const DWORD radius = in_.Bool() ? in_.Below(40) : in_.U32();
                    Timed("AngleArc", [&] { return AngleArc(dc, c[0], c[1], radius, angles[0], angles[1]); });
                }
            }
            break;
        }
        case 9: {
            const RECT rect{c[0], c[1], c[2], c[3]};
            const RECT* where = in_.Below(8) == 0 ? nullptr : &rect;
            HBRUSH brush = in_.Bool() ? static_cast<HBRUSH>(Choose(brushes_))
                                      : reinterpret_cast<HBRUSH>(std::uintptr_t{in_.Below(40)});
            if (in_.Bool())
                Timed("FrameRect", [&] { return FrameRect(dc, where, brush); });
            else
                Timed("InvertRect", [&] { return InvertRect(dc, where); });
            break;
        }
        case 10: {
            const COLORREF color = in_.Below(4) == 0 ? in_.U32() : RGB(255, 255, 255) * in_.Below(2);
            const UINT type = in_.Below(8) == 0 ? in_.U32() : in_.Below(2);
            Timed("ExtFloodFill", [&] { return ExtFloodFill(dc, c[0], c[1], color, type); });
            break;
        }
        case 6: case 7: {
            // Points far and near, in one figure or several.
            std::vector<POINT> points(in_.Below(12));
            for (POINT& p : points) p = POINT{in_.Int(), in_.Int()};
            // Never more than there are, but a null array with any count.
            const int size = static_cast<int>(points.size());
            const int count = points.empty() ? static_cast<int>(in_.Below(4)) : in_.Below(8) == 0 ? std::min<int>(size, in_.Below(4)) : size;
            const POINT* where = points.empty() ? nullptr : points.data();
            switch (in_.Below(5)) {
                case 0: Timed("Polygon", [&] { return Polygon(dc, where, count); }); break;
                case 1: Timed("Polyline", [&] { return Polyline(dc, where, count); }); break;
                case 2: Timed("PolylineTo", [&] { return PolylineTo(dc, where, static_cast<DWORD>(count)); }); break;
                default: {
                    // Sizes that add up to at most the points given.
                    std::vector<INT> sizes;
                    int left = count;
                    while (left > 0 && sizes.size() < 4) {
                        sizes.push_back(std::min<int>(left, 1 + static_cast<int>(in_.Below(5))));
                        left -= sizes.back();
                    }
                    const std::vector<DWORD> lines(sizes.begin(), sizes.end());
                    const int figures = static_cast<int>(sizes.size());
                    if (in_.Bool())
                        Timed("PolyPolygon", [&] { return PolyPolygon(dc, where, sizes.empty() ? nullptr : sizes.data(), figures); });
                    else
                        Timed("PolyPolyline", [&] {
                            return PolyPolyline(dc, where, lines.empty() ? nullptr : lines.data(), static_cast<DWORD>(figures));
                        });
                }
            }
            break;
        }
        case 0: Timed("Rectangle", [&] { return Rectangle(dc, c[0], c[1], c[2], c[3]); }); break;
        case 1: Timed("Ellipse", [&] { return Ellipse(dc, c[0], c[1], c[2], c[3]); }); break;
        case 2: Timed("RoundRect", [&] { return RoundRect(dc, c[0], c[1], c[2], c[3], c[4], c[5]); }); break;
        case 3: {
            const int mix = in_.Below(8) == 0 ? static_cast<int>(in_.U32()) : static_cast<int>(in_.Below(18));
            Timed("SetROP2", [&] { return SetROP2(dc, mix); });
            Timed("GetROP2", [&] { return GetROP2(dc); });
            break;
        }
        case 4: {
            const int mode = static_cast<int>(in_.Below(4));
            Timed("SetPolyFillMode", [&] { return SetPolyFillMode(dc, mode); });
            Timed("GetPolyFillMode", [&] { return GetPolyFillMode(dc); });
            break;
        }
        case 5: {
            const int direction = static_cast<int>(in_.Below(4));
            Timed("SetArcDirection", [&] { return SetArcDirection(dc, direction); });
            Timed("GetArcDirection", [&] { return GetArcDirection(dc); });
            break;
        }
        default: break;
    }
}

}  // namespace apifuzz

// Device-dependent bitmaps made from a description rather than a context
// (CreateBitmap, CreateBitmapIndirect) or from a DIB (CreateDIBitmap), their
// bits as the device holds them (GetBitmapBits, SetBitmapBits) and their
// physical size (SetBitmapDimensionEx, GetBitmapDimensionEx).
//
// The bits of a device-dependent bitmap are its rows top row first, each
// padded to a 16-bit word, in the bitmap's own pixel format: this is the
// layout CreateBitmap takes, GetBitmapBits gives and GetObject's
// bmWidthBytes describes. The rows are held here as a DIB is, so the two
// calls convert only the padding and the row order.
#include "gdi/gdi_objects.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace standin {
namespace {

// The depth of a bitmap of `planes` planes of `bitsPerPlane` bits: their
// product, when it is one the stand-in holds (1, 4, 8, 16, 24, 32); else 0.
// The caller's rows are laid out at that product, so no other depth could
// read them as they are.
int DeviceDepth(UINT planes, UINT bitsPerPlane) {
    const std::uint64_t bits = std::uint64_t{planes} * bitsPerPlane;
    for (int depth : {1, 4, 8, 16, 24, 32})
        if (bits == static_cast<std::uint64_t>(depth)) return depth;
    return 0;
}

// Moves up to `bytes` bytes of word-aligned rows, top row first, between a
// caller's buffer and the bitmap; returns how many moved. A last row the
// count cuts short moves its leading bytes only.
template <class Move>
LONG MoveDeviceRows(const Bitmap& bitmap, std::size_t bytes, Move move) {
    const std::size_t rowBytes = static_cast<std::size_t>(WordAlignedRowBytes(bitmap.width(), bitmap.format().bitCount));
    const std::size_t total = std::min(bytes, rowBytes * static_cast<std::size_t>(bitmap.height()));
    for (std::size_t done = 0, y = 0; done < total; done += rowBytes, ++y)
        move(bitmap.Row(static_cast<std::int32_t>(y)), done, std::min(rowBytes, total - done));
    return static_cast<LONG>(total);
}

void CopyIntoRows(const Bitmap& bitmap, const std::uint8_t* from, std::size_t bytes) {
    MoveDeviceRows(bitmap, bytes, [&](std::uint8_t* row, std::size_t at, std::size_t n) {
        std::memcpy(row, from + at, n);
    });
}

// CreateBitmap's work, from a caller's stride for `bits` (0: word-aligned).
HBITMAP MakeDeviceBitmap(int width, int height, UINT planes, UINT bitsPerPlane, const void* bits,
                         std::size_t stride) {
    if (width < 0 || height < 0) return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
    DibDescription dib;
    if (width == 0 || height == 0) {
        // A zero side gives the 1 x 1 monochrome bitmap, and no bits are read.
        DescribeDeviceBitmap(1, 1, 1, &dib);
        bits = nullptr;
    } else {
        const int depth = DeviceDepth(planes, bitsPerPlane);
        if (depth == 0 || !DescribeDeviceBitmap(width, height, depth, &dib))
            return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
    }
    std::unique_ptr<Bitmap> bitmap = MakeBitmap(dib);
    if (!bitmap) return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
    if (bits != nullptr) {
        const auto* from = static_cast<const std::uint8_t*>(bits);
        const std::int64_t rowBytes = WordAlignedRowBytes(dib.width, dib.format.bitCount);
        if (stride == 0 || stride == static_cast<std::size_t>(rowBytes)) {
            CopyIntoRows(*bitmap, from, static_cast<std::size_t>(rowBytes) * dib.height);
        } else {
            for (std::int32_t y = 0; y < dib.height; ++y)
                std::memcpy(bitmap->Row(y), from + static_cast<std::size_t>(y) * stride, static_cast<std::size_t>(rowBytes));
        }
    }
    HBITMAP handle = InsertObject<HBITMAP>(std::move(bitmap));
    return handle != nullptr ? handle : Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace
}  // namespace standin

using namespace standin;

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const VOID* lpBits) try {
    ApiLock lock(ApiMutex());
    return MakeDeviceBitmap(nWidth, nHeight, nPlanes, nBitCount, lpBits, 0);
} catch (...) {
    return OutOfMemory<HBITMAP>();
}

HBITMAP WINAPI CreateBitmapIndirect(const BITMAP* pbm) try {
    ApiLock lock(ApiMutex());
    if (pbm == nullptr || pbm->bmType != 0) return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
    // The caller's rows lie bmWidthBytes apart: an even count that holds a row.
    std::size_t stride = 0;
    if (pbm->bmBits != nullptr && pbm->bmWidth > 0 && pbm->bmHeight > 0) {
        const int depth = DeviceDepth(pbm->bmPlanes, pbm->bmBitsPixel);
        const std::int64_t rowBytes = WordAlignedRowBytes(pbm->bmWidth, depth);
        if (depth == 0 || pbm->bmWidthBytes < rowBytes || pbm->bmWidthBytes % 2 != 0)
            return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
        stride = static_cast<std::size_t>(pbm->bmWidthBytes);
    }
    return MakeDeviceBitmap(pbm->bmWidth, pbm->bmHeight, pbm->bmPlanes, pbm->bmBitsPixel, pbm->bmBits, stride);
} catch (...) {
    return OutOfMemory<HBITMAP>();
}

LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits) try {
    ApiLock lock(ApiMutex());
    const Bitmap* bitmap = Lookup<Bitmap>(hbit);
    if (bitmap == nullptr) return Fail<LONG>(ERROR_INVALID_HANDLE);
    // Without a buffer: the bytes the bitmap's bits take.
    if (lpvBits == nullptr)
        return static_cast<LONG>(WordAlignedRowBytes(bitmap->width(), bitmap->format().bitCount) * bitmap->height());
    if (cb <= 0) return Fail<LONG>(ERROR_INVALID_PARAMETER);
    auto* to = static_cast<std::uint8_t*>(lpvBits);
    return MoveDeviceRows(*bitmap, static_cast<std::size_t>(cb), [&](std::uint8_t* row, std::size_t at, std::size_t n) {
        std::memcpy(to + at, row, n);
    });
} catch (...) {
    return OutOfMemory<LONG>();
}

LONG WINAPI SetBitmapBits(HBITMAP hbm, DWORD cb, const VOID* pvBits) try {
    ApiLock lock(ApiMutex());
    const Bitmap* bitmap = Lookup<Bitmap>(hbm);
    if (bitmap == nullptr) return Fail<LONG>(ERROR_INVALID_HANDLE);
    // The stock bitmap is shared by every context; its pixel stays black.
    if (bitmap->stock || pvBits == nullptr || cb == 0) return Fail<LONG>(ERROR_INVALID_PARAMETER);
    const auto* from = static_cast<const std::uint8_t*>(pvBits);
    return MoveDeviceRows(*bitmap, cb, [&](std::uint8_t* row, std::size_t at, std::size_t n) {
        std::memcpy(row, from + at, n);
    });
} catch (...) {
    return OutOfMemory<LONG>();
}

BOOL WINAPI SetBitmapDimensionEx(HBITMAP hbm, int w, int h, LPSIZE lpsz) try {
    ApiLock lock(ApiMutex());
    Bitmap* bitmap = Lookup<Bitmap>(hbm);
    if (bitmap == nullptr || bitmap->stock) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lpsz != nullptr) *lpsz = bitmap->dimension;
    bitmap->dimension = SIZE{w, h};
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GetBitmapDimensionEx(HBITMAP hbit, LPSIZE lpsize) try {
    ApiLock lock(ApiMutex());
    const Bitmap* bitmap = Lookup<Bitmap>(hbit);
    if (bitmap == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lpsize == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    *lpsize = bitmap->dimension;
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

// A bitmap compatible with the context (monochrome for a null one, as for a
// memory context holding its first bitmap), then, with CBM_INIT, SetDIBits
// of the caller's rows: the two steps the call is documented to be. The
// bitmap is made under the lock and initialised after it, by SetDIBits
// itself, so every row format SetDIBits reads is read here too.
HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const VOID* pjBits,
                              const BITMAPINFO* pbmi, UINT iUsage) try {
    const bool initialise = (flInit & CBM_INIT) != 0;
    HBITMAP handle = nullptr;
    {
        ApiLock lock(ApiMutex());
        EnsureStockObjects();
        const DeviceContext* context = hdc != nullptr ? Lookup<DeviceContext>(hdc) : nullptr;
        if (hdc != nullptr && context == nullptr) return Fail<HBITMAP>(ERROR_INVALID_HANDLE);
        if (pbmih == nullptr || !IsSupportedHeaderSize(pbmih->biSize) || pbmih->biWidth < 0 ||
            pbmih->biHeight == INT_MIN || (initialise && (pjBits == nullptr || pbmi == nullptr)))
            return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
        const int width = pbmih->biWidth, height = std::abs(pbmih->biHeight);
        DibDescription dib;
        bool dibSection = false;
        if (width == 0 || height == 0) {
            DescribeDeviceBitmap(1, 1, 1, &dib);
        } else if (context != nullptr ? !DescribeCompatible(*context, width, height, &dib, &dibSection)
                                      : !DescribeDeviceBitmap(width, height, 1, &dib)) {
            return Fail<HBITMAP>(ERROR_INVALID_PARAMETER);
        }
        handle = InsertBitmap(dib, dibSection);
        if (handle == nullptr) return Fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!initialise) return handle;
    // The row count is read only from a header long enough to hold it.
    const LONG lines = pbmi->bmiHeader.biSize >= sizeof(BITMAPINFOHEADER) ? pbmi->bmiHeader.biHeight : 0;
    const bool described = lines != 0 && lines != INT_MIN;
    if (described && SetDIBits(hdc, handle, 0, static_cast<UINT>(std::abs(lines)), pjBits, pbmi, iUsage) > 0)
        return handle;
    const DWORD error = described ? GetLastError() : static_cast<DWORD>(ERROR_INVALID_PARAMETER);
    DeleteObject(handle);
    return Fail<HBITMAP>(error);
} catch (...) {
    return OutOfMemory<HBITMAP>();
}

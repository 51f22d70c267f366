// StretchDIBits and SetDIBitsToDevice: a caller's device-independent bits
// drawn straight onto a device context, through the stretch engine that
// StretchBlt uses (gdi/blit.h), reading the caller's rows in place.
//
// The source rectangle is in the DIB's own coordinates: its origin is the
// lower-left corner of a bottom-up DIB and the upper-left corner of a
// top-down one, so (xSrc, ySrc) names the rectangle's corner nearest that
// origin and the picture is drawn upright either way. Mirroring follows the
// signs of the extents, as in StretchBlt: a negative extent covers its start
// row or column and those before it. SetDIBitsToDevice draws one to one, in
// SRCCOPY (only its origin is mapped from logical coordinates), from a
// buffer holding scan lines StartScan to
// StartScan + cLines - 1 (counted from the DIB's origin) of the picture;
// only the part of the rectangle those lines cover is drawn. Run-length
// (BI_RLE8, BI_RLE4) bits are decoded first, as SetDIBits decodes them, into
// a picture of the uncompressed format, which the stretch then reads; for
// SetDIBitsToDevice the stream is the whole picture's.
#include "gdi/blit.h"
#include "gdi/gdi_objects.h"
#include "pixels/run_length.h"
#include "stretch/geometry.h"
#include "support/api_boundary.h"
#include "support/large_blocks.h"
#include "support/last_error.h"

#include <cstdint>
#include <memory>
#include <new>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace standin {
namespace {

struct FreeBlock {
    void operator()(std::uint8_t* p) const { std::free(p); }
};

// The caller's bits as a source image; the copy made of them when they lie
// inside the destination's own pixels (a DIB section's bits handed back to
// StretchDIBits), so that drawing cannot change rows still to be read; or
// the picture a run-length stream decodes to.
struct CallerImage {
    SourceImage image;
    std::vector<std::uint8_t> copy;
    std::unique_ptr<std::uint8_t, FreeBlock> decoded;
};

// Decodes the caller's run-length stream into a bottom-up picture of the
// description's format. False when the stream is bad.
bool DecodeCallerStream(const void* stream, CallerImage* caller) {
    const DibDescription& dib = caller->image.dib;
    caller->decoded.reset(static_cast<std::uint8_t*>(AllocateBlock(dib.imageBytes, true)));
    if (!caller->decoded) throw std::bad_alloc();
    RleMemoryStream source(static_cast<const std::uint8_t*>(stream), dib.streamBytes);
    const RleTarget target{caller->decoded.get(), dib.stride, dib.width, dib.height};
    if (!DecodeRle(&source, dib.runLength == BI_RLE8 ? RleKind::Rle8 : RleKind::Rle4, target)) return false;
    caller->image.pixels = caller->decoded.get();
    return true;
}

// Reads the caller's BITMAPINFO (a DIB_PAL_COLORS table indexes the
// context's palette) over the caller's bits. False, with the error set, for
// a context or a description the stand-in cannot draw from.
bool DescribeCallerImage(HDC hdc, const void* bits, const BITMAPINFO* info, UINT usage, CallerImage* out) {
    LogicalColors logical;
    if (!SelectedLogicalColors(hdc, &logical)) return Fail<bool>(ERROR_INVALID_HANDLE);
    if (bits == nullptr || info == nullptr ||
        !DescribeDib(info, usage, &out->image.dib, logical, DibRules::Transfer))
        return Fail<bool>(ERROR_INVALID_PARAMETER);
    out->image.pixels = const_cast<std::uint8_t*>(static_cast<const std::uint8_t*>(bits));
    if (out->image.dib.runLength != BI_RGB && !DecodeCallerStream(bits, out)) return Fail<bool>(ERROR_INVALID_PARAMETER);
    return true;
}

// Copies the caller's rows aside when they overlap the destination's pixels.
void SeparateFromTarget(HDC hdc, CallerImage* caller) {
    const Bitmap* target = SelectedBitmap(hdc);
    if (target == nullptr || caller->decoded) return;
    const std::uint8_t* begin = target->pixels.get();
    const std::uint8_t* end = begin + target->dib.imageBytes;
    const std::uint8_t* from = caller->image.pixels;
    if (from + caller->image.dib.imageBytes <= begin || from >= end) return;
    caller->copy.assign(from, from + caller->image.dib.imageBytes);
    caller->image.pixels = caller->copy.data();
}

// The source rectangle's origin counted from the top of an image `height`
// rows high, given its origin and extent in the DIB's own coordinates (from
// the bottom when bottom-up). Rows ySrc .. ySrc + hSrc - 1 from the bottom
// lie at height - ySrc - hSrc .. height - 1 - ySrc from the top; with a
// negative extent, rows ySrc + hSrc + 1 .. ySrc, drawn from the lowest, so
// the mirrored rectangle starts at height - 2 - ySrc - hSrc.
std::int64_t TopDownOrigin(const DibDescription& dib, std::int64_t height, std::int64_t ySrc, int hSrc) {
    if (dib.topDown) return ySrc;
    return height - ySrc - hSrc - (hSrc < 0 ? 2 : 0);
}

bool FitsInt(std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// A JPEG or PNG image, read only from a header long enough to say so.
bool IsCompressedImage(const BITMAPINFO* info) {
    return info != nullptr && IsSupportedHeaderSize(info->bmiHeader.biSize) &&
           (info->bmiHeader.biCompression == BI_JPEG || info->bmiHeader.biCompression == BI_PNG);
}

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                         int SrcWidth, int SrcHeight, const VOID* lpBits, const BITMAPINFO* lpbmi, UINT iUsage,
                         DWORD rop) try {
    ApiLock lock(ApiMutex());
    // No JPEG or PNG decoder stands behind this device.
    if (IsCompressedImage(lpbmi)) return Fail<int>(ERROR_NOT_SUPPORTED, static_cast<int>(GDI_ERROR));
    CallerImage caller;
    if (!DescribeCallerImage(hdc, lpBits, lpbmi, iUsage, &caller)) return 0;
    SeparateFromTarget(hdc, &caller);
    const std::int64_t top = TopDownOrigin(caller.image.dib, caller.image.dib.height, ySrc, SrcHeight);
    if (!FitsInt(top)) return Fail<int>(ERROR_INVALID_PARAMETER);
    std::int32_t rows = 0;
    if (!StretchDibOnto(hdc, xDest, yDest, DestWidth, DestHeight, caller.image, xSrc, static_cast<int>(top), SrcWidth,
                        SrcHeight, rop, &rows))
        return 0;
    if (rows == 0) return 0;
    // The source's scan lines, negative when the picture is mirrored top to bottom.
    const int lines = std::abs(SrcHeight);
    return (SrcHeight < 0) != (DestHeight < 0) ? -lines : lines;
} catch (...) {
    return OutOfMemory<int>();
}

int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT StartScan,
                             UINT cLines, const VOID* lpvBits, const BITMAPINFO* lpbmi, UINT ColorUse) try {
    ApiLock lock(ApiMutex());
    if (IsCompressedImage(lpbmi)) return Fail<int>(ERROR_NOT_SUPPORTED, static_cast<int>(GDI_ERROR));
    CallerImage caller;
    if (!DescribeCallerImage(hdc, lpvBits, lpbmi, ColorUse, &caller)) return 0;
    DibDescription& band = caller.image.dib;
    const std::int64_t height = band.height;
    if (w > static_cast<DWORD>(kMaxStretchCoordinate) || h > static_cast<DWORD>(kMaxStretchCoordinate))
        return Fail<int>(ERROR_INVALID_PARAMETER);
    // The buffer holds scan lines StartScan .. StartScan + lines - 1: the
    // source is those rows alone, with the rectangle moved to match.
    if (StartScan >= height || cLines == 0 || w == 0 || h == 0) return 0;
    const auto lines = static_cast<std::int32_t>(std::min<std::int64_t>(cLines, height - StartScan));
    band.height = lines;
    band.imageBytes = band.stride * static_cast<std::size_t>(lines);
    SeparateFromTarget(hdc, &caller);
    const int width = static_cast<int>(w), rowsHigh = static_cast<int>(h);
    if (caller.decoded) caller.image.pixels += band.stride * StartScan;  // the stream held every line
    const std::int64_t top = TopDownOrigin(band, lines, std::int64_t{ySrc} - StartScan, rowsHigh);
    if (!FitsInt(top)) return Fail<int>(ERROR_INVALID_PARAMETER);
    std::int32_t rows = 0;
    if (!PixelsOnto(hdc, xDest, yDest, caller.image, xSrc, static_cast<int>(top), width, rowsHigh, &rows))
        return 0;
    return lines;
} catch (...) {
    return OutOfMemory<int>();
}

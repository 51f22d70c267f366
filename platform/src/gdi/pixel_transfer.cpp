// GetDIBits and SetDIBits: pixel rows between a bitmap and a caller's
// device-independent buffer, converted between formats a row at a time
// (ScanLines says which rows meet). SetDIBits also takes run-length
// streams, decoded first into rows of their own depth.
#include "support/api_boundary.h"
#include "pixels/bitmap_info.h"
#include "pixels/default_palettes.h"
#include "support/fault_injection.h"
#include "gdi/gdi_objects.h"
#include "support/last_error.h"
#include "pixels/row_codec.h"
#include "pixels/run_length.h"
#include "support/large_blocks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace standin {
namespace {

bool SameFormat(const DibDescription& a, const DibDescription& b) {
    const PixelFormat& fa = a.format;
    const PixelFormat& fb = b.format;
    if (fa.bitCount != fb.bitCount || fa.bitfields != fb.bitfields) return false;
    if (fa.red.mask != fb.red.mask || fa.green.mask != fb.green.mask || fa.blue.mask != fb.blue.mask)
        return false;
    if (!fa.indexed()) return true;
    return std::memcmp(a.colors.data(), b.colors.data(),
                       sizeof(RGBQUAD) * static_cast<std::size_t>(a.colorCount)) == 0;
}

// Converts `columns` pixels of one row between two formats. 32-bit BI_RGB
// is the working form itself, so it is read or written in place. A large
// transfer writes its rows with streaming stores and finishes them when the
// converter goes.
class RowConverter {
public:
    RowConverter(const DibDescription& from, const DibDescription& to, int columns, Stores stores)
        : from_(from.format, from.colors.data(), from.colorCount),
          to_(to.format, to.colors.data(), to.colorCount),
          columns_(columns),
          copyBits_(SameFormat(from, to) ? static_cast<std::size_t>(columns) * from.format.bitCount : 0),
          fromIsWork_(from.format.hasFourthByte()),
          toIsWork_(to.format.hasFourthByte()),
          stores_(stores) {
        if (copyBits_ == 0 && !fromIsWork_ && !toIsWork_)
            work_.resize(static_cast<std::size_t>(columns) * kWorkBytesPerPixel);
    }
    ~RowConverter() {
        if (stores_ == Stores::Streaming) FinishStreamingStores();
    }
    RowConverter(const RowConverter&) = delete;
    RowConverter& operator=(const RowConverter&) = delete;

    void Convert(const std::uint8_t* src, std::uint8_t* dst) {
        if (copyBits_ != 0) {
            CopyBits(src, dst);
        } else if (toIsWork_) {
            from_.Unpack(src, 0, columns_, dst, stores_);
        } else if (fromIsWork_) {
            to_.Pack(src, 0, columns_, dst, stores_);
        } else {
            from_.Unpack(src, 0, columns_, work_.data());
            to_.Pack(work_.data(), 0, columns_, dst, stores_);
        }
    }

private:
    // Copies the row's leading `copyBits_` bits; the pixels of a last,
    // partly covered byte (1 and 4 bits a pixel) are merged into it, so the
    // pixels beyond `columns_` keep their values.
    void CopyBits(const std::uint8_t* src, std::uint8_t* dst) const {
        const std::size_t whole = copyBits_ / 8;
        const unsigned rest = static_cast<unsigned>(copyBits_ % 8);
        std::memcpy(dst, src, whole);
        if (rest == 0) return;
        const unsigned covered = (0xFF00u >> rest) & 0xFFu;  // leading pixels sit in the high bits
        dst[whole] = static_cast<std::uint8_t>((dst[whole] & ~covered) | (src[whole] & covered));
    }

    RowCodec from_, to_;
    int columns_;
    std::size_t copyBits_;
    bool fromIsWork_, toIsWork_;
    Stores stores_;
    std::vector<std::uint8_t> work_;
};

// How the caller's DIB meets the bitmap. Scan lines are counted in the
// caller's DIB from its bottom row up, whichever way its rows are stored,
// and the DIB and the bitmap are aligned at their top rows: scan line s is
// the bitmap's row H - 1 - s from the top, for a DIB of H rows, and lies
// above the bitmap's top when that row is past the bitmap's height. A call
// moves the scan lines [start, end), at most up to the DIB's height; the
// caller's buffer holds them in the DIB's own order, the first of them in
// its first row when the DIB is bottom-up, the last when it is top-down.
struct ScanLines {
    std::int64_t start = 0;
    std::int64_t end = 0;

    ScanLines(const DibDescription& buffer, UINT first, UINT lines)
        : start(first), end(std::min<std::int64_t>(std::int64_t{first} + lines, buffer.height)) {
        if (end < start) end = start;
    }
    std::int64_t count() const { return end - start; }
    // The buffer row holding the k-th line moved.
    std::size_t BufferRow(const DibDescription& buffer, std::int64_t k) const {
        return static_cast<std::size_t>(buffer.topDown ? count() - 1 - k : k);
    }
    // The bitmap row (from the top) under the k-th line moved, or -1 when
    // that line lies beyond the bitmap.
    std::int32_t BitmapRow(const DibDescription& buffer, const Bitmap& bitmap, std::int64_t k) const {
        const std::int64_t row = buffer.height - 1 - (start + k);
        return row < bitmap.height() ? static_cast<std::int32_t>(row) : -1;
    }
};

// Chooses the bitfield masks reported for a BI_BITFIELDS request: the
// bitmap's own at the same depth, else 5-6-5 or 8-8-8.
void RequestMasks(const Bitmap& bitmap, int bitCount, DWORD masks[3]) {
    const PixelFormat& own = bitmap.format();
    if (own.bitfields && own.bitCount == bitCount) {
        masks[0] = own.red.mask;
        masks[1] = own.green.mask;
        masks[2] = own.blue.mask;
    } else if (bitCount == 16) {
        masks[0] = 0xF800; masks[1] = 0x07E0; masks[2] = 0x001F;
    } else {
        masks[0] = 0xFF0000; masks[1] = 0x00FF00; masks[2] = 0x0000FF;
    }
}

// Settles the colour table of an indexed GetDIBits buffer and writes it
// into the caller's BITMAPINFO. With DIB_PAL_COLORS entry i is index i of
// the context's palette (black past its end), written as a 16-bit index.
void SettleColorTable(const Bitmap& bitmap, BITMAPINFO* info, UINT usage, const LogicalColors& logical,
                      DibDescription* out) {
    const BITMAPINFOHEADER& asked = info->bmiHeader;
    BYTE* tableOut = reinterpret_cast<BYTE*>(info) + asked.biSize;
    int entries = ColorTableEntries(asked.biBitCount, asked.biClrUsed);
    out->colorCount = entries;
    if (usage == DIB_PAL_COLORS) {
        for (int i = 0; i < entries; ++i) {
            out->colors[i] = i < logical.count ? logical.colors[i] : RGBQUAD{0, 0, 0, 0};
            WORD index = static_cast<WORD>(i);
            std::memcpy(tableOut + i * sizeof index, &index, sizeof index);
        }
        return;
    }
    if (bitmap.format().indexed() && bitmap.format().bitCount == asked.biBitCount)
        std::copy(bitmap.dib.colors.begin(), bitmap.dib.colors.end(), out->colors.begin());
    else if (!bitmap.dibSection)
        DeviceDependentPalette(asked.biBitCount, out->colors.data());
    else
        DefaultPalette(asked.biBitCount, out->colors.data());
    std::memcpy(tableOut, out->colors.data(), sizeof(RGBQUAD) * static_cast<std::size_t>(entries));
}

// Describes the buffer a GetDIBits caller asks for, settling its colour
// table and writing it back into the caller's BITMAPINFO, with the masks of
// a bitfield request when the call reads bits (a query leaves them).
bool DescribeRequest(const Bitmap& bitmap, BITMAPINFO* info, UINT usage, const LogicalColors& logical,
                     bool readsBits, DibDescription* out) {
    const BITMAPINFOHEADER& asked = info->bmiHeader;
    // The colour table is written right after the caller's header, biSize
    // bytes in.
    if (!IsSupportedHeaderSize(asked.biSize)) return false;
    // The planes are looked at only when bits are read, and then only 0 is
    // refused.
    if (readsBits && asked.biPlanes == 0) return false;
    BitmapInfoBuffer request{};
    request.header = asked;
    request.header.biSize = kInfoHeaderBytes;
    request.header.biPlanes = 1;
    request.header.biClrUsed = 0;
    DWORD masks[3] = {0, 0, 0};
    if (asked.biCompression == BI_BITFIELDS) {
        RequestMasks(bitmap, asked.biBitCount, masks);
        std::memcpy(request.colors, masks, sizeof masks);
    }
    if (!DescribeDib(request.info(), DIB_RGB_COLORS, out)) return false;

    if (out->format.indexed()) {
        SettleColorTable(bitmap, info, usage, logical, out);
    } else if (asked.biCompression == BI_BITFIELDS && readsBits) {
        // The masks follow the 40-byte header, or fill the same bytes of a
        // larger one.
        std::memcpy(reinterpret_cast<BYTE*>(info) + kInfoHeaderBytes, masks, sizeof masks);
    }
    return true;
}

// Reports the bitmap's own format in the caller's header (a GetDIBits call
// with no buffer and a zero bit count). A device-dependent bitmap deeper than
// 8 bits reports BI_BITFIELDS, as a bitfield section does; the masks are not
// written. The caller's header keeps its size and resolution fields.
void ReportFormat(const Bitmap& bitmap, BITMAPINFOHEADER* header) {
    BITMAPINFOHEADER own = MakeInfoHeader(bitmap.width(), bitmap.height(), bitmap.dib.topDown, bitmap.format());
    if (!bitmap.dibSection && !bitmap.format().indexed()) own.biCompression = BI_BITFIELDS;
    own.biSize = header->biSize;
    own.biXPelsPerMeter = header->biXPelsPerMeter;
    own.biYPelsPerMeter = header->biYPelsPerMeter;
    *header = own;
}

// Bytes of a buffer row that `columns` pixels fill, rounded down to whole
// bytes; the rest of the row (tail and padding) is cleared.
std::size_t WholeBytes(int columns, int bitCount) {
    return static_cast<std::size_t>(columns) * bitCount / 8;
}

// Reads the lines into the caller's buffer: each row the bitmap holds is
// converted, each line beyond it is zeros. Returns how many came from the
// bitmap.
int CopyOut(const Bitmap& bitmap, const DibDescription& buffer, std::uint8_t* bits, const ScanLines& lines) {
    int columns = std::min(buffer.width, bitmap.width());
    RowConverter converter(bitmap.dib, buffer, columns,
                           StoresFor(static_cast<std::size_t>(lines.count()) * buffer.stride));
    std::size_t keep = buffer.format.bitCount < 8 ? 0 : WholeBytes(columns, buffer.format.bitCount);
    int copied = 0;
    for (std::int64_t k = 0; k < lines.count(); ++k) {
        std::uint8_t* row = bits + lines.BufferRow(buffer, k) * buffer.stride;
        const std::int32_t from = lines.BitmapRow(buffer, bitmap, k);
        if (from < 0) {
            std::memset(row, 0, buffer.stride);
            continue;
        }
        std::memset(row + keep, 0, buffer.stride - keep);
        converter.Convert(bitmap.Row(from), row);
        ++copied;
    }
    return copied;
}

// Writes the lines the bitmap holds from the caller's buffer; lines beyond
// the bitmap are passed over. Returns how many were written.
int CopyIn(Bitmap& bitmap, const DibDescription& buffer, const std::uint8_t* bits, const ScanLines& lines) {
    int columns = std::min(buffer.width, bitmap.width());
    RowConverter converter(buffer, bitmap.dib, columns,
                           StoresFor(static_cast<std::size_t>(lines.count()) * bitmap.dib.stride));
    int copied = 0;
    for (std::int64_t k = 0; k < lines.count(); ++k) {
        const std::int32_t to = lines.BitmapRow(buffer, bitmap, k);
        if (to < 0) continue;
        converter.Convert(bits + lines.BufferRow(buffer, k) * buffer.stride, bitmap.Row(to));
        ++copied;
    }
    return copied;
}

struct FreeBlock {
    void operator()(std::uint8_t* p) const { std::free(p); }
};
using DecodedRows = std::unique_ptr<std::uint8_t, FreeBlock>;

// Decodes a caller's run-length stream, which holds the lines moved as an
// uncompressed buffer would (bottom-up, the first line moved at the
// bottom), into rows of `buffer`'s format. Null when the stream is bad.
DecodedRows DecodeRunLength(const DibDescription& buffer, const void* stream, const ScanLines& lines) {
    const std::size_t bytes = static_cast<std::size_t>(lines.count()) * buffer.stride;
    DecodedRows rows(static_cast<std::uint8_t*>(AllocateBlock(bytes, true)));
    if (!rows) throw std::bad_alloc();
    RleMemoryStream source(static_cast<const std::uint8_t*>(stream), buffer.streamBytes);
    const RleTarget target{rows.get(), buffer.stride, buffer.width, static_cast<std::int32_t>(lines.count())};
    if (!DecodeRle(&source, buffer.runLength == BI_RLE8 ? RleKind::Rle8 : RleKind::Rle4, target)) return nullptr;
    return rows;
}

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits,
                     LPBITMAPINFO lpbmi, UINT usage) try {
    ApiLock lock(ApiMutex());
    Bitmap* bitmap = Lookup<Bitmap>(hbm);
    LogicalColors logical;
    if (!SelectedLogicalColors(hdc, &logical) || bitmap == nullptr || lpbmi == nullptr)
        return Fail<int>(ERROR_INVALID_HANDLE);
    // A device-dependent bitmap must not be selected into a device context;
    // a DIB section's bits may be read wherever it is selected.
    if ((bitmap->selectedInto != nullptr && !bitmap->dibSection) ||
        (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
        return Fail<int>(ERROR_INVALID_PARAMETER);
    if (InjectedFailure(Call::GetDIBits)) return Fail<int>(ERROR_INVALID_PARAMETER);
    // Nothing past biSize is read before its size is known to hold it.
    if (!IsSupportedHeaderSize(lpbmi->bmiHeader.biSize)) return Fail<int>(ERROR_INVALID_PARAMETER);
    if (lpvBits == nullptr && lpbmi->bmiHeader.biBitCount == 0) {
        ReportFormat(*bitmap, &lpbmi->bmiHeader);
        return bitmap->height();
    }
    DibDescription buffer;
    if (!DescribeRequest(*bitmap, lpbmi, usage, logical, lpvBits != nullptr, &buffer))
        return Fail<int>(ERROR_INVALID_PARAMETER);
    lpbmi->bmiHeader.biSizeImage = static_cast<DWORD>(buffer.imageBytes);
    if (lpvBits == nullptr) return bitmap->height();
    // A start at or past the DIB's last scan line moves nothing, and the
    // platform answers 1.
    if (cLines > 0 && start >= static_cast<UINT>(buffer.height)) return 1;
    int copied = CopyOut(*bitmap, buffer, static_cast<std::uint8_t*>(lpvBits), ScanLines(buffer, start, cLines));
    return copied > 0 ? copied : Fail<int>(ERROR_INVALID_PARAMETER);
} catch (...) {
    return OutOfMemory<int>();
}

int WINAPI SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const VOID* lpBits,
                     const BITMAPINFO* lpbmi, UINT ColorUse) try {
    ApiLock lock(ApiMutex());
    Bitmap* bitmap = Lookup<Bitmap>(hbm);
    // A DIB_PAL_COLORS table indexes the context's palette, so needs one.
    LogicalColors logical;
    if (((hdc != nullptr || ColorUse == DIB_PAL_COLORS) && !SelectedLogicalColors(hdc, &logical)) ||
        bitmap == nullptr)
        return Fail<int>(ERROR_INVALID_HANDLE);
    // The bitmap must not be selected into a device context.
    if (bitmap->selectedInto != nullptr || lpBits == nullptr) return Fail<int>(ERROR_INVALID_PARAMETER);
    DibDescription buffer;
    if (!DescribeDib(lpbmi, ColorUse, &buffer, logical, DibRules::Transfer))
        return Fail<int>(ERROR_INVALID_PARAMETER);
    if (InjectedFailure(Call::SetDIBits)) return Fail<int>(ERROR_INVALID_PARAMETER);
    const ScanLines lines(buffer, start, cLines);
    const std::uint8_t* rows = static_cast<const std::uint8_t*>(lpBits);
    DecodedRows decoded;
    if (buffer.runLength != BI_RGB && lines.count() > 0) {
        decoded = DecodeRunLength(buffer, lpBits, lines);
        if (!decoded) return Fail<int>(ERROR_INVALID_PARAMETER);
        rows = decoded.get();
    }
    int copied = CopyIn(*bitmap, buffer, rows, lines);
    return copied > 0 ? copied : Fail<int>(ERROR_INVALID_PARAMETER);
} catch (...) {
    return OutOfMemory<int>();
}

// GetDIBits and SetDIBits: pixel rows between a bitmap and a caller's
// device-independent buffer, converted between formats a row at a time.
//
// Scan lines are counted in the buffer's own order: in a bottom-up buffer
// scan line 0 is the bottom row of the picture, in a top-down one the top.
#include "support/api_boundary.h"
#include "pixels/bitmap_info.h"
#include "pixels/default_palettes.h"
#include "support/fault_injection.h"
#include "gdi/gdi_objects.h"
#include "support/last_error.h"
#include "pixels/row_codec.h"

#include <algorithm>
#include <cstring>
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

// Row `line` of a buffer in the picture's top-down numbering.
std::int32_t PictureRow(const DibDescription& buffer, std::int32_t pictureHeight, std::int64_t line) {
    return static_cast<std::int32_t>(buffer.topDown ? line : pictureHeight - 1 - line);
}

// How many scan lines from `start` the request asks for, the picture holds
// and the caller's buffer has room for: the caller's header declares
// |biHeight| rows, and no more are ever read or written.
std::int32_t LinesToMove(std::int32_t pictureHeight, const DibDescription& buffer, UINT start, UINT lines) {
    if (start >= static_cast<UINT>(pictureHeight)) return 0;
    UINT count = std::min<UINT>(lines, static_cast<UINT>(pictureHeight) - start);
    return static_cast<std::int32_t>(std::min<UINT>(count, static_cast<UINT>(buffer.height)));
}

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
    else
        DefaultPalette(asked.biBitCount, out->colors.data());
    std::memcpy(tableOut, out->colors.data(), sizeof(RGBQUAD) * static_cast<std::size_t>(entries));
}

// Describes the buffer a GetDIBits caller asks for, settling its colour
// table (or masks) and writing them back into the caller's BITMAPINFO.
bool DescribeRequest(const Bitmap& bitmap, BITMAPINFO* info, UINT usage, const LogicalColors& logical,
                     DibDescription* out) {
    const BITMAPINFOHEADER& asked = info->bmiHeader;
    // The colour table is written right after the caller's header: only a
    // header size the platform defines says where that is.
    if (!IsSupportedHeaderSize(asked.biSize)) return false;
    BitmapInfoBuffer request{};
    request.header = asked;
    request.header.biSize = kInfoHeaderBytes;
    request.header.biClrUsed = 0;
    DWORD masks[3] = {0, 0, 0};
    if (asked.biCompression == BI_BITFIELDS) {
        RequestMasks(bitmap, asked.biBitCount, masks);
        std::memcpy(request.colors, masks, sizeof masks);
    }
    if (!DescribeDib(request.info(), DIB_RGB_COLORS, out)) return false;

    if (out->format.indexed()) {
        SettleColorTable(bitmap, info, usage, logical, out);
    } else if (asked.biCompression == BI_BITFIELDS) {
        // The masks follow the 40-byte header, or fill the same bytes of a
        // larger one.
        std::memcpy(reinterpret_cast<BYTE*>(info) + kInfoHeaderBytes, masks, sizeof masks);
    }
    return true;
}

// Reports the bitmap's own format in the caller's header (a GetDIBits call
// with no buffer and a zero bit count).
// The caller's header keeps its size and resolution fields.
void ReportFormat(const Bitmap& bitmap, BITMAPINFOHEADER* header) {
    BITMAPINFOHEADER own = MakeInfoHeader(bitmap.width(), bitmap.height(), bitmap.dib.topDown, bitmap.format());
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

int CopyOut(const Bitmap& bitmap, const DibDescription& buffer, std::uint8_t* bits, UINT start,
            UINT lines) {
    std::int32_t count = LinesToMove(bitmap.height(), buffer, start, lines);
    int columns = std::min(buffer.width, bitmap.width());
    RowConverter converter(bitmap.dib, buffer, columns,
                           StoresFor(static_cast<std::size_t>(count) * buffer.stride));
    std::size_t keep = buffer.format.bitCount < 8 ? 0 : WholeBytes(columns, buffer.format.bitCount);
    for (std::int32_t k = 0; k < count; ++k) {
        std::uint8_t* row = bits + static_cast<std::size_t>(k) * buffer.stride;
        std::memset(row + keep, 0, buffer.stride - keep);
        converter.Convert(bitmap.Row(PictureRow(buffer, bitmap.height(), std::int64_t{start} + k)), row);
    }
    return count;
}

int CopyIn(Bitmap& bitmap, const DibDescription& buffer, const std::uint8_t* bits, UINT start,
           UINT lines) {
    std::int32_t count = LinesToMove(bitmap.height(), buffer, start, lines);
    int columns = std::min(buffer.width, bitmap.width());
    RowConverter converter(buffer, bitmap.dib, columns,
                           StoresFor(static_cast<std::size_t>(count) * bitmap.dib.stride));
    for (std::int32_t k = 0; k < count; ++k) {
        const std::uint8_t* row = bits + static_cast<std::size_t>(k) * buffer.stride;
        converter.Convert(row, bitmap.Row(PictureRow(buffer, bitmap.height(), std::int64_t{start} + k)));
    }
    return count;
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
    // The bitmap must not be selected into a device context.
    if (bitmap->selectedInto != nullptr || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
        return Fail<int>(ERROR_INVALID_PARAMETER);
    if (InjectedFailure(Call::GetDIBits)) return Fail<int>(ERROR_INVALID_PARAMETER);
    // Nothing past biSize is read before its size is known to hold it.
    if (!IsSupportedHeaderSize(lpbmi->bmiHeader.biSize)) return Fail<int>(ERROR_INVALID_PARAMETER);
    if (lpvBits == nullptr && lpbmi->bmiHeader.biBitCount == 0) {
        ReportFormat(*bitmap, &lpbmi->bmiHeader);
        return bitmap->height();
    }
    DibDescription buffer;
    if (!DescribeRequest(*bitmap, lpbmi, usage, logical, &buffer)) return Fail<int>(ERROR_INVALID_PARAMETER);
    if (lpvBits == nullptr) {
        lpbmi->bmiHeader.biSizeImage = static_cast<DWORD>(buffer.imageBytes);
        return bitmap->height();
    }
    int copied = CopyOut(*bitmap, buffer, static_cast<std::uint8_t*>(lpvBits), start, cLines);
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
    if (!DescribeDib(lpbmi, ColorUse, &buffer, logical)) return Fail<int>(ERROR_INVALID_PARAMETER);
    if (InjectedFailure(Call::SetDIBits)) return Fail<int>(ERROR_INVALID_PARAMETER);
    int copied = CopyIn(*bitmap, buffer, static_cast<const std::uint8_t*>(lpBits), start, cLines);
    return copied > 0 ? copied : Fail<int>(ERROR_INVALID_PARAMETER);
} catch (...) {
    return OutOfMemory<int>();
}

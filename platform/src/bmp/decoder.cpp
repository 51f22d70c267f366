#include "bmp/decoder.h"

#include "bmp/rle.h"
#include "bmp/rows.h"
#include "bmp/window_reader.h"

#include "support/large_blocks.h"
#include "support/last_error.h"
#include "pixels/bitmap_info.h"
#include "pixels/pixel_format.h"

#include <cstring>

namespace standin {
namespace bmp {
namespace {

void DescribeOutput(const BmpImage& image, BitmapInfoBuffer* info) {
    std::memset(info, 0, sizeof *info);
    const PixelFormat& out = image.output;
    info->header = MakeInfoHeader(image.width, image.height, image.topDown, out);
    if (out.bitfields) {
        PutMasks(out, info);
    } else if (out.indexed()) {
        // biClrUsed stays 0: the table is always full, black past the file's.
        std::memcpy(info->colors, image.palette.colors.data(), sizeof(RGBQUAD) << out.bitCount);
    }
}

RleKind KindOf(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Rle4: return RleKind::Rle4;
        case PixelLayout::Rle24: return RleKind::Rle24;
        default: return RleKind::Rle8;
    }
}

// Rows stored as the section holds them go straight from the file into it,
// which is exactly as long as the file's pixel block.
DWORD ReadRowsInPlace(const kernel::ReadOnlyFile& file, const BmpImage& image, std::uint8_t* bits) {
    const std::size_t bytes = static_cast<std::size_t>(image.pixelBytes);
    std::size_t got = 0;
    CommitPages(bits, bytes);
    if (!file.ReadAt(image.pixelOffset, bits, bytes, &got) || got < bytes) return ERROR_READ_FAULT;
    return ERROR_SUCCESS;
}

DWORD WritePixels(const kernel::ReadOnlyFile& file, const BmpImage& image, std::uint8_t* bits) {
    if (StoredAsHeld(image)) return ReadRowsInPlace(file, image, bits);
    const std::size_t stride = static_cast<std::size_t>(DibStride(image.width, image.output.bitCount));
    WindowReader pixels(file, image.pixelOffset, image.pixelOffset + image.pixelBytes);
    bool ok;
    if (IsRunLength(image.layout)) {
        const RleTarget target{bits, stride, image.width, image.height};
        ok = DecodeRle(&pixels, KindOf(image.layout), target);
    } else {
        ok = ConvertUncompressedRows(image, &pixels, bits, stride);
    }
    // A file that could not be read (or shrank since it was measured) fails
    // as unreadable, whatever the decoder made of the bytes it got.
    if (pixels.failed()) return ERROR_READ_FAULT;
    return ok ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

}  // namespace

bool ParseBmpFile(const kernel::ReadOnlyFile& file, BmpImage* image, BmpRefusal* refusal) {
    std::uint8_t head[kHeadBytes];
    const std::size_t wanted = file.size() < sizeof head ? static_cast<std::size_t>(file.size()) : sizeof head;
    std::size_t got = 0;
    if (!file.ReadAt(0, head, wanted, &got) || got < wanted) return false;
    *refusal = ParseBmp(ByteSpan{head, got}, file.size(), image);
    return true;
}

HBITMAP CreateBitmapFromBmp(const kernel::ReadOnlyFile& file, const BmpImage& image, BmpRefusal* refusal) {
    if (refusal != nullptr) *refusal = BmpRefusal::None;
    BitmapInfoBuffer info;
    DescribeOutput(image, &info);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    // The new section is zeroed and known to no one else yet, so its rows
    // are written directly, outside the API lock. An allocation failure (the
    // reading window) must not leak the section.
    DWORD error;
    try {
        error = WritePixels(file, image, static_cast<std::uint8_t*>(bits));
    } catch (...) {
        DeleteObject(bitmap);
        throw;
    }
    if (error != ERROR_SUCCESS) {
        DeleteObject(bitmap);
        if (refusal != nullptr && error == ERROR_INVALID_DATA) *refusal = BmpRefusal::BadRunLength;
        return Fail<HBITMAP>(error);
    }
    return bitmap;
}

}  // namespace bmp
}  // namespace standin

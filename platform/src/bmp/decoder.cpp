#include "bmp/decoder.h"

#include "bmp/rle.h"
#include "bmp/rows.h"

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

bool WritePixels(const BmpImage& image, std::uint8_t* bits) {
    const std::size_t stride = static_cast<std::size_t>(DibStride(image.width, image.output.bitCount));
    if (IsRunLength(image.layout)) {
        RleTarget target{bits, stride, image.width, image.height};
        return DecodeRle(image.pixels, KindOf(image.layout), target);
    }
    WriteUncompressedRows(image, bits, stride);
    return true;
}

}  // namespace

HBITMAP CreateBitmapFromBmp(const BmpImage& image, BmpRefusal* refusal) {
    if (refusal != nullptr) *refusal = BmpRefusal::None;
    BitmapInfoBuffer info;
    DescribeOutput(image, &info);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    // The new section is zeroed and known to no one else yet, so its rows
    // are written directly, outside the API lock.
    if (!WritePixels(image, static_cast<std::uint8_t*>(bits))) {
        DeleteObject(bitmap);
        if (refusal != nullptr) *refusal = BmpRefusal::BadRunLength;
        return Fail<HBITMAP>(ERROR_INVALID_DATA);
    }
    return bitmap;
}

}  // namespace bmp
}  // namespace standin

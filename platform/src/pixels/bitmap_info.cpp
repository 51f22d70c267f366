#include "pixels/bitmap_info.h"

#include <cstring>

namespace standin {

BITMAPINFOHEADER MakeInfoHeader(std::int32_t width, std::int32_t height, bool topDown,
                                const PixelFormat& format) {
    BITMAPINFOHEADER h{};
    h.biSize = kInfoHeaderBytes;
    h.biWidth = width;
    h.biHeight = topDown ? -height : height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(format.bitCount);
    h.biCompression = format.bitfields ? BI_BITFIELDS : BI_RGB;
    h.biSizeImage = static_cast<DWORD>(DibStride(width, format.bitCount) * height);
    return h;
}

void PutMasks(const PixelFormat& format, BitmapInfoBuffer* buffer) {
    const DWORD masks[3] = {format.red.mask, format.green.mask, format.blue.mask};
    std::memcpy(buffer->colors, masks, sizeof masks);
}

}  // namespace standin

// ExamineBmp, the test hook that tells why the loader refuses a file: the
// same parse and decode as LoadImageA, on bytes already in memory.
#include "bmp/decoder.h"
#include "bmp/image.h"

#include <standin/testing.h>

namespace standin {

BmpRefusal ExamineBmp(const void* bytes, std::size_t size) {
    bmp::BmpImage image;
    const bmp::ByteSpan file{static_cast<const std::uint8_t*>(bytes), size};
    BmpRefusal refusal = bmp::ParseBmp(file, &image);
    if (refusal != BmpRefusal::None) return refusal;
    HBITMAP bitmap = bmp::CreateBitmapFromBmp(image, &refusal);
    if (bitmap != nullptr) DeleteObject(bitmap);
    return refusal;
}

}  // namespace standin

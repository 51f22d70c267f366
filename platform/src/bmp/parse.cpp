// Takes a BMP file apart: headers, masks, colour table and pixel block,
// each checked against the file's length and the stand-in's limits.
#include "bmp/headers.h"
#include "bmp/image.h"
#include "bmp/rle.h"

#include "pixels/pixel_format.h"

#include <climits>

namespace standin {
namespace bmp {
namespace {

// Everything ParseBmp reads before the pixels lies in the head.
static_assert(kFileHeaderBytes + kV5HeaderBytes + 4 * sizeof(std::uint32_t) +
                      kMaxColors * sizeof(RGBQUAD) <= kHeadBytes,
              "the head holds the headers, the masks and a full colour table");

BmpRefusal ReadGeometry(const DibHeader& header, BmpImage* image) {
    const DibV5& f = header.fields;
    if (f.planes != 1) return BmpRefusal::BadPlanes;
    // INT32_MIN has no positive counterpart: refused before any negation.
    if (f.width <= 0 || f.height == 0 || f.height == INT32_MIN) return BmpRefusal::BadGeometry;
    const std::int64_t rows = f.height < 0 ? -std::int64_t{f.height} : f.height;
    if (f.width > kMaxDimension || rows > kMaxDimension) return BmpRefusal::TooLarge;
    image->width = f.width;
    image->height = static_cast<std::int32_t>(rows);
    image->topDown = f.height < 0;
    image->bitCount = f.bitCount;
    return BmpRefusal::None;
}

bool UncompressedLayout(int bitCount, PixelLayout* out) {
    switch (bitCount) {
        case 1: case 4: case 8: *out = PixelLayout::Indexed; return true;
        case 2: *out = PixelLayout::Indexed2; return true;
        case 16: *out = PixelLayout::Rgb16; return true;
        case 24: *out = PixelLayout::Rgb24; return true;
        case 32: *out = PixelLayout::Rgb32; return true;
        case 64: *out = PixelLayout::Rgba64; return true;
        default: return false;
    }
}

bool ChooseLayout(const DibHeader& header, PixelLayout* out) {
    const int bitCount = header.fields.bitCount;
    switch (header.compression) {
        case Compression::Rgb: return UncompressedLayout(bitCount, out);
        case Compression::Rle8: *out = PixelLayout::Rle8; return bitCount == 8;
        case Compression::Rle4: *out = PixelLayout::Rle4; return bitCount == 4;
        case Compression::Rle24: *out = PixelLayout::Rle24; return bitCount == 24;
        case Compression::Bitfields:
        case Compression::AlphaBitfields:
            *out = PixelLayout::Bitfields;
            return bitCount == 16 || bitCount == 32;
        case Compression::Unsupported: return false;
    }
    return false;
}

// Masks sit in the header from version 2 on; after a 40-byte header come
// three DWORDs (four with BI_ALPHABITFIELDS). The alpha mask counts only
// where the header version or compression provides one.
bool ReadMasks(const DibHeader& header, ByteReader* reader, std::uint32_t masks[kMaskCount]) {
    const DibV5& f = header.fields;
    if (header.masksInHeader()) {
        masks[0] = f.redMask;
        masks[1] = f.greenMask;
        masks[2] = f.blueMask;
        masks[3] = header.alphaMaskInHeader() ? f.alphaMask : 0;
        return true;
    }
    masks[3] = 0;
    const int count = header.compression == Compression::AlphaBitfields ? 4 : 3;
    for (int i = 0; i < count; ++i)
        if (!reader->ReadU32(&masks[i])) return false;
    return true;
}

PixelFormat PlanOutput(const BmpImage& image) {
    PixelFormat out;
    switch (image.layout) {
        case PixelLayout::Indexed: out.bitCount = image.bitCount; break;
        case PixelLayout::Indexed2: out.bitCount = 4; break;
        case PixelLayout::Rle8: out.bitCount = 8; break;
        case PixelLayout::Rle4: out.bitCount = 4; break;
        case PixelLayout::Rle24: out.bitCount = 24; break;
        case PixelLayout::Rgb16: out.bitCount = 16; break;
        case PixelLayout::Rgb24: out.bitCount = 24; break;
        case PixelLayout::Rgb32: out.bitCount = 32; break;
        case PixelLayout::Rgba64: out.bitCount = 32; break;
        case PixelLayout::Bitfields:
            out.bitCount = 32;
            if (IsDirectLayout(image.fields, image.bitCount)) {
                out.bitCount = image.bitCount;
                out.bitfields = true;
                out.red = image.fields.red;
                out.green = image.fields.green;
                out.blue = image.fields.blue;
            }
            break;
    }
    return out;
}

bool HasPalette(PixelLayout layout) {
    return layout == PixelLayout::Indexed || layout == PixelLayout::Indexed2 ||
           layout == PixelLayout::Rle8 || layout == PixelLayout::Rle4;
}

// Uncompressed rows must all be in the file before anything is allocated
// for them; the image-size field is not trusted for this. A run-length
// stream takes the rest of the file and ends where its codes say; the
// picture it declares is bounded by its length.
BmpRefusal LocatePixels(std::uint64_t offset, std::uint64_t available, BmpImage* image) {
    image->pixelOffset = offset;
    if (IsRunLength(image->layout)) {
        image->pixelBytes = available;
        return RleStreamMayDeclare(available, std::int64_t{image->width} * image->height)
                   ? BmpRefusal::None
                   : BmpRefusal::RunLengthBomb;
    }
    const std::int64_t stride = DibStride(image->width, image->bitCount);
    const std::int64_t bytes = stride * image->height;
    if (static_cast<std::uint64_t>(bytes) > available) return BmpRefusal::TruncatedPixels;
    image->sourceStride = static_cast<std::size_t>(stride);
    image->pixelBytes = static_cast<std::uint64_t>(bytes);
    return BmpRefusal::None;
}

bool FitsLimits(const BmpImage& image) {
    return DibStride(image.width, image.output.bitCount) * image.height <= kMaxImageBytes;
}

// The file header, after its signature: bytes that do not start with "BM"
// are no BMP file, cut short or not.
BmpRefusal ReadSignedFileHeader(ByteReader* reader, FileHeader* fileHeader) {
    ByteReader probe = *reader;
    std::uint16_t type = 0;
    if (!probe.ReadU16(&type) || type != kBmpSignature) return BmpRefusal::NotBmp;
    return ReadFileHeader(reader, fileHeader) ? BmpRefusal::None : BmpRefusal::TruncatedHeaders;
}

// Headers, geometry, storage layout and masks; leaves `reader` just past
// the masks, where a colour table would start.
BmpRefusal ReadFormat(ByteReader* reader, FileHeader* fileHeader, DibHeader* header, BmpImage* image) {
    // The file-size and reserved fields are ignored: writers put header
    // sizes or cursor hot spots there, and the real length is known.
    BmpRefusal refusal = ReadSignedFileHeader(reader, fileHeader);
    if (refusal == BmpRefusal::None) refusal = ReadDibHeader(reader, header);
    if (refusal == BmpRefusal::None) refusal = ReadGeometry(*header, image);
    if (refusal != BmpRefusal::None) return refusal;
    if (!ChooseLayout(*header, &image->layout)) return BmpRefusal::UnsupportedFormat;
    // Run-length encoded pictures are bottom-up by definition.
    if (IsRunLength(image->layout) && image->topDown) return BmpRefusal::TopDownRunLength;
    if (image->layout != PixelLayout::Bitfields) return BmpRefusal::None;
    std::uint32_t masks[kMaskCount] = {0, 0, 0, 0};
    if (!ReadMasks(*header, reader, masks)) return BmpRefusal::TruncatedHeaders;
    return MakeBitfields(masks, image->bitCount, &image->fields) ? BmpRefusal::None : BmpRefusal::BadMasks;
}

bool ReadColourTable(ByteSpan table, const DibHeader& header, BmpImage* image) {
    image->palette = ReadPalette(table, header.paletteEntryBytes(), DeclaredPaletteEntries(header));
    return image->palette.entriesRead > 0;  // a picture with no colours at all is refused
}

}  // namespace

bool IsRunLength(PixelLayout layout) {
    return layout == PixelLayout::Rle8 || layout == PixelLayout::Rle4 || layout == PixelLayout::Rle24;
}

BmpRefusal ParseBmp(ByteSpan head, std::uint64_t fileSize, BmpImage* out) {
    ByteReader reader(head);
    FileHeader fileHeader;
    DibHeader header;
    BmpImage image;
    BmpRefusal refusal = ReadFormat(&reader, &fileHeader, &header, &image);
    if (refusal != BmpRefusal::None) return refusal;
    // The pixels may not start inside the headers or masks, nor past the
    // end; any gap after the colour table is skipped. The head holds the
    // whole table whenever the file does.
    const std::size_t headersEnd = reader.position();
    if (fileHeader.offBits < headersEnd || fileHeader.offBits > fileSize) return BmpRefusal::BadPixelOffset;
    const ByteSpan table = head.From(headersEnd).First(fileHeader.offBits - headersEnd);
    if (HasPalette(image.layout) && !ReadColourTable(table, header, &image)) return BmpRefusal::NoColourTable;
    image.output = PlanOutput(image);
    if (!FitsLimits(image)) return BmpRefusal::TooLarge;
    refusal = LocatePixels(fileHeader.offBits, fileSize - fileHeader.offBits, &image);
    if (refusal == BmpRefusal::None) *out = image;
    return refusal;
}

}  // namespace bmp
}  // namespace standin

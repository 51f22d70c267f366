#include "bmp/headers.h"

#include <windows.h>

namespace standin {
namespace bmp {
namespace {

// Compression codes that <windows.h> does not name.
constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::uint32_t kOs2Rle24 = 4;

// OS/2 2.x fields after the info part: units, reserved, recording,
// rendering, two size parameters, colour encoding and an identifier.
constexpr std::size_t kOs2ExtraBytes = kOs2HeaderBytes - kInfoHeaderBytes;

bool ParseCore(ByteReader* r, DibCore* out) {
    std::uint16_t width, height;
    if (!r->ReadU16(&width) || !r->ReadU16(&height) || !r->ReadU16(&out->planes) ||
        !r->ReadU16(&out->bitCount))
        return false;
    out->width = width;
    out->height = height;
    return true;
}

// The first 16 bytes of every later header: the core with 32-bit sizes.
bool ParseWideCore(ByteReader* r, DibCore* out) {
    return r->ReadI32(&out->width) && r->ReadI32(&out->height) && r->ReadU16(&out->planes) &&
           r->ReadU16(&out->bitCount);
}

bool ParseInfo(ByteReader* r, DibInfo* out) {
    return ParseWideCore(r, out) && r->ReadU32(&out->compression) && r->ReadU32(&out->sizeImage) &&
           r->ReadI32(&out->xPelsPerMeter) && r->ReadI32(&out->yPelsPerMeter) &&
           r->ReadU32(&out->clrUsed) && r->ReadU32(&out->clrImportant);
}

bool ParseV2(ByteReader* r, DibV2* out) {
    return ParseInfo(r, out) && r->ReadU32(&out->redMask) && r->ReadU32(&out->greenMask) &&
           r->ReadU32(&out->blueMask);
}

bool ParseV3(ByteReader* r, DibV3* out) { return ParseV2(r, out) && r->ReadU32(&out->alphaMask); }

bool ParseV4(ByteReader* r, DibV4* out) {
    if (!ParseV3(r, out) || !r->ReadU32(&out->csType)) return false;
    for (std::int32_t& endpoint : out->endpoints)
        if (!r->ReadI32(&endpoint)) return false;
    return r->ReadU32(&out->gammaRed) && r->ReadU32(&out->gammaGreen) && r->ReadU32(&out->gammaBlue);
}

bool ParseV5(ByteReader* r, DibV5* out) {
    return ParseV4(r, out) && r->ReadU32(&out->intent) && r->ReadU32(&out->profileData) &&
           r->ReadU32(&out->profileSize) && r->ReadU32(&out->reserved);
}

bool ParseOs2(ByteReader* r, DibInfo* out) { return ParseInfo(r, out) && r->Skip(kOs2ExtraBytes); }

bool IsKnownHeaderSize(std::uint32_t size) {
    switch (size) {
        case kCoreHeaderBytes: case kOs2ShortHeaderBytes: case kOs2HeaderBytes: case kInfoHeaderBytes:
        case kV2HeaderBytes: case kV3HeaderBytes: case kV4HeaderBytes: case kV5HeaderBytes: return true;
        default: return false;
    }
}

// Reads the fields that follow the size field; the family follows from the
// size alone.
bool ParseBySize(ByteReader* r, DibHeader* out) {
    switch (out->size) {
        case kCoreHeaderBytes: out->family = HeaderFamily::Core; return ParseCore(r, &out->fields);
        case kOs2ShortHeaderBytes: out->family = HeaderFamily::Os2; return ParseWideCore(r, &out->fields);
        case kOs2HeaderBytes: out->family = HeaderFamily::Os2; return ParseOs2(r, &out->fields);
        case kInfoHeaderBytes: return ParseInfo(r, &out->fields);
        case kV2HeaderBytes: return ParseV2(r, &out->fields);
        case kV3HeaderBytes: return ParseV3(r, &out->fields);
        case kV4HeaderBytes: return ParseV4(r, &out->fields);
        case kV5HeaderBytes: return ParseV5(r, &out->fields);
        default: return false;
    }
}

Compression WindowsCompression(std::uint32_t code) {
    switch (code) {
        case BI_RGB: return Compression::Rgb;
        case BI_RLE8: return Compression::Rle8;
        case BI_RLE4: return Compression::Rle4;
        case BI_BITFIELDS: return Compression::Bitfields;
        case kBiAlphaBitfields: return Compression::AlphaBitfields;
        default: return Compression::Unsupported;  // JPEG, PNG and unknown codes
    }
}

Compression Os2Compression(std::uint32_t code) {
    switch (code) {
        case BI_RGB: return Compression::Rgb;
        case BI_RLE8: return Compression::Rle8;
        case BI_RLE4: return Compression::Rle4;
        case kOs2Rle24: return Compression::Rle24;
        default: return Compression::Unsupported;  // Huffman 1D and unknown codes
    }
}

}  // namespace

bool ReadFileHeader(ByteReader* reader, FileHeader* out) {
    return reader->ReadU16(&out->type) && reader->ReadU32(&out->size) &&
           reader->ReadU16(&out->reserved1) && reader->ReadU16(&out->reserved2) &&
           reader->ReadU32(&out->offBits);
}

BmpRefusal ReadDibHeader(ByteReader* reader, DibHeader* out) {
    DibHeader header;
    if (!reader->ReadU32(&header.size)) return BmpRefusal::TruncatedHeaders;
    if (!IsKnownHeaderSize(header.size)) return BmpRefusal::UnknownHeaderSize;
    if (!ParseBySize(reader, &header)) return BmpRefusal::TruncatedHeaders;
    header.compression = header.family == HeaderFamily::Windows
                             ? WindowsCompression(header.fields.compression)
                             : Os2Compression(header.fields.compression);
    *out = header;
    return BmpRefusal::None;
}

}  // namespace bmp
}  // namespace standin

// The two headers at the start of a BMP file: the 14-byte file header and
// the bitmap header that follows it, in any of the versions met in files.
// Each version is the one before it with more fields at the end.
#ifndef STANDIN_BMP_HEADERS_H
#define STANDIN_BMP_HEADERS_H

#include "bmp/byte_reader.h"

#include "pixels/bitmap_info.h"

#include <standin/testing.h>

#include <cstdint>

namespace standin {
namespace bmp {

constexpr std::uint16_t kBmpSignature = 0x4D42;  // "BM"
constexpr std::size_t kFileHeaderBytes = 14;

struct FileHeader {
    std::uint16_t type = 0;
    std::uint32_t size = 0;
    std::uint16_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::uint32_t offBits = 0;
};

struct DibCore {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
};

struct DibInfo : DibCore {
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};

struct DibV2 : DibInfo {
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
};

struct DibV3 : DibV2 {
    std::uint32_t alphaMask = 0;
};

struct DibV4 : DibV3 {
    std::uint32_t csType = 0;
    std::int32_t endpoints[9] = {};
    std::uint32_t gammaRed = 0;
    std::uint32_t gammaGreen = 0;
    std::uint32_t gammaBlue = 0;
};

struct DibV5 : DibV4 {
    std::uint32_t intent = 0;
    std::uint32_t profileData = 0;
    std::uint32_t profileSize = 0;
    std::uint32_t reserved = 0;
};

// The header families differ in the width of the size fields (core), the
// size of a colour-table entry (core) and what compression codes mean
// (OS/2 2.x uses 3 and 4 for Huffman and RLE24).
enum class HeaderFamily { Core, Os2, Windows };

enum class Compression { Rgb, Rle8, Rle4, Rle24, Bitfields, AlphaBitfields, Unsupported };

struct DibHeader {
    std::uint32_t size = 0;  // bytes the header takes in the file
    HeaderFamily family = HeaderFamily::Windows;
    Compression compression = Compression::Rgb;
    // Every field, zero where this header version has none.
    DibV5 fields;

    // Whether the colour masks are fields of the header itself rather than
    // DWORDs after it.
    bool masksInHeader() const { return family == HeaderFamily::Windows && size >= kV2HeaderBytes; }
    bool alphaMaskInHeader() const { return family == HeaderFamily::Windows && size >= kV3HeaderBytes; }
    // Bytes per colour-table entry: RGB triples in core files, quads elsewhere.
    int paletteEntryBytes() const { return family == HeaderFamily::Core ? 3 : 4; }
};

bool ReadFileHeader(ByteReader* reader, FileHeader* out);

// Reads a bitmap header of one of the known sizes: UnknownHeaderSize for
// any other size, TruncatedHeaders when the bytes run out.
BmpRefusal ReadDibHeader(ByteReader* reader, DibHeader* out);

}  // namespace bmp
}  // namespace standin

#endif

// The colour table of a BMP file with 8 bits a pixel or fewer.
#ifndef STANDIN_BMP_PALETTE_H
#define STANDIN_BMP_PALETTE_H

#include "bmp/headers.h"

#include "pixels/pixel_format.h"

#include <windows.h>

#include <array>

namespace standin {
namespace bmp {

// Always a full table of 2^bitCount entries (256 at most), so that every
// index a pixel can hold names an entry.
struct Palette {
    std::array<RGBQUAD, kMaxColors> colors{};
    int entriesRead = 0;  // entries that came from the file
};

// Entries a header asks for: biClrUsed, with 0 meaning the full 2^bitCount.
int DeclaredPaletteEntries(const DibHeader& header);

// Reads up to `wanted` entries from `table`, the bytes between the header
// (and its masks) and the pixels.
Palette ReadPalette(ByteSpan table, int entryBytes, int wanted);

}  // namespace bmp
}  // namespace standin

#endif

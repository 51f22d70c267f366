#include "bmp/palette.h"

namespace standin {
namespace bmp {

int DeclaredPaletteEntries(const DibHeader& header) {
    const int bitCount = header.fields.bitCount;
    if (bitCount > 8) return 0;
    const std::uint32_t full = 1u << bitCount;
    // A count above what the pixels can index (a table of 300 entries, or a
    // corrupt count in the millions) is cut to the indexable entries; the
    // rest of such a table lies unused before the pixels.
    const std::uint32_t used = header.fields.clrUsed;
    if (header.family == HeaderFamily::Core || used == 0 || used > full) return static_cast<int>(full);
    return static_cast<int>(used);
}

Palette ReadPalette(ByteSpan table, int entryBytes, int wanted) {
    Palette palette;
    // A table shorter than declared (the pixels start early) is padded with
    // black, and so are the entries the file never declared: pixels that
    // index them show black instead of reading outside the table.
    ByteReader reader(table);
    for (int i = 0; i < wanted && i < kMaxColors; ++i) {
        ByteSpan entry;
        if (!reader.ReadSpan(static_cast<std::size_t>(entryBytes), &entry)) break;
        palette.colors[static_cast<std::size_t>(i)] = RGBQUAD{entry.data[0], entry.data[1], entry.data[2], 0};
        palette.entriesRead = i + 1;
    }
    return palette;
}

}  // namespace bmp
}  // namespace standin

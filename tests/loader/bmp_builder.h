// BMP files built in memory for the loader tests: every header version,
// masks, colour tables, gaps and pixel encodings, with each field settable
// so that tests can also build files that are wrong on purpose.
#ifndef BMP_BUILDER_H
#define BMP_BUILDER_H

#include <windows.h>

#include <cstdint>
#include <random>
#include <vector>

namespace bmp_builder {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kBiAlphaBitfields = 6;
constexpr std::uint32_t kOs2Rle24 = 4;

struct BmpParts {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = BI_RGB;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    // Red, green, blue, alpha: written into headers of 52 bytes or more
    // (alpha from 56).
    std::uint32_t headerMasks[4] = {0, 0, 0, 0};
    std::vector<std::uint32_t> masksAfterHeader;
    std::vector<RGBQUAD> palette;  // RGB triples with a 12-byte header
    Bytes gap;                     // between the colour table and the pixels
    Bytes pixels;
    std::int64_t offBitsDelta = 0; // moves the recorded pixel offset
};

Bytes BuildBmp(const BmpParts& parts);

// A picture of palette indices, top row first, and its colours.
struct Sample {
    int width = 0;
    int height = 0;
    std::vector<RGBQUAD> palette;
    std::vector<std::uint8_t> indices;

    const RGBQUAD& At(int x, int y) const {
        return palette[indices[static_cast<std::size_t>(y) * width + x]];
    }
    std::uint8_t IndexAt(int x, int y) const { return indices[static_cast<std::size_t>(y) * width + x]; }
};

// `colours` random colours (or, with `cubeCorners`, the eight colours whose
// channels are 0 or 255, which every channel width holds exactly), indices
// at random, with runs of equal indices so that RLE has runs to find.
Sample RandomSample(std::mt19937* random, int width, int height, int colours, bool cubeCorners);

// Uncompressed rows, padded to 4 bytes, bottom row first unless `topDown`.
Bytes IndexedRows(const Sample& sample, int bitCount, bool topDown);
// Direct-colour rows: each pixel's channels scaled into the masks (red,
// green, blue, alpha; alpha set to its maximum), stored in `bytesPerPixel`
// little-endian bytes. 3 bytes a pixel means plain blue, green, red.
Bytes DirectRows(const Sample& sample, int bytesPerPixel, const std::uint32_t masks[4], bool topDown);
// 64-bit rows: 2.13 fixed-point blue, green, red, alpha of linear light.
Bytes Rgba64Rows(const Sample& sample);

enum class RleKind { Rle8, Rle4, Rle24 };
// A valid stream, bottom row first: encoded runs on some rows, absolute
// runs on others, end-of-line after each row but the last, then
// end-of-bitmap.
Bytes RleStream(const Sample& sample, RleKind kind);

}  // namespace bmp_builder

#endif

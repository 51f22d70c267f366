// Device-independent pixel formats: what a BITMAPINFO describes, checked
// once, reduced to the few numbers the pixel loops need.
#ifndef STANDIN_PIXEL_FORMAT_H
#define STANDIN_PIXEL_FORMAT_H

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace standin {

// Largest width or height of a bitmap, and largest pixel block, that the
// stand-in will allocate. Anything larger is refused before allocation.
constexpr std::int64_t kMaxDimension = 1 << 16;
constexpr std::int64_t kMaxImageBytes = std::int64_t{1} << 30;
constexpr int kMaxColors = 256;

// One colour channel of a 16- or 32-bit pixel: where it sits and how wide.
struct ChannelMask {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

struct PixelFormat {
    int bitCount = 0;           // 1, 4, 8, 16, 24 or 32
    bool bitfields = false;     // 16 and 32 bits only
    ChannelMask red, green, blue;

    bool indexed() const { return bitCount <= 8; }
    // 32-bit BI_RGB keeps its fourth byte; every other format has none.
    bool hasFourthByte() const { return bitCount == 32 && !bitfields; }
};

// A checked description of a device-independent bitmap.
struct DibDescription {
    std::int32_t width = 0;
    std::int32_t height = 0;    // absolute row count
    bool topDown = false;       // negative biHeight
    PixelFormat format;
    std::array<RGBQUAD, kMaxColors> colors{};
    int colorCount = 0;         // entries in the colour table, 0 above 8 bits
    std::size_t stride = 0;     // bytes per row, padded to 4
    std::size_t imageBytes = 0; // stride * height
    // BI_RLE8 or BI_RLE4 for a caller's run-length pixels (SetDIBits), whose
    // stream is `streamBytes` long; BI_RGB otherwise.
    DWORD runLength = BI_RGB;
    std::size_t streamBytes = 0;
};

// Largest biSize taken. The platform reads the fields it knows from any
// header of at least 40 bytes; the colour table follows biSize bytes in, so
// a bound keeps an absurd size from sending reads gigabytes past the header.
constexpr DWORD kMaxInfoHeaderBytes = 4096;

// Whether a BITMAPINFO may start with a header of this many bytes: any size
// from the info header's 40 bytes to kMaxInfoHeaderBytes (52, 56, 108 and
// 124 are the defined ones; others are read as the 40-byte header, with the
// colour table after biSize bytes). The 12-byte core header is not
// supported.
bool IsSupportedHeaderSize(DWORD size);

// Row length in bytes of a device-independent row: padded to 4 bytes.
std::int64_t DibStride(std::int64_t width, int bitCount);

// Reduces a mask to its shift and width; false unless it is one contiguous
// run of set bits. With `gaps` a mask with clear bits inside it is taken
// too, as the run from its lowest to its highest set bit: the bits in the
// gaps read as 0 and are dropped when the channel is written.
bool MakeChannelMask(std::uint32_t mask, ChannelMask* out, bool gaps = false);

// The channels of a 16- or 32-bit pixel, in mask order: red, green, blue,
// alpha.
enum MaskIndex { kRedMask, kGreenMask, kBlueMask, kAlphaMask, kMaskCount };

// The one check of bitfield masks: reduces red, green, blue and alpha (an
// alpha of 0 means none) to channels. Refuses a bit count other than 16 or
// 32, an empty colour mask, a mask that is not one run of set bits, masks
// that overlap and bits beyond the pixel; a mask with gaps only without
// `gaps` (MakeChannelMask).
bool MakeChannelMasks(const std::uint32_t masks[kMaskCount], int bitCount, ChannelMask out[kMaskCount],
                      bool gaps = false);

// The default formats of 16-bit (5-5-5) and 32-bit (8-8-8) BI_RGB pixels.
PixelFormat RgbFormat(int bitCount);

// The colours of a device context's logical palette, for DIB_PAL_COLORS
// tables (16-bit indices into it).
struct LogicalColors {
    const RGBQUAD* colors = nullptr;
    int count = 0;
};

// What a call takes in a caller's BITMAPINFO beyond the common checks.
enum class DibRules {
    // CreateDIBSection: biPlanes 1, or more where biPlanes x biBitCount is
    // at most 16; uncompressed or bitfield pixels.
    Section,
    // SetDIBits and GetDIBits reading bits: any biPlanes but 0; SetDIBits
    // also takes run-length pixels (BI_RLE8 at 8 bits, BI_RLE4 at 4, rows
    // bottom-up, biSizeImage bytes of stream).
    Transfer,
};

// Validates a BITMAPINFO as `rules` say: header size, planes, bit count,
// compression, masks, colour count, dimensions and total size. With
// DIB_PAL_COLORS the colour table holds 16-bit indices into `logical`; an
// index past its end gives black. Fills `out` and returns true when every
// field is acceptable. A run-length description is of the decoded rows,
// with `runLength` set.
bool DescribeDib(const BITMAPINFO* info, UINT usage, DibDescription* out,
                 const LogicalColors& logical = LogicalColors{}, DibRules rules = DibRules::Section);

// Colour table size in entries that a header with this bit count and
// biClrUsed carries.
int ColorTableEntries(int bitCount, DWORD clrUsed);

}  // namespace standin

#endif

// Device contexts with a DIB section of any layout selected, written and read
// through the section's bits by the tests' own encoder, so the checks do not
// lean on the stand-in's row codec.
#ifndef STRETCH_CANVAS_H
#define STRETCH_CANVAS_H

#include "stretch_reference.h"

#include "test_support.h"

#include <windows.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace stretch_test {

using stretch_reference::Colour;
using stretch_reference::Picture;

struct PixelLayout {
    std::string name;
    int bitCount = 24;
    bool bitfields = false;
    std::uint32_t red = 0, green = 0, blue = 0;  // masks, with bitfields
    std::vector<Colour> palette;                 // at 8 bits or fewer
};

PixelLayout Monochrome();    // 1 bit, black and white
PixelLayout Palette16();     // 4 bits, the eight corner colours and eight greys
PixelLayout Palette256();    // 8 bits, the corner colours and a grey ramp
PixelLayout GreyRamp256();   // 8 bits, entry i is grey i
PixelLayout Rgb555();        // 16 bits, BI_RGB
PixelLayout Rgb565();        // 16 bits, BI_BITFIELDS
PixelLayout Rgb24();
PixelLayout Bgrx32();        // 32 bits, BI_RGB: the fourth byte is kept
PixelLayout Bitfields32();   // 32 bits, BI_BITFIELDS, the BI_RGB positions
PixelLayout Bitfields32Rgb();// 32 bits, BI_BITFIELDS, red in the low byte
std::vector<PixelLayout> AllLayouts();

// Whether the layout stores this colour exactly (the fourth byte only counts
// for 32-bit BI_RGB).
bool Representable(const PixelLayout& layout, const Colour& colour);

class Canvas {
public:
    // A negative height is not used here: `topDown` picks the row order.
    Canvas(const PixelLayout& layout, int width, int height, bool topDown = false);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Every colour must be representable.
    void Write(const Picture& picture);
    Picture Read() const;
    std::vector<std::uint8_t> RawBytes() const;
    // The BITMAPINFO the section was made from.
    testing_support::BitmapInfoBuffer Info() const;

private:
    std::uint8_t* Row(int y) const;

    PixelLayout layout_;
    int width_, height_;
    bool topDown_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    std::size_t stride_ = 0;
};

// Random colours; the fourth byte stays 0 unless `fourthByte`.
Picture RandomPicture(int width, int height, std::mt19937& rng, bool fourthByte = false);

}  // namespace stretch_test

#endif

// A plain, slow model of StretchBlt for the tests to compare against: one
// destination pixel at a time, straight from the definition, with exact
// rational arithmetic and nothing precomputed.
#ifndef STRETCH_REFERENCE_H
#define STRETCH_REFERENCE_H

#include <cstdint>
#include <vector>

namespace stretch_reference {

// Blue, green, red and the fourth byte, as in an RGBQUAD.
struct Colour {
    std::uint8_t b = 0, g = 0, r = 0, x = 0;
    bool operator==(const Colour& o) const { return b == o.b && g == o.g && r == o.r && x == o.x; }
    bool operator!=(const Colour& o) const { return !(*this == o); }
};

Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b);

struct Picture {
    Picture() = default;
    Picture(int w, int h, Colour fill = {}) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Colour& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Colour& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }

    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;  // top row first
};

enum class Mode { Halftone, Delete, And, Or };

struct Call {
    int xDest, yDest, wDest, hDest;
    int xSrc, ySrc, wSrc, hSrc;
};

// What the destination holds after the stretch `call` from `source` onto
// `dest`. A rectangle x, w covers pixels x .. x + w - 1, or with a negative
// w x, x - 1 .. x + w + 1: between the edges x and x + w, or x + 1 and
// x + 1 + w. Each axis maps destination edge d to source edge
// xSrc + (d - xDest) * wSrc / wDest (origins at those edges). A destination pixel inside its bitmap
// is written when the image of its centre lies inside the source bitmap.
// Halftone: the mean of the source area under the pixel, every source pixel
// weighted by the area it shares with the pixel's image, the bitmap's edge
// pixels standing in for everything beyond them; rounded half up. Delete:
// the source pixel under the centre. And / Or: on an axis that reduces, the
// source pixels whose centres lie in the image, combined byte by byte;
// otherwise the pixel under the centre; a reduction of a positive source
// extent n > 1 to a destination extent of 1 leaves the last of them out.
Picture Stretch(const Picture& source, Picture dest, const Call& call, Mode mode);

}  // namespace stretch_reference

#endif

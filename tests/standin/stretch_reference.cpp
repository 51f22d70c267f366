#include "stretch_reference.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace stretch_reference {
namespace {

// The image of one destination pixel on a source axis: [lo, hi) / den.
struct Image {
    std::int64_t lo, hi, den;
};

Image ImageOfPixel(int d, int origin, int extent, int srcOrigin, int srcExtent) {
    const std::int64_t den = std::llabs(extent);
    const std::int64_t sign = extent > 0 ? 1 : -1;
    auto scaled = [&](std::int64_t t) {
        return std::int64_t{srcOrigin} * den + (t - origin) * srcExtent * sign;
    };
    const std::int64_t a = scaled(d), b = scaled(d + 1);
    return Image{std::min(a, b), std::max(a, b), den};
}

bool CentreInside(const Image& im, int limit) {
    return im.lo + im.hi >= 0 && im.lo + im.hi < 2 * limit * im.den;
}

int PixelUnderCentre(const Image& im) {
    return static_cast<int>((im.lo + im.hi) / (2 * im.den));
}

// Area the image shares with source pixel p, in units of 1/den; the first
// and last pixels reach out to infinity.
std::int64_t Coverage(const Image& im, int p, int limit) {
    constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() / 4;
    const std::int64_t cellLo = p == 0 ? -kFar : p * im.den;
    const std::int64_t cellHi = p == limit - 1 ? kFar : (p + 1) * im.den;
    return std::max<std::int64_t>(0, std::min(im.hi, cellHi) - std::max(im.lo, cellLo));
}

// The source pixels one axis contributes to a scan mode; `dropped` is a
// source pixel left out (-1: none).
std::vector<int> ScanPixels(const Image& im, int limit, bool reduces, bool combine, int dropped) {
    if (!(reduces && combine)) return {PixelUnderCentre(im)};
    std::vector<int> pixels;
    for (int p = 0; p < limit; ++p) {
        const std::int64_t twiceCentre = (2 * p + 1) * im.den;
        if (twiceCentre >= 2 * im.lo && twiceCentre < 2 * im.hi) pixels.push_back(p);
    }
    if (pixels.size() > 1 && pixels.back() == dropped) pixels.pop_back();
    return pixels;
}

// A reduction of a positive source extent to a destination extent of 1
// leaves out the last source pixel of the span.
int DroppedPixel(int destExtent, int srcOrigin, int srcExtent) {
    return std::abs(destExtent) == 1 && srcExtent > 1 ? srcOrigin + srcExtent - 1 : -1;
}

// A negative extent covers its origin pixel and those before it: between
// the edges origin + 1 + extent and origin + 1.
void CoverStartPixel(int* origin, int extent) {
    if (extent < 0) ++*origin;
}

std::uint8_t Channel(const Colour& c, int i) {
    switch (i) {
        case 0: return c.b;
        case 1: return c.g;
        case 2: return c.r;
        default: return c.x;
    }
}

void SetChannel(Colour* c, int i, std::uint8_t v) {
    switch (i) {
        case 0: c->b = v; break;
        case 1: c->g = v; break;
        case 2: c->r = v; break;
        default: c->x = v; break;
    }
}

Colour Average(const Picture& source, const Image& ix, const Image& iy) {
    std::vector<std::int64_t> wx(std::size_t(source.width)), wy(std::size_t(source.height));
    for (int p = 0; p < source.width; ++p) wx[std::size_t(p)] = Coverage(ix, p, source.width);
    for (int q = 0; q < source.height; ++q) wy[std::size_t(q)] = Coverage(iy, q, source.height);
    // Wide sums: footprints of 2^27 pixels weigh up to 2^62 together.
    using Wide = __int128;
    const Wide total = Wide{ix.hi - ix.lo} * (iy.hi - iy.lo);
    Colour out;
    for (int c = 0; c < 4; ++c) {
        Wide sum = 0;
        for (int q = 0; q < source.height; ++q) {
            if (wy[std::size_t(q)] == 0) continue;
            for (int p = 0; p < source.width; ++p)
                sum += Wide{wy[std::size_t(q)]} * wx[std::size_t(p)] * Channel(source.at(p, q), c);
        }
        SetChannel(&out, c, static_cast<std::uint8_t>((2 * sum + total) / (2 * total)));
    }
    return out;
}

Colour Combine(const Picture& source, const std::vector<int>& xs, const std::vector<int>& ys,
               bool useAnd) {
    Colour out = source.at(xs.front(), ys.front());
    for (int q : ys) {
        for (int p : xs) {
            const Colour& s = source.at(p, q);
            for (int c = 0; c < 4; ++c) {
                const std::uint8_t a = Channel(out, c), b = Channel(s, c);
                SetChannel(&out, c, static_cast<std::uint8_t>(useAnd ? (a & b) : (a | b)));
            }
        }
    }
    return out;
}

}  // namespace

Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Colour c;
    c.r = r;
    c.g = g;
    c.b = b;
    return c;
}

Picture Stretch(const Picture& source, Picture dest, const Call& asked, Mode mode) {
    Call call = asked;
    CoverStartPixel(&call.xDest, call.wDest);
    CoverStartPixel(&call.yDest, call.hDest);
    CoverStartPixel(&call.xSrc, call.wSrc);
    CoverStartPixel(&call.ySrc, call.hSrc);
    const int droppedX = DroppedPixel(call.wDest, call.xSrc, call.wSrc);
    const int droppedY = DroppedPixel(call.hDest, call.ySrc, call.hSrc);
    if (call.wDest == 0 || call.hDest == 0 || call.wSrc == 0 || call.hSrc == 0) return dest;
    const bool reducesX = std::abs(call.wSrc) > std::abs(call.wDest);
    const bool reducesY = std::abs(call.hSrc) > std::abs(call.hDest);
    const bool combine = mode == Mode::And || mode == Mode::Or;
    for (int y = 0; y < dest.height; ++y) {
        if (y < std::min(call.yDest, call.yDest + call.hDest) ||
            y >= std::max(call.yDest, call.yDest + call.hDest))
            continue;
        const Image iy = ImageOfPixel(y, call.yDest, call.hDest, call.ySrc, call.hSrc);
        if (!CentreInside(iy, source.height)) continue;
        for (int x = 0; x < dest.width; ++x) {
            if (x < std::min(call.xDest, call.xDest + call.wDest) ||
                x >= std::max(call.xDest, call.xDest + call.wDest))
                continue;
            const Image ix = ImageOfPixel(x, call.xDest, call.wDest, call.xSrc, call.wSrc);
            if (!CentreInside(ix, source.width)) continue;
            if (mode == Mode::Halftone) {
                dest.at(x, y) = Average(source, ix, iy);
            } else {
                dest.at(x, y) = Combine(source, ScanPixels(ix, source.width, reducesX, combine, droppedX),
                                        ScanPixels(iy, source.height, reducesY, combine, droppedY),
                                        mode != Mode::Or);
            }
        }
    }
    return dest;
}

}  // namespace stretch_reference

#include "pixels/default_palettes.h"

#include <utility>

namespace standin {
namespace {

constexpr RGBQUAD kVgaColors[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
};

// The 20 static colours of the default palette (blue, green, red): ten at
// the start of an 8-bit table and ten at its end.
constexpr int kStaticHalf = 10;
constexpr RGBQUAD kStaticFirst[kStaticHalf] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {240, 202, 166, 0},
};
constexpr RGBQUAD kStaticLast[kStaticHalf] = {
    {240, 251, 255, 0}, {164, 160, 160, 0}, {128, 128, 128, 0}, {0, 0, 255, 0},
    {0, 255, 0, 0},     {0, 255, 255, 0},   {255, 0, 0, 0},     {255, 0, 255, 0},
    {255, 255, 0, 0},   {255, 255, 255, 0},
};

constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;
// 256 entries less the statics and the cube: greys between the cube's.
constexpr int kGreyRamp = 256 - 2 * kStaticHalf - kCubeLevels * kCubeLevels * kCubeLevels;

}  // namespace

void DefaultLogicalPalette(RGBQUAD colors[kDefaultLogicalColors]) {
    constexpr RGBQUAD kExtra[4] = {{192, 220, 192, 0}, {240, 202, 166, 0}, {240, 251, 255, 0}, {164, 160, 160, 0}};
    for (int i = 0; i < 8; ++i) colors[i] = kVgaColors[i];
    for (int i = 0; i < 4; ++i) colors[8 + i] = kExtra[i];
    for (int i = 8; i < 16; ++i) colors[4 + i] = kVgaColors[i];
}

int DefaultPalette(int bitCount, RGBQUAD* colors) {
    if (bitCount == 1) {
        colors[0] = RGBQUAD{0, 0, 0, 0};
        colors[1] = RGBQUAD{255, 255, 255, 0};
        return 2;
    }
    if (bitCount == 4) {
        for (int i = 0; i < 16; ++i) colors[i] = kVgaColors[i];
        return 16;
    }
    int n = 0;
    for (const RGBQUAD& c : kStaticFirst) colors[n++] = c;
    for (int r = 0; r < kCubeLevels; ++r)
        for (int g = 0; g < kCubeLevels; ++g)
            for (int b = 0; b < kCubeLevels; ++b)
                colors[n++] = RGBQUAD{static_cast<BYTE>(b * kCubeStep), static_cast<BYTE>(g * kCubeStep),
                                      static_cast<BYTE>(r * kCubeStep), 0};
    for (int i = 0; i < kGreyRamp; ++i) {
        BYTE v = static_cast<BYTE>((i + 1) * 255 / (kGreyRamp + 1));
        colors[n++] = RGBQUAD{v, v, v, 0};
    }
    for (const RGBQUAD& c : kStaticLast) colors[n++] = c;
    return n;
}

int DeviceDependentPalette(int bitCount, RGBQUAD* colors) {
    if (bitCount == 1) return DefaultPalette(1, colors);
    if (bitCount == 4) {
        DefaultPalette(4, colors);
        std::swap(colors[7], colors[8]);
        return 16;
    }
    int n = 0;
    for (const RGBQUAD& c : kStaticFirst) colors[n++] = c;
    for (; n < kMaxColors - kStaticHalf; ++n)
        colors[n] = RGBQUAD{static_cast<BYTE>(n & 0xC0), static_cast<BYTE>((n & 0x38) << 2),
                            static_cast<BYTE>((n & 7) << 5), 0};
    for (const RGBQUAD& c : kStaticLast) colors[n++] = c;
    return n;
}

}  // namespace standin

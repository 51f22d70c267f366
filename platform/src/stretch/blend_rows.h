// The arithmetic of AlphaBlend, written once: the exact division by 255 and
// the three row kernels built on it. Every kernel works on four-byte pixels
// (blue, green, red, alpha: 32-bit BI_RGB rows and the row codec's working
// pixels alike) and treats all four bytes the same way, which is what the
// platform's formulas say for a destination with an alpha channel; for one
// without, the fourth byte is dropped when the row is packed.
//
// Rounding: every formula is evaluated exactly and rounded to the nearest
// integer, halves up. Each product is at most 255 * 255, for which
// DivideBy255 gives exactly that.
//
// The vector versions (SSE2, AVX2) give exactly the scalar bytes; they are
// chosen by the SIMD limit (standin/testing.h), which the tests lower to
// prove it.
#ifndef STANDIN_STRETCH_BLEND_ROWS_H
#define STANDIN_STRETCH_BLEND_ROWS_H

#include <cstddef>
#include <cstdint>

namespace standin {

// x / 255 rounded to nearest, halves up, for 0 <= x <= 255 * 255 + 255.
constexpr std::uint32_t DivideBy255(std::uint32_t x) {
    const std::uint32_t t = x + 0x80;
    return (t + (t >> 8)) >> 8;
}

// Constant alpha without per-pixel alpha:
//   dst = src * a / 255 + dst * (255 - a) / 255, one rounding per byte.
void BlendConstantRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels, std::uint8_t alpha);

// Per-pixel premultiplied alpha (AC_SRC_ALPHA), the source's own alpha in
// its fourth byte:  dst = src + dst * (255 - src.alpha) / 255, saturating at
// 255 for sources that are not really premultiplied.
void BlendPremultipliedRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);

// Every byte scaled by a constant alpha: out = in * a / 255. With
// BlendPremultipliedRow after it, this is the platform's rule for constant
// and per-pixel alpha together: the source, alpha included, is first
// multiplied by the constant alpha.
void ScaleRow(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes, std::uint8_t alpha);

}  // namespace standin

#endif

// Ternary raster operations on pixel values.
//
// A raster operation's code is an 8-bit truth table: for pattern, source and
// destination bits p, s and d, the result bit is bit (p << 2 | s << 1 | d)
// of the code. SRCCOPY is 0xCC, PATCOPY 0xF0, DSTINVERT 0x55. Every bit of
// a pixel value is combined on its own.
#ifndef STANDIN_RASTER_OP_H
#define STANDIN_RASTER_OP_H

#include <cstddef>
#include <cstdint>

namespace standin {

constexpr std::uint8_t kSourceCopy = 0xCC;

// The operation a raster-operation DWORD names: its bits 16 to 23.
constexpr std::uint8_t RasterOpCode(std::uint32_t rop) {
    return static_cast<std::uint8_t>(rop >> 16);
}

// Whether the result depends on each operand.
constexpr bool UsesPattern(std::uint8_t code) { return ((code >> 4) ^ code) & 0x0F; }
constexpr bool UsesSource(std::uint8_t code) { return ((code >> 2) ^ code) & 0x33; }
constexpr bool UsesDestination(std::uint8_t code) { return ((code >> 1) ^ code) & 0x55; }

// dest[i] = code(pattern[i], source[i], dest[i]) for `count` elements:
// pixel values, or the bytes of rows whose pixels are whole bytes (the
// operation being bitwise, both give the same bits). `pattern` and `source`
// may be null when the operation does not use them.
void ApplyRasterOp(std::uint8_t code, const std::uint32_t* pattern, const std::uint32_t* source,
                   std::uint32_t* dest, std::size_t count);
void ApplyRasterOp(std::uint8_t code, const std::uint8_t* pattern, const std::uint8_t* source,
                   std::uint8_t* dest, std::size_t count);

// How ApplyRasterOp evaluates `code` on this processor: by a loop of its
// own or by the two bitwise choices every operation has, and whether in the
// build for AVX2 or the baseline one.
struct RasterOpKernel {
    bool ownLoop;
    bool avx2;
};
RasterOpKernel ChooseRasterOpKernel(std::uint8_t code);

// The route's name for a blit that applies `code` to whole rows' bytes: the
// source onto the destination, or the brush alone.
enum class RasterOpRows { SourceOnDestination, BrushFill };
const char* RasterOpRouteName(std::uint8_t code, RasterOpRows rows);

}  // namespace standin

#endif

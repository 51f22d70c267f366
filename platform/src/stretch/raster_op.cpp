// The common operations take a loop of their own; the rest are evaluated as
// the OR of the code's minterms, all bits of a pixel at once. Both forms are
// plain loops over arrays that the compiler vectorises.
#include "stretch/raster_op.h"

namespace standin {
namespace {

// Stands in for the source of operations that do not read one.
struct NoSource {
    std::uint32_t operator[](std::size_t) const { return 0; }
};

template <class Source, class Op>
void Combine(std::uint32_t p, const Source& s, std::uint32_t* d, std::size_t count, Op op) {
    for (std::size_t i = 0; i < count; ++i) d[i] = op(p, s[i], d[i]);
}

// Each of the eight minterms contributes where its truth-table bit is set.
struct Minterms {
    explicit Minterms(std::uint8_t code) {
        for (int k = 0; k < 8; ++k) select[k] = (code >> k) & 1 ? ~0u : 0u;
    }
    std::uint32_t operator()(std::uint32_t p, std::uint32_t s, std::uint32_t d) const {
        const std::uint32_t np = ~p, ns = ~s, nd = ~d;
        return (select[0] & np & ns & nd) | (select[1] & np & ns & d) | (select[2] & np & s & nd) |
               (select[3] & np & s & d) | (select[4] & p & ns & nd) | (select[5] & p & ns & d) |
               (select[6] & p & s & nd) | (select[7] & p & s & d);
    }
    std::uint32_t select[8];
};

template <class Source>
void Apply(std::uint8_t code, std::uint32_t p, const Source& s, std::uint32_t* d, std::size_t n) {
    using U = std::uint32_t;
    switch (code) {
        case 0x00: return Combine(p, s, d, n, [](U, U, U) { return U{0}; });             // BLACKNESS
        case 0xFF: return Combine(p, s, d, n, [](U, U, U) { return ~U{0}; });            // WHITENESS
        case 0xCC: return Combine(p, s, d, n, [](U, U s1, U) { return s1; });             // SRCCOPY
        case 0x88: return Combine(p, s, d, n, [](U, U s1, U d1) { return s1 & d1; });     // SRCAND
        case 0xEE: return Combine(p, s, d, n, [](U, U s1, U d1) { return s1 | d1; });     // SRCPAINT
        case 0x66: return Combine(p, s, d, n, [](U, U s1, U d1) { return s1 ^ d1; });     // SRCINVERT
        case 0x44: return Combine(p, s, d, n, [](U, U s1, U d1) { return s1 & ~d1; });    // SRCERASE
        case 0x33: return Combine(p, s, d, n, [](U, U s1, U) { return ~s1; });            // NOTSRCCOPY
        case 0x11: return Combine(p, s, d, n, [](U, U s1, U d1) { return ~(s1 | d1); });  // NOTSRCERASE
        case 0xC0: return Combine(p, s, d, n, [](U p1, U s1, U) { return p1 & s1; });     // MERGECOPY
        case 0xBB: return Combine(p, s, d, n, [](U, U s1, U d1) { return ~s1 | d1; });   // MERGEPAINT
        case 0xF0: return Combine(p, s, d, n, [](U p1, U, U) { return p1; });             // PATCOPY
        case 0xFB: return Combine(p, s, d, n, [](U p1, U s1, U d1) { return p1 | ~s1 | d1; });  // PATPAINT
        case 0x5A: return Combine(p, s, d, n, [](U p1, U, U d1) { return p1 ^ d1; });    // PATINVERT
        case 0x55: return Combine(p, s, d, n, [](U, U, U d1) { return ~d1; });            // DSTINVERT
        default: return Combine(p, s, d, n, Minterms(code));
    }
}

}  // namespace

void ApplyRasterOp(std::uint8_t code, std::uint32_t pattern, const std::uint32_t* source,
                   std::uint32_t* dest, std::size_t count) {
    if (source == nullptr) return Apply(code, pattern, NoSource{}, dest, count);
    Apply(code, pattern, source, dest, count);
}

}  // namespace standin

// The common operations take a loop of their own; the rest are evaluated as
// the OR of the code's minterms, all bits of an element at once. Both forms
// are plain loops over arrays that the compiler vectorises.
#include "stretch/raster_op.h"

namespace standin {
namespace {

// Stands in for an operand the operation does not read.
template <class T>
struct Absent {
    T operator[](std::size_t) const { return 0; }
};

template <class T, class P, class S, class Op>
void Combine(const P& p, const S& s, T* d, std::size_t count, Op op) {
    for (std::size_t i = 0; i < count; ++i) d[i] = static_cast<T>(op(p[i], s[i], d[i]));
}

// Each of the eight minterms contributes where its truth-table bit is set.
template <class T>
struct Minterms {
    explicit Minterms(std::uint8_t code) {
        for (int k = 0; k < 8; ++k) select[k] = (code >> k) & 1 ? T(~T{0}) : T{0};
    }
    T operator()(T p, T s, T d) const {
        const T np = T(~p), ns = T(~s), nd = T(~d);
        return T((select[0] & np & ns & nd) | (select[1] & np & ns & d) | (select[2] & np & s & nd) |
                 (select[3] & np & s & d) | (select[4] & p & ns & nd) | (select[5] & p & ns & d) |
                 (select[6] & p & s & nd) | (select[7] & p & s & d));
    }
    T select[8];
};

template <class T, class P, class S>
void Apply(std::uint8_t code, const P& p, const S& s, T* d, std::size_t n) {
    using U = T;
    switch (code) {
        case 0x00: return Combine(p, s, d, n, [](U, U, U) { return U{0}; });              // BLACKNESS
        case 0xFF: return Combine(p, s, d, n, [](U, U, U) { return U(~U{0}); });          // WHITENESS
        case 0xCC: return Combine(p, s, d, n, [](U, U s1, U) { return s1; });              // SRCCOPY
        case 0x88: return Combine(p, s, d, n, [](U, U s1, U d1) { return U(s1 & d1); });   // SRCAND
        case 0xEE: return Combine(p, s, d, n, [](U, U s1, U d1) { return U(s1 | d1); });   // SRCPAINT
        case 0x66: return Combine(p, s, d, n, [](U, U s1, U d1) { return U(s1 ^ d1); });   // SRCINVERT
        case 0x44: return Combine(p, s, d, n, [](U, U s1, U d1) { return U(s1 & ~d1); });  // SRCERASE
        case 0x33: return Combine(p, s, d, n, [](U, U s1, U) { return U(~s1); });          // NOTSRCCOPY
        case 0x11: return Combine(p, s, d, n, [](U, U s1, U d1) { return U(~(s1 | d1)); });  // NOTSRCERASE
        case 0xC0: return Combine(p, s, d, n, [](U p1, U s1, U) { return U(p1 & s1); });   // MERGECOPY
        case 0xBB: return Combine(p, s, d, n, [](U, U s1, U d1) { return U(~s1 | d1); });  // MERGEPAINT
        case 0xF0: return Combine(p, s, d, n, [](U p1, U, U) { return p1; });              // PATCOPY
        case 0xFB: return Combine(p, s, d, n, [](U p1, U s1, U d1) { return U(p1 | ~s1 | d1); });  // PATPAINT
        case 0x5A: return Combine(p, s, d, n, [](U p1, U, U d1) { return U(p1 ^ d1); });   // PATINVERT
        case 0x55: return Combine(p, s, d, n, [](U, U, U d1) { return U(~d1); });          // DSTINVERT
        default: return Combine(p, s, d, n, Minterms<T>(code));
    }
}

template <class T>
void Dispatch(std::uint8_t code, const T* pattern, const T* source, T* dest, std::size_t count) {
    if (pattern == nullptr && source == nullptr) return Apply(code, Absent<T>{}, Absent<T>{}, dest, count);
    if (pattern == nullptr) return Apply(code, Absent<T>{}, source, dest, count);
    if (source == nullptr) return Apply(code, pattern, Absent<T>{}, dest, count);
    Apply(code, pattern, source, dest, count);
}

}  // namespace

void ApplyRasterOp(std::uint8_t code, const std::uint32_t* pattern, const std::uint32_t* source,
                   std::uint32_t* dest, std::size_t count) {
    Dispatch(code, pattern, source, dest, count);
}

void ApplyRasterOp(std::uint8_t code, const std::uint8_t* pattern, const std::uint8_t* source,
                   std::uint8_t* dest, std::size_t count) {
    Dispatch(code, pattern, source, dest, count);
}

std::vector<std::uint8_t> RepeatedPixelBytes(std::uint32_t value, int pixelBytes, std::size_t pixels) {
    std::vector<std::uint8_t> bytes(pixels * static_cast<std::size_t>(pixelBytes));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * (i % static_cast<std::size_t>(pixelBytes))));
    return bytes;
}

}  // namespace standin

// The common operations take a loop of their own; the rest are evaluated by
// two bitwise choices (Choices below), all bits of an element at once. Both
// forms are plain loops over arrays that the compiler vectorises.
#include "stretch/raster_op.h"

#include "support/blit_routes.h"
#include "support/simd_support.h"

namespace standin {
namespace {

// Stands in for an operand the operation does not read.
template <class T>
struct Absent {
    T operator[](std::size_t) const { return 0; }
};

// Inlined into each caller, so that the loops are vectorised for the
// instruction set the caller is compiled for.
#if defined(__GNUC__) || defined(__clang__)
#define STANDIN_INLINE_LOOP __attribute__((always_inline)) inline
#else
#define STANDIN_INLINE_LOOP inline
#endif

template <class T, class P, class S, class Op>
STANDIN_INLINE_LOOP void Combine(const P& p, const S& s, T* d, std::size_t count, Op op) {
    for (std::size_t i = 0; i < count; ++i) d[i] = static_cast<T>(op(p[i], s[i], d[i]));
}

// Any other operation as two choices: the pattern bit picks one of two
// functions of the source and destination bits, and the source bit picks
// one of two functions of the destination bit, each of which is the
// destination bit kept, inverted or replaced by a constant. Seventeen
// bitwise operations an element, whatever the code.
template <class T>
struct Choices {
    explicit Choices(std::uint8_t code) {
        for (int ps = 0; ps < 4; ++ps) {
            const bool whenClear = (code >> (2 * ps)) & 1, whenSet = (code >> (2 * ps + 1)) & 1;
            base[ps] = whenClear ? T(~T{0}) : T{0};
            flip[ps] = whenClear != whenSet ? T(~T{0}) : T{0};
        }
    }
    T operator()(T p, T s, T d) const {
        const T h0 = T(base[0] ^ (d & flip[0])), h1 = T(base[1] ^ (d & flip[1]));
        const T h2 = T(base[2] ^ (d & flip[2])), h3 = T(base[3] ^ (d & flip[3]));
        const T g0 = T(h0 ^ (s & (h0 ^ h1))), g1 = T(h2 ^ (s & (h2 ^ h3)));
        return T(g0 ^ (p & (g0 ^ g1)));
    }
    // Indexed by p << 1 | s: the result where d is 0, and where d flips it.
    T base[4], flip[4];
};

// The operations with a loop of their own (Apply's cases).
constexpr bool HasOwnLoop(std::uint8_t code) {
    switch (code) {
        case 0x00: case 0xFF: case 0xCC: case 0x88: case 0xEE: case 0x66: case 0x44: case 0x33:
        case 0x11: case 0xC0: case 0xBB: case 0xF0: case 0xFB: case 0x5A: case 0x55:
            return true;
        default:
            return false;
    }
}

template <class T, class P, class S>
STANDIN_INLINE_LOOP void Apply(std::uint8_t code, const P& p, const S& s, T* d, std::size_t n) {
    using U = T;
    if (!DedicatedRoutesAllowed()) return Combine(p, s, d, n, Choices<T>(code));
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
        default: return Combine(p, s, d, n, Choices<T>(code));
    }
}

template <class T>
STANDIN_INLINE_LOOP void Dispatch(std::uint8_t code, const T* pattern, const T* source, T* dest,
                                  std::size_t count) {
    if (pattern == nullptr && source == nullptr) return Apply(code, Absent<T>{}, Absent<T>{}, dest, count);
    if (pattern == nullptr) return Apply(code, Absent<T>{}, source, dest, count);
    if (source == nullptr) return Apply(code, pattern, Absent<T>{}, dest, count);
    Apply(code, pattern, source, dest, count);
}

#ifdef STANDIN_HAVE_SSSE3
// The same loops over twice as many bytes a step.
template <class T>
STANDIN_AVX2 void DispatchWide(std::uint8_t code, const T* pattern, const T* source, T* dest,
                               std::size_t count) {
    Dispatch(code, pattern, source, dest, count);
}
#endif

template <class T>
void DispatchBest(std::uint8_t code, const T* pattern, const T* source, T* dest, std::size_t count) {
#ifdef STANDIN_HAVE_SSSE3
    if (HasAvx2()) return DispatchWide(code, pattern, source, dest, count);
#endif
    Dispatch(code, pattern, source, dest, count);
}

}  // namespace

RasterOpKernel ChooseRasterOpKernel(std::uint8_t code) {
    RasterOpKernel kernel{HasOwnLoop(code) && DedicatedRoutesAllowed(), false};
#ifdef STANDIN_HAVE_SSSE3
    kernel.avx2 = HasAvx2();
#endif
    return kernel;
}

const char* RasterOpRouteName(std::uint8_t code, RasterOpRows rows) {
    // [rows][own loop][AVX2]
    static const char* const kNames[2][2][2] = {
        {{"raster op on row bytes: two choices", "raster op on row bytes: two choices, AVX2"},
         {"raster op on row bytes: own loop", "raster op on row bytes: own loop, AVX2"}},
        {{"brush fill on row bytes: two choices", "brush fill on row bytes: two choices, AVX2"},
         {"brush fill on row bytes: own loop", "brush fill on row bytes: own loop, AVX2"}},
    };
    const RasterOpKernel kernel = ChooseRasterOpKernel(code);
    return kNames[rows == RasterOpRows::BrushFill][kernel.ownLoop][kernel.avx2];
}

void ApplyRasterOp(std::uint8_t code, const std::uint32_t* pattern, const std::uint32_t* source,
                   std::uint32_t* dest, std::size_t count) {
    DispatchBest(code, pattern, source, dest, count);
}

void ApplyRasterOp(std::uint8_t code, const std::uint8_t* pattern, const std::uint8_t* source,
                   std::uint8_t* dest, std::size_t count) {
    DispatchBest(code, pattern, source, dest, count);
}

}  // namespace standin

// Routines that have an SSSE3 version beside their portable one compile it
// on x86-64 with GCC or Clang, marked STANDIN_SSSE3, and call it only when
// HasSsse3() says the processor runs it. Elsewhere STANDIN_HAVE_SSSE3 is
// not defined and only the portable versions exist.
#ifndef STANDIN_SIMD_SUPPORT_H
#define STANDIN_SIMD_SUPPORT_H

#include <standin/testing.h>

namespace standin {

// The limit LimitSimd set (SimdLimit::All unless a test lowered it).
SimdLimit CurrentSimdLimit();

}  // namespace standin

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define STANDIN_HAVE_SSSE3 1
#define STANDIN_SSSE3 __attribute__((target("ssse3")))
#define STANDIN_AVX2 __attribute__((target("avx2")))
#define STANDIN_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vbmi,avx512vnni")))

#include <immintrin.h>

namespace standin {

inline bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has && CurrentSimdLimit() != SimdLimit::Portable;
}

// AVX2 versions sit beside the SSSE3 ones, under the same macro.
inline bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has && CurrentSimdLimit() >= SimdLimit::Avx2;
}

// AVX-512 with byte permutes (VBMI) and dot products (VNNI), under the
// same macro too.
inline bool HasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
                            __builtin_cpu_supports("avx512vnni");
    return has && CurrentSimdLimit() == SimdLimit::All;
}

}  // namespace standin
#endif

#endif

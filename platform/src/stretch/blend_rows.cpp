#include "stretch/blend_rows.h"

#include "support/simd_support.h"

namespace standin {
namespace {

constexpr int kPixelBytes = 4;

void ConstantScalar(const std::uint8_t* src, std::uint8_t* dst, std::size_t bytes, std::uint32_t alpha) {
    const std::uint32_t keep = 255 - alpha;
    for (std::size_t i = 0; i < bytes; ++i)
        dst[i] = static_cast<std::uint8_t>(DivideBy255(src[i] * alpha + dst[i] * keep));
}

void PremultipliedScalar(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    for (std::size_t p = 0; p < pixels; ++p, src += kPixelBytes, dst += kPixelBytes) {
        const std::uint32_t keep = 255 - src[3];
        for (int c = 0; c < kPixelBytes; ++c) {
            const std::uint32_t v = src[c] + DivideBy255(dst[c] * keep);
            dst[c] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
        }
    }
}

void ScaleScalar(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes, std::uint32_t alpha) {
    for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(DivideBy255(in[i] * alpha));
}

#if defined(STANDIN_HAVE_SSSE3)
// SSE2 is part of x86-64, so these need no target attribute; they still
// answer to the SIMD limit so that the tests can compare them with the
// portable loops. Each works on 16-bit lanes: products below 2^16, then
// DivideBy255 as (t * 257) >> 16 with t = x + 0x80, which is the same
// integer as (t + (t >> 8)) >> 8 for every t below 2^16.
bool UseSse2() { return CurrentSimdLimit() != SimdLimit::Portable; }

inline __m128i Divide255x8(__m128i x) {
    const __m128i t = _mm_add_epi16(x, _mm_set1_epi16(0x80));
    return _mm_mulhi_epu16(t, _mm_set1_epi16(257));
}

// Each pixel's fourth word copied to all four of its words.
inline __m128i SpreadAlpha(__m128i words) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(words, 0xFF), 0xFF);
}

std::size_t ConstantSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t bytes, std::uint32_t alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i keep = _mm_set1_epi16(static_cast<short>(255 - alpha));
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), a),
                                         _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), keep));
        const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), a),
                                         _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), keep));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(Divide255x8(lo), Divide255x8(hi)));
    }
    return i;
}

std::size_t PremultipliedSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t bytes) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i keepLo = _mm_sub_epi16(full, SpreadAlpha(_mm_unpacklo_epi8(s, zero)));
        const __m128i keepHi = _mm_sub_epi16(full, SpreadAlpha(_mm_unpackhi_epi8(s, zero)));
        const __m128i lo = Divide255x8(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), keepLo));
        const __m128i hi = Divide255x8(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), keepHi));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_adds_epu8(_mm_packus_epi16(lo, hi), s));
    }
    return i;
}

std::size_t ScaleSse2(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes, std::uint32_t alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = _mm_set1_epi16(static_cast<short>(alpha));
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i lo = Divide255x8(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), a));
        const __m128i hi = Divide255x8(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), a));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
    return i;
}

// The same steps, 32 bytes at a time. Unpacking and packing both work
// within each 128-bit half, so the bytes come back in their places.
STANDIN_AVX2 inline __m256i Divide255x16(__m256i x) {
    const __m256i t = _mm256_add_epi16(x, _mm256_set1_epi16(0x80));
    return _mm256_mulhi_epu16(t, _mm256_set1_epi16(257));
}

STANDIN_AVX2 inline __m256i SpreadAlpha256(__m256i words) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(words, 0xFF), 0xFF);
}

STANDIN_AVX2 std::size_t ConstantAvx2(const std::uint8_t* src, std::uint8_t* dst, std::size_t bytes,
                                      std::uint32_t alpha) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i a = _mm256_set1_epi16(static_cast<short>(alpha));
    const __m256i keep = _mm256_set1_epi16(static_cast<short>(255 - alpha));
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        const __m256i lo = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), a),
                                            _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), keep));
        const __m256i hi = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), a),
                                            _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), keep));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_packus_epi16(Divide255x16(lo), Divide255x16(hi)));
    }
    return i;
}

STANDIN_AVX2 std::size_t PremultipliedAvx2(const std::uint8_t* src, std::uint8_t* dst, std::size_t bytes) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i full = _mm256_set1_epi16(255);
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
        const __m256i keepLo = _mm256_sub_epi16(full, SpreadAlpha256(_mm256_unpacklo_epi8(s, zero)));
        const __m256i keepHi = _mm256_sub_epi16(full, SpreadAlpha256(_mm256_unpackhi_epi8(s, zero)));
        const __m256i lo = Divide255x16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), keepLo));
        const __m256i hi = Divide255x16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), keepHi));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_adds_epu8(_mm256_packus_epi16(lo, hi), s));
    }
    return i;
}

STANDIN_AVX2 std::size_t ScaleAvx2(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes,
                                   std::uint32_t alpha) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i a = _mm256_set1_epi16(static_cast<short>(alpha));
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i lo = Divide255x16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(v, zero), a));
        const __m256i hi = Divide255x16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(v, zero), a));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}
#endif

}  // namespace

void BlendConstantRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels, std::uint8_t alpha) {
    const std::size_t bytes = pixels * kPixelBytes;
    std::size_t done = 0;
#if defined(STANDIN_HAVE_SSSE3)
    if (HasAvx2()) done = ConstantAvx2(src, dst, bytes, alpha);
    if (UseSse2()) done += ConstantSse2(src + done, dst + done, bytes - done, alpha);
#endif
    ConstantScalar(src + done, dst + done, bytes - done, alpha);
}

void BlendPremultipliedRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    const std::size_t bytes = pixels * kPixelBytes;
    std::size_t done = 0;
#if defined(STANDIN_HAVE_SSSE3)
    if (HasAvx2()) done = PremultipliedAvx2(src, dst, bytes);
    if (UseSse2()) done += PremultipliedSse2(src + done, dst + done, bytes - done);
#endif
    PremultipliedScalar(src + done, dst + done, (bytes - done) / kPixelBytes);
}

void ScaleRow(const std::uint8_t* in, std::uint8_t* out, std::size_t bytes, std::uint8_t alpha) {
    std::size_t done = 0;
#if defined(STANDIN_HAVE_SSSE3)
    if (HasAvx2()) done = ScaleAvx2(in, out, bytes, alpha);
    if (UseSse2()) done += ScaleSse2(in + done, out + done, bytes - done, alpha);
#endif
    ScaleScalar(in + done, out + done, bytes - done, alpha);
}

}  // namespace standin

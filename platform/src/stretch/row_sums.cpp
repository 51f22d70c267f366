#include "stretch/row_sums.h"

#include "support/simd_support.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace standin {
namespace {

template <class Sum>
void AddRowPairScalar(const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b,
                      std::uint32_t wb, std::size_t from, std::size_t n, bool assign, Sum* sums) {
    for (std::size_t i = from; i < n; ++i) {
        Sum value = static_cast<Sum>(wa) * a[i] + static_cast<Sum>(wb) * b[i];
        sums[i] = assign ? value : sums[i] + value;
    }
}

#if defined(__SSE2__)
// Sixteen channels a step: the bytes of both rows are interleaved into
// 16-bit pairs (a, b) and multiplied by (wa, wb) with one multiply-add.
std::size_t AddRowPairSse2(const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b,
                           std::uint32_t wb, std::size_t n, bool assign, std::uint32_t* sums) {
    constexpr std::size_t kStep = 16;
    const __m128i weights = _mm_set1_epi32(static_cast<int>(wa | (wb << 16)));
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + kStep <= n; i += kStep) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i low = _mm_unpacklo_epi8(va, vb);
        const __m128i high = _mm_unpackhi_epi8(va, vb);
        __m128i part[4] = {
            _mm_madd_epi16(_mm_unpacklo_epi8(low, zero), weights),
            _mm_madd_epi16(_mm_unpackhi_epi8(low, zero), weights),
            _mm_madd_epi16(_mm_unpacklo_epi8(high, zero), weights),
            _mm_madd_epi16(_mm_unpackhi_epi8(high, zero), weights),
        };
        __m128i* out = reinterpret_cast<__m128i*>(sums + i);
        for (int k = 0; k < 4; ++k) {
            if (!assign) part[k] = _mm_add_epi32(part[k], _mm_loadu_si128(out + k));
            _mm_storeu_si128(out + k, part[k]);
        }
    }
    return i;
}
#endif

#ifdef STANDIN_HAVE_SSSE3
// How far ahead of the sums the four-row pass asks for its rows' bytes.
constexpr std::size_t kPrefetchAhead = 2048;

// The same with AVX2, sixteen channels a step: the interleaved pairs are
// widened to 16 bits in order, so one multiply-add gives eight sums in order.
STANDIN_AVX2 __m256i WeightedPairs(__m128i pairs, __m256i weights) {
    return _mm256_madd_epi16(_mm256_cvtepu8_epi16(pairs), weights);
}

STANDIN_AVX2 std::size_t AddRowPairAvx2(const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b,
                                        std::uint32_t wb, std::size_t n, bool assign, std::uint32_t* sums) {
    constexpr std::size_t kStep = 16;
    const __m256i weights = _mm256_set1_epi32(static_cast<int>(wa | (wb << 16)));
    std::size_t i = 0;
    for (; i + kStep <= n; i += kStep) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m256i low = WeightedPairs(_mm_unpacklo_epi8(va, vb), weights);
        __m256i high = WeightedPairs(_mm_unpackhi_epi8(va, vb), weights);
        __m256i* out = reinterpret_cast<__m256i*>(sums + i);
        if (!assign) {
            low = _mm256_add_epi32(low, _mm256_loadu_si256(out));
            high = _mm256_add_epi32(high, _mm256_loadu_si256(out + 1));
        }
        _mm256_storeu_si256(out, low);
        _mm256_storeu_si256(out + 1, high);
    }
    return i;
}

// Sums of 32 channels of two row pairs, every 128-bit lane of the loads
// handled on its own: unpacking a pair's bytes and widening them to 16 bits
// stay within lanes, so sums[i + 4k .. i + 4k + 3] come out in lane 0 of
// part[k] and sums[i + 16 + 4k ..] in lane 1.
STANDIN_AVX2 void StoreQuadStep32(const std::uint8_t* const rows[4], std::size_t i, __m256i first,
                                  __m256i second, std::uint32_t* sums) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[0] + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[1] + i));
    const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[2] + i));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[3] + i));
    const __m256i ab[2] = {_mm256_unpacklo_epi8(a, b), _mm256_unpackhi_epi8(a, b)};
    const __m256i cd[2] = {_mm256_unpacklo_epi8(c, d), _mm256_unpackhi_epi8(c, d)};
    for (int h = 0; h < 2; ++h) {
        const __m256i low = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi8(ab[h], zero), first),
                                             _mm256_madd_epi16(_mm256_unpacklo_epi8(cd[h], zero), second));
        const __m256i high = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi8(ab[h], zero), first),
                                              _mm256_madd_epi16(_mm256_unpackhi_epi8(cd[h], zero), second));
        std::uint32_t* out = sums + i + 8 * h;
        _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(out + 16), reinterpret_cast<__m128i*>(out), low);
        _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(out + 20), reinterpret_cast<__m128i*>(out + 4), high);
    }
}

// Four rows in one pass, their sums stored without reading the old ones.
STANDIN_AVX2 void AddRowQuadAvx2(const std::uint8_t* const rows[4], const std::uint32_t weights[4],
                                 std::size_t n, std::uint32_t* sums) {
    constexpr std::size_t kWideStep = 32;
    constexpr std::size_t kStep = 16;
    const __m256i first = _mm256_set1_epi32(static_cast<int>(weights[0] | (weights[1] << 16)));
    const __m256i second = _mm256_set1_epi32(static_cast<int>(weights[2] | (weights[3] << 16)));
    const std::uint8_t* const local[4] = {rows[0], rows[1], rows[2], rows[3]};
    std::size_t i = 0;
    for (; i + kWideStep <= n; i += kWideStep) {
        // The rows usually come from memory, not the caches: ask for them ahead.
        for (const std::uint8_t* row : local)
            _mm_prefetch(reinterpret_cast<const char*>(row + i + kPrefetchAhead), _MM_HINT_T0);
        StoreQuadStep32(local, i, first, second, sums);
    }
    for (; i + kStep <= n; i += kStep) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[0] + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[1] + i));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2] + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[3] + i));
        __m256i* out = reinterpret_cast<__m256i*>(sums + i);
        _mm256_storeu_si256(out, _mm256_add_epi32(WeightedPairs(_mm_unpacklo_epi8(a, b), first),
                                                  WeightedPairs(_mm_unpacklo_epi8(c, d), second)));
        _mm256_storeu_si256(out + 1, _mm256_add_epi32(WeightedPairs(_mm_unpackhi_epi8(a, b), first),
                                                      WeightedPairs(_mm_unpackhi_epi8(c, d), second)));
    }
    for (; i < n; ++i)
        sums[i] = weights[0] * rows[0][i] + weights[1] * rows[1][i] + weights[2] * rows[2][i] +
                  weights[3] * rows[3][i];
}
#endif

}  // namespace

bool AssignRowQuad(const std::uint8_t* const rows[4], const std::uint32_t weights[4], std::size_t n,
                   std::uint32_t* sums) {
#ifdef STANDIN_HAVE_SSSE3
    for (int k = 0; k < 4; ++k)
        if (weights[k] > kMaxPairedWeight) return false;
    if (!HasAvx2()) return false;
    AddRowQuadAvx2(rows, weights, n, sums);
    return true;
#else
    (void)rows, (void)weights, (void)n, (void)sums;
    return false;
#endif
}

void AddRowPair(const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b, std::uint32_t wb,
                std::size_t n, bool assign, std::uint32_t* sums) {
    std::size_t done = 0;
    if (wa <= kMaxPairedWeight && wb <= kMaxPairedWeight) {
#ifdef STANDIN_HAVE_SSSE3
        if (HasAvx2()) done = AddRowPairAvx2(a, wa, b, wb, n, assign, sums);
#endif
#if defined(__SSE2__)
        if (done == 0 && CurrentSimdLimit() != SimdLimit::Portable)
            done = AddRowPairSse2(a, wa, b, wb, n, assign, sums);
#endif
    }
    AddRowPairScalar(a, wa, b, wb, done, n, assign, sums);
}

void AddRowPair(const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b, std::uint32_t wb,
                std::size_t n, bool assign, std::uint64_t* sums) {
    AddRowPairScalar(a, wa, b, wb, 0, n, assign, sums);
}

}  // namespace standin

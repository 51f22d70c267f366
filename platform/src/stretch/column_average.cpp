#include "stretch/column_average.h"

#include "support/simd_support.h"

#include <algorithm>
#include <cstring>

namespace standin {
namespace {

constexpr std::uint64_t kMaxLevel = 255;
// Runs of up to this many source columns get a loop unrolled for them.
constexpr int kMaxUnrolledTaps = 5;
// 32-bit totals are used while every numerator plus the divisor stays below
// 2^31, which also lets the divider work in 64 bits.
constexpr std::uint64_t kNarrowTotalLimit = std::uint64_t{1} << 31;
// Lanes of one vector of pair weights: two pixels' four channels.
constexpr std::size_t kPairLanes = 8;

struct Taps {
    std::size_t count;
    const std::uint32_t* start;
    const std::uint32_t* weights;
    ReadAhead ahead;
};

template <class Total>
std::uint8_t Divide(const RoundingDivider& divide, Total total) {
    if constexpr (sizeof(Total) == sizeof(std::uint32_t)) {
        return static_cast<std::uint8_t>(divide.Narrow(total));
    } else {
        return static_cast<std::uint8_t>(divide(total));
    }
}

// K: taps known at compile time; 0 means `taps` at run time.
template <int N, int K, class Sum, class Total>
void AverageTaps(const Taps& t, int taps, const Sum* sums, const RoundingDivider& divide,
                 std::uint8_t* out) {
    const int k = K != 0 ? K : taps;
    const std::uint32_t* weights = t.weights;
    for (std::size_t i = 0; i < t.count; ++i, out += N, weights += k) {
        const Sum* column = sums + t.start[i];
        Total total[N] = {};
        for (int tap = 0; tap < k; ++tap, column += N)
            for (int c = 0; c < N; ++c) total[c] += static_cast<Total>(weights[tap]) * column[c];
        for (int c = 0; c < N; ++c) out[c] = Divide(divide, total[c]);
    }
}

template <int N, int K = 1>
void AverageNarrow(const Taps& t, int taps, const std::uint32_t* sums,
                   const RoundingDivider& divide, std::uint8_t* out) {
    if constexpr (K <= kMaxUnrolledTaps) {
        if (taps == K) return AverageTaps<N, K, std::uint32_t, std::uint32_t>(t, taps, sums, divide, out);
        return AverageNarrow<N, K + 1>(t, taps, sums, divide, out);
    } else {
        AverageTaps<N, 0, std::uint32_t, std::uint32_t>(t, taps, sums, divide, out);
    }
}

#ifdef STANDIN_HAVE_SSSE3
constexpr std::size_t kCacheLine = 64;
constexpr std::size_t kLinesAheadPerStep = 2;

// Narrow totals with AVX2, four destination pixels a step, one in each
// 128-bit lane of two vectors: a pixel's channels (three or four, plus one
// unused lane at three) are summed over the taps with 32-bit multiplies, then
// divided as RoundingDivider::Narrow does, in 64-bit products of the even and
// the odd lanes. Only for dividers whose multiplier fits 32 bits. Reads one
// sum past a 3-byte pixel's channels, which the sums' tail covers; writes 16
// bytes a step, so at three bytes a pixel the step stops two pixels short of
// the row's end, whose writes come later.
bool FitsVectorDivide(const RoundingDivider& divide) {
    return divide.narrow() && divide.multiplier() <= UINT32_MAX && divide.half() <= INT32_MAX;
}

// The divider's parts as vectors, loaded once per row, with the single
// shift that replaces the multiply when there is one (ShiftOnly).
struct VectorDivide {
    __m256i half;
    __m256i multiplier;
    __m128i shift;
    bool byShiftOnly;
    __m128i shiftOnly;
};

STANDIN_AVX2 VectorDivide MakeVectorDivide(const RoundingDivider& divide) {
    const int shiftOnly = divide.ShiftOnly();
    return {_mm256_set1_epi32(static_cast<int>(divide.half())),
            _mm256_set1_epi64x(static_cast<long long>(divide.multiplier())), _mm_cvtsi32_si128(divide.shift()),
            shiftOnly >= 0, _mm_cvtsi32_si128(shiftOnly >= 0 ? shiftOnly : 0)};
}

// `x` already holds the divider's half.
STANDIN_AVX2 __m256i DivideLanes(__m256i x, const VectorDivide& d) {
    const __m256i even = _mm256_srl_epi64(_mm256_mul_epu32(x, d.multiplier), d.shift);
    const __m256i odd = _mm256_srl_epi64(_mm256_mul_epu32(_mm256_srli_epi64(x, 32), d.multiplier), d.shift);
    return _mm256_blend_epi32(even, _mm256_slli_epi64(odd, 32), 0xAA);
}

// Pixels past a step's four that its 16-byte write may reach.
template <int N>
constexpr std::size_t kStepOverreach = N == 3 ? 2 : 0;

// K: taps known at compile time; 0 means `taps` at run time. `pairWeights`
// holds, for every two pixels and tap, the first pixel's weight in the low
// lane and the second's in the high lane, ready to multiply.
template <int N, int K>
STANDIN_AVX2 std::size_t AverageFourAtOnce(const Taps& t, int taps, const std::uint32_t* pairWeights,
                                           const std::uint32_t* sums, const RoundingDivider& divide,
                                           std::uint8_t* out) {
    const int k = K != 0 ? K : taps;
    const std::size_t count = t.count;
    const std::uint32_t* start = t.start;
    const VectorDivide d = MakeVectorDivide(divide);
    // Three-byte pixels: drop every fourth byte.
    const __m128i compact = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const std::size_t pairStride = kPairLanes * static_cast<std::size_t>(k);
    ReadAhead ahead = t.ahead;
    std::size_t i = 0;
    for (; i + 4 + kStepOverreach<N> <= count; i += 4, out += 4 * N, pairWeights += 2 * pairStride) {
        for (std::size_t line = 0; line < kLinesAheadPerStep && ahead.next < ahead.end; ++line) {
            _mm_prefetch(ahead.next, _MM_HINT_T0);
            ahead.next += kCacheLine;
        }
        __m256i means[2];
        for (int p = 0; p < 2; ++p) {
            const std::uint32_t* first = sums + start[i + 2 * p];
            const std::uint32_t* second = sums + start[i + 2 * p + 1];
            const std::uint32_t* weights = pairWeights + p * pairStride;
            __m256i total = d.half;
            for (int tap = 0; tap < k; ++tap) {
                const __m256i columns = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(second + tap * N),
                                                            reinterpret_cast<const __m128i*>(first + tap * N));
                const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + kPairLanes * tap));
                total = _mm256_add_epi32(total, _mm256_mullo_epi32(columns, w));
            }
            means[p] = d.byShiftOnly ? _mm256_srl_epi32(total, d.shiftOnly) : DivideLanes(total, d);
        }
        // Lane 0 holds pixels i and i + 2, lane 1 pixels i + 1 and i + 3.
        const __m256i words = _mm256_packus_epi32(means[0], means[1]);
        const __m256i bytes = _mm256_packus_epi16(words, words);
        __m128i pixels = _mm_unpacklo_epi32(_mm256_castsi256_si128(bytes), _mm256_extracti128_si256(bytes, 1));
        if constexpr (N == 3) pixels = _mm_shuffle_epi8(pixels, compact);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), pixels);
    }
    return i;
}

template <int N, int K = 1>
std::size_t AverageFourAtOnceUnrolled(const Taps& t, int taps, const std::uint32_t* pairWeights,
                                      const std::uint32_t* sums, const RoundingDivider& divide,
                                      std::uint8_t* out) {
    if constexpr (K <= kMaxUnrolledTaps) {
        if (taps == K) return AverageFourAtOnce<N, K>(t, taps, pairWeights, sums, divide, out);
        return AverageFourAtOnceUnrolled<N, K + 1>(t, taps, pairWeights, sums, divide, out);
    } else {
        return AverageFourAtOnce<N, 0>(t, taps, pairWeights, sums, divide, out);
    }
}
#endif

// Whether AverageNarrowFast takes the vector route, which needs pair weights.
bool TakesVectorRoute(const RoundingDivider& divide) {
#ifdef STANDIN_HAVE_SSSE3
    return HasAvx2() && FitsVectorDivide(divide);
#else
    (void)divide;
    return false;
#endif
}

template <int N>
void AverageNarrowFast(const Taps& t, int taps, const std::vector<std::uint32_t>& pairWeights,
                       const std::uint32_t* sums, const RoundingDivider& divide, std::uint8_t* out) {
    std::size_t done = 0;
#ifdef STANDIN_HAVE_SSSE3
    if (TakesVectorRoute(divide) && !pairWeights.empty())
        done = AverageFourAtOnceUnrolled<N>(t, taps, pairWeights.data(), sums, divide, out);
#else
    (void)pairWeights;
#endif
    const Taps rest{t.count - done, t.start + done, t.weights + done * static_cast<std::size_t>(taps), {}};
    AverageNarrow<N>(rest, taps, sums, divide, out + done * N);
}

}  // namespace

ColumnAverager::ColumnAverager(const CoverageTable& xs, int pixelBytes, std::uint32_t rowDivisor)
    : pixelBytes_(pixelBytes),
      taps_(0),
      sumsLength_(0),
      divide_(std::uint64_t{xs.divisor} * rowDivisor,
              kMaxLevel * xs.divisor * std::uint64_t{rowDivisor}),
      narrowTotals_((kMaxLevel + 1) * xs.divisor * std::uint64_t{rowDivisor} < kNarrowTotalLimit) {
    for (std::size_t i = 0; i < xs.size(); ++i) taps_ = std::max(taps_, xs.Count(i));
    start_.reserve(xs.size());
    weights_.assign(xs.size() * static_cast<std::size_t>(taps_), 0);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        start_.push_back(static_cast<std::uint32_t>(xs.first[i] - xs.sourceBegin) * pixelBytes);
        std::copy(xs.Weights(i), xs.Weights(i) + xs.Count(i),
                  weights_.begin() + static_cast<std::ptrdiff_t>(i * taps_));
    }
    if (narrowTotals_ && TakesVectorRoute(divide_)) BuildPairWeights();
    const std::size_t columns = static_cast<std::size_t>(xs.sourceEnd - xs.sourceBegin);
    sumsLength_ = (columns + static_cast<std::size_t>(taps_)) * pixelBytes;
}

void ColumnAverager::BuildPairWeights() {
    const std::size_t taps = static_cast<std::size_t>(taps_);
    const std::size_t pairs = start_.size() / 2;
    pairWeights_.assign(pairs * taps * kPairLanes, 0);
    for (std::size_t p = 0; p < pairs; ++p)
        for (std::size_t tap = 0; tap < taps; ++tap) {
            std::uint32_t* lanes = &pairWeights_[(p * taps + tap) * kPairLanes];
            std::fill(lanes, lanes + kPairLanes / 2, weights_[2 * p * taps + tap]);
            std::fill(lanes + kPairLanes / 2, lanes + kPairLanes, weights_[(2 * p + 1) * taps + tap]);
        }
}

template <class Sum>
void ColumnAverager::Dispatch(const Sum* sums, std::uint8_t* out, ReadAhead ahead) const {
    const Taps t{start_.size(), start_.data(), weights_.data(), ahead};
    if constexpr (sizeof(Sum) == sizeof(std::uint32_t)) {
        if (narrowTotals_) {
            if (pixelBytes_ == 3) return AverageNarrowFast<3>(t, taps_, pairWeights_, sums, divide_, out);
            return AverageNarrowFast<4>(t, taps_, pairWeights_, sums, divide_, out);
        }
    }
    if (pixelBytes_ == 3) return AverageTaps<3, 0, Sum, std::uint64_t>(t, taps_, sums, divide_, out);
    AverageTaps<4, 0, Sum, std::uint64_t>(t, taps_, sums, divide_, out);
}

void ColumnAverager::Average(const std::uint32_t* sums, std::uint8_t* out, ReadAhead ahead) const {
    Dispatch(sums, out, ahead);
}

void ColumnAverager::Average(const std::uint64_t* sums, std::uint8_t* out) const {
    Dispatch(sums, out, {});
}

}  // namespace standin

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
// Narrow totals with AVX2, two destination pixels a step, one in each 128-bit
// lane: a pixel's channels (three or four, plus one unused lane at three)
// are summed over the taps with 32-bit multiplies, then divided as
// RoundingDivider::Narrow does, in 64-bit products of the even and the odd
// lanes. Only for dividers whose multiplier fits 32 bits. Reads one sum past
// a 3-byte pixel's channels, which the sums' tail covers; writes four bytes
// for a 3-byte pixel while another pixel follows it, whose write comes next.
bool FitsVectorDivide(const RoundingDivider& divide) {
    return divide.narrow() && divide.multiplier() <= UINT32_MAX && divide.half() <= INT32_MAX;
}

STANDIN_AVX2 __m256i DivideLanes(__m256i totals, const RoundingDivider& divide) {
    const __m256i x = _mm256_add_epi32(totals, _mm256_set1_epi32(static_cast<int>(divide.half())));
    const __m256i multiplier = _mm256_set1_epi64x(static_cast<long long>(divide.multiplier()));
    const __m128i shift = _mm_cvtsi32_si128(divide.shift());
    const __m256i even = _mm256_srl_epi64(_mm256_mul_epu32(x, multiplier), shift);
    const __m256i odd = _mm256_srl_epi64(_mm256_mul_epu32(_mm256_srli_epi64(x, 32), multiplier), shift);
    return _mm256_blend_epi32(even, _mm256_slli_epi64(odd, 32), 0xAA);
}

// K: taps known at compile time; 0 means `taps` at run time. `pairWeights`
// holds, for every two pixels and tap, the first pixel's weight in the low
// lane and the second's in the high lane, ready to multiply.
template <int N, int K>
STANDIN_AVX2 std::size_t AverageTwoAtOnce(const Taps& t, int taps, const std::uint32_t* pairWeights,
                                          const std::uint32_t* sums, const RoundingDivider& divide,
                                          std::uint8_t* out) {
    const int k = K != 0 ? K : taps;
    std::size_t i = 0;
    for (; i + 2 < t.count; i += 2, out += 2 * N, pairWeights += kPairLanes * k) {
        const std::uint32_t* first = sums + t.start[i];
        const std::uint32_t* second = sums + t.start[i + 1];
        __m256i total = _mm256_setzero_si256();
        for (int tap = 0; tap < k; ++tap) {
            const __m256i columns = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(second + tap * N),
                                                        reinterpret_cast<const __m128i*>(first + tap * N));
            const __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairWeights + kPairLanes * tap));
            total = _mm256_add_epi32(total, _mm256_mullo_epi32(columns, weights));
        }
        const __m256i means = DivideLanes(total, divide);
        const __m256i bytes = _mm256_packus_epi16(_mm256_packus_epi32(means, means), means);
        const std::uint32_t a = static_cast<std::uint32_t>(_mm256_cvtsi256_si32(bytes));
        const std::uint32_t b = static_cast<std::uint32_t>(_mm256_extract_epi32(bytes, 4));
        std::memcpy(out, &a, sizeof a);
        std::memcpy(out + N, &b, sizeof b);
    }
    return i;
}

template <int N, int K = 1>
std::size_t AverageTwoAtOnceUnrolled(const Taps& t, int taps, const std::uint32_t* pairWeights,
                                     const std::uint32_t* sums, const RoundingDivider& divide,
                                     std::uint8_t* out) {
    if constexpr (K <= kMaxUnrolledTaps) {
        if (taps == K) return AverageTwoAtOnce<N, K>(t, taps, pairWeights, sums, divide, out);
        return AverageTwoAtOnceUnrolled<N, K + 1>(t, taps, pairWeights, sums, divide, out);
    } else {
        return AverageTwoAtOnce<N, 0>(t, taps, pairWeights, sums, divide, out);
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
        done = AverageTwoAtOnceUnrolled<N>(t, taps, pairWeights.data(), sums, divide, out);
#else
    (void)pairWeights;
#endif
    const Taps rest{t.count - done, t.start + done, t.weights + done * static_cast<std::size_t>(taps)};
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
void ColumnAverager::Dispatch(const Sum* sums, std::uint8_t* out) const {
    const Taps t{start_.size(), start_.data(), weights_.data()};
    if constexpr (sizeof(Sum) == sizeof(std::uint32_t)) {
        if (narrowTotals_) {
            if (pixelBytes_ == 3) return AverageNarrowFast<3>(t, taps_, pairWeights_, sums, divide_, out);
            return AverageNarrowFast<4>(t, taps_, pairWeights_, sums, divide_, out);
        }
    }
    if (pixelBytes_ == 3) return AverageTaps<3, 0, Sum, std::uint64_t>(t, taps_, sums, divide_, out);
    AverageTaps<4, 0, Sum, std::uint64_t>(t, taps_, sums, divide_, out);
}

void ColumnAverager::Average(const std::uint32_t* sums, std::uint8_t* out) const {
    Dispatch(sums, out);
}

void ColumnAverager::Average(const std::uint64_t* sums, std::uint8_t* out) const {
    Dispatch(sums, out);
}

}  // namespace standin

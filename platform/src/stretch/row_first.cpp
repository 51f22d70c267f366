// GCC 12's AVX-512 intrinsics start many results from a self-initialised
// "undefined" vector, which its own -Wmaybe-uninitialized then reports.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "stretch/row_first.h"

#include "support/simd_support.h"

#include <algorithm>

namespace standin {
namespace {

constexpr std::uint64_t kMaxLevel = 255;
// Totals and the divider's numerators stay below 2^31, as the vector
// divide needs.
constexpr std::uint64_t kNarrowTotalLimit = std::uint64_t{1} << 31;
constexpr std::size_t kGroupBytes = 16;   // output bytes a group makes
constexpr std::size_t kWindowBytes = 64;  // source bytes a group may read
constexpr std::size_t kTableBytes = 64;   // indices, high or low digits of a group
constexpr int kMaxTaps = 4;               // column bytes in one 32-bit lane
// Digits are signed bytes, and a pair of them times 255 must not saturate
// a 16-bit multiply-add: each at most 127, a pair's sum at most 128.
constexpr std::uint32_t kMaxDigit = 127;
constexpr std::uint32_t kMaxDigitPair = 128;
constexpr int kMaxDigitBits = 6;  // low digits up to 63, a pair's up to 126
// A vertical weight times 2^b must be a positive 16-bit number.
constexpr std::uint32_t kMaxWord = 0x7FFF;
// How far ahead in its rows a group asks for the bytes a later one reads:
// the rows usually come from memory, not the caches.
constexpr std::size_t kPrefetchAhead = 2048;

std::uint64_t LowBits(std::size_t n) { return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1; }

std::uint32_t LargestWeight(const CoverageTable& axis) {
    std::uint32_t largest = 0;
    for (std::uint32_t w : axis.weights) largest = std::max(largest, w);
    return largest;
}

// Whether every destination pixel's weights split at 2^bits into digits
// the byte multiply-adds take.
bool DigitsFit(const CoverageTable& xs, int bits) {
    for (std::size_t j = 0; j < xs.size(); ++j) {
        std::uint32_t high[kMaxTaps] = {};
        for (int t = 0; t < xs.Count(j); ++t) high[t] = xs.Weights(j)[t] >> bits;
        for (int t = 0; t < kMaxTaps; t += 2)
            if (high[t] > kMaxDigit || high[t + 1] > kMaxDigit || high[t] + high[t + 1] > kMaxDigitPair)
                return false;
    }
    return true;
}

}  // namespace

RowFirstAverager::RowFirstAverager(const CoverageTable& xs, const CoverageTable& ys, int pixelBytes)
    : pixelBytes_(pixelBytes),
      divide_(std::uint64_t{xs.divisor} * ys.divisor, kMaxLevel * xs.divisor * std::uint64_t{ys.divisor}) {
#ifdef STANDIN_HAVE_SSSE3
    const bool narrow = (kMaxLevel + 1) * xs.divisor * std::uint64_t{ys.divisor} < kNarrowTotalLimit;
    const bool divides =
        divide_.narrow() && divide_.multiplier() <= UINT32_MAX && divide_.half() <= INT32_MAX;
    usable_ = HasAvx512() && narrow && divides && ChooseDigits(xs, ys) && Plan(xs);
#else
    (void)xs;
    (void)ys;
#endif
}

bool RowFirstAverager::ChooseDigits(const CoverageTable& xs, const CoverageTable& ys) {
    for (std::size_t j = 0; j < xs.size(); ++j)
        if (xs.Count(j) > kMaxTaps) return false;
    const std::uint32_t tallest = LargestWeight(ys);
    for (int bits = kMaxDigitBits; bits >= 0; --bits) {
        if ((std::uint64_t{tallest} << bits) > kMaxWord) continue;
        if (!DigitsFit(xs, bits)) return false;  // fewer bits only make larger digits
        digitBits_ = bits;
        return true;
    }
    return false;
}

bool RowFirstAverager::Plan(const CoverageTable& xs) {
    const std::size_t n = static_cast<std::size_t>(pixelBytes_);
    rowBytes_ = n * static_cast<std::size_t>(xs.sourceEnd - xs.sourceBegin);
    outBytes_ = n * xs.size();
    const std::size_t groups = (outBytes_ + kGroupBytes - 1) / kGroupBytes;
    windowStart_.assign(groups, 0);
    windowMask_.assign(groups, 0);
    storeMask_.assign(groups, 0);
    tables_.assign(groups * 3 * kTableBytes, 0);
    // The byte of output `o` that tap `t` reads, from the row's start.
    const auto tapByte = [&](std::size_t o, int t) {
        return n * static_cast<std::size_t>(xs.first[o / n] - xs.sourceBegin + t) + o % n;
    };
    const std::uint32_t lowMask = (std::uint32_t{1} << digitBits_) - 1;
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t begin = g * kGroupBytes;
        const std::size_t end = std::min(begin + kGroupBytes, outBytes_);
        std::size_t low = SIZE_MAX, high = 0;
        for (std::size_t o = begin; o < end; ++o)
            for (int t = 0; t < xs.Count(o / n); ++t) {
                low = std::min(low, tapByte(o, t));
                high = std::max(high, tapByte(o, t));
            }
        if (high - low >= kWindowBytes) return false;
        windowStart_[g] = static_cast<std::uint32_t>(low);
        windowMask_[g] = LowBits(rowBytes_ - low);
        storeMask_[g] = static_cast<std::uint16_t>(LowBits(end - begin));
        std::uint8_t* indices = &tables_[g * 3 * kTableBytes];
        std::uint8_t* highDigits = indices + kTableBytes;
        std::uint8_t* lowDigits = highDigits + kTableBytes;
        for (std::size_t o = begin; o < end; ++o) {
            const std::size_t lane = 4 * (o - begin);
            for (int t = 0; t < xs.Count(o / n); ++t) {
                const std::uint32_t w = xs.Weights(o / n)[t];
                indices[lane + t] = static_cast<std::uint8_t>(tapByte(o, t) - low);
                highDigits[lane + t] = static_cast<std::uint8_t>(w >> digitBits_);
                lowDigits[lane + t] = static_cast<std::uint8_t>(w & lowMask);
            }
        }
    }
    return true;
}

#ifdef STANDIN_HAVE_SSSE3
namespace {

struct GroupTables {
    const std::uint32_t* windowStart;
    const std::uint64_t* windowMask;
    const std::uint16_t* storeMask;
    const std::uint8_t* tables;
    std::size_t groups;
};

// A row's vertical weight v as two 16-bit halves of a lane, times 2^b for
// the high digits' sums and as it is for the low digits'.
struct RowWeight {
    std::uint32_t high;
    std::uint32_t low;
};

// The totals divided as RoundingDivider::Narrow does (the half is already
// in them), in 64-bit products of the even and the odd lanes.
struct WideDivide {
    __m512i half;
    __m512i multiplier;
    __m128i shift;
    bool byShiftOnly;  // the divider's ShiftOnly() replaces the multiply
    __m128i shiftOnly;
};

STANDIN_AVX512 WideDivide MakeWideDivide(const RoundingDivider& divide) {
    const int shiftOnly = divide.ShiftOnly();
    return {_mm512_set1_epi32(static_cast<int>(divide.half())),
            _mm512_set1_epi64(static_cast<long long>(divide.multiplier())), _mm_cvtsi32_si128(divide.shift()),
            shiftOnly >= 0, _mm_cvtsi32_si128(shiftOnly >= 0 ? shiftOnly : 0)};
}

STANDIN_AVX512 __m512i DivideLanes(__m512i x, const WideDivide& d) {
    if (d.byShiftOnly) return _mm512_srl_epi32(x, d.shiftOnly);
    const __m512i even = _mm512_srl_epi64(_mm512_mul_epu32(x, d.multiplier), d.shift);
    const __m512i odd = _mm512_srl_epi64(_mm512_mul_epu32(_mm512_srli_epi64(x, 32), d.multiplier), d.shift);
    return _mm512_mask_blend_epi32(0xAAAA, even, _mm512_slli_epi64(odd, 32));
}

// Indices of the low byte of every 32-bit lane, in the low 16 bytes.
STANDIN_AVX512 inline __m512i LowBytesOfLanes() {
    return _mm512_set_epi32(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x3C383430, 0x2C282420, 0x1C181410,
                            0x0C080400);
}

// A group's permute indices and digits.
struct GroupDigits {
    __m512i indices;
    __m512i high;
    __m512i low;
};

STANDIN_AVX512 inline __attribute__((always_inline)) GroupDigits LoadDigits(const GroupTables& t,
                                                                            std::size_t g) {
    const std::uint8_t* table = t.tables + g * 3 * kTableBytes;
    return {_mm512_loadu_si512(table), _mm512_loadu_si512(table + kTableBytes),
            _mm512_loadu_si512(table + 2 * kTableBytes)};
}

// One source row weighed across for a group: per output and pair of taps,
// the 16-bit sums of its bytes times the high and the low digits. Masked:
// the window reaches past the row's end, whose bytes are not read.
struct AcrossSums {
    __m512i high;
    __m512i low;
};

template <bool Masked>
STANDIN_AVX512 inline __attribute__((always_inline)) AcrossSums WeighAcross(const std::uint8_t* row,
                                                                            std::size_t start,
                                                                            __mmask64 inside,
                                                                            const GroupDigits& g) {
    const std::uint8_t* at = row + start;
    _mm_prefetch(reinterpret_cast<const char*>(at + kPrefetchAhead), _MM_HINT_T0);
    const __m512i window = Masked ? _mm512_maskz_loadu_epi8(inside, at) : _mm512_loadu_si512(at);
    const __m512i taps = _mm512_permutexvar_epi8(g.indices, window);
    return {_mm512_maddubs_epi16(taps, g.high), _mm512_maddubs_epi16(taps, g.low)};
}

// The rows' weights as vectors: broadcast once per destination row when
// the count of rows is known at compile time (Rows), else for every group
// (Rows = 0).
template <int Rows>
struct RowVectors {
    __m512i high[Rows != 0 ? Rows : 1];
    __m512i low[Rows != 0 ? Rows : 1];
    const RowWeight* weights;
};

// One group's totals, the divider's half included.
template <int Rows, bool Masked>
STANDIN_AVX512 inline __attribute__((always_inline)) __m512i GroupTotals(
    const std::uint8_t* const* rows, int count, std::size_t start, __mmask64 inside, const GroupDigits& g,
    const RowVectors<Rows>& v, __m512i half) {
    __m512i high = half;
    __m512i low = _mm512_setzero_si512();
    for (int r = 0; r < (Rows != 0 ? Rows : count); ++r) {
        const AcrossSums across = WeighAcross<Masked>(rows[r], start, inside, g);
        __m512i highWeight, lowWeight;
        if constexpr (Rows != 0) {
            highWeight = v.high[r];
            lowWeight = v.low[r];
        } else {
            highWeight = _mm512_set1_epi32(static_cast<int>(v.weights[r].high));
            lowWeight = _mm512_set1_epi32(static_cast<int>(v.weights[r].low));
        }
        high = _mm512_dpwssd_epi32(high, across.high, highWeight);
        low = _mm512_dpwssd_epi32(low, across.low, lowWeight);
    }
    return _mm512_add_epi32(high, low);
}

STANDIN_AVX512 inline __attribute__((always_inline)) void StoreMeans(__m512i totals, const WideDivide& d,
                                                                     __m512i lowBytes, std::uint16_t mask,
                                                                     std::uint8_t* out) {
    // Every mean is at most 255: its lane's low byte is all of it.
    const __m128i bytes = _mm512_castsi512_si128(_mm512_permutexvar_epi8(lowBytes, DivideLanes(totals, d)));
    if (mask == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    } else {
        _mm_mask_storeu_epi8(out, mask, bytes);
    }
}

template <int Rows>
STANDIN_AVX512 void AverageGroups(const GroupTables& t, const std::uint8_t* const* rows,
                                  const RowWeight* weights, int count, const WideDivide& d,
                                  std::uint8_t* out) {
    RowVectors<Rows> v{};
    v.weights = weights;
    for (int r = 0; r < Rows; ++r) {
        v.high[r] = _mm512_set1_epi32(static_cast<int>(weights[r].high));
        v.low[r] = _mm512_set1_epi32(static_cast<int>(weights[r].low));
    }
    const __m512i lowBytes = LowBytesOfLanes();
    for (std::size_t g = 0; g < t.groups; ++g, out += kGroupBytes) {
        const GroupDigits digits = LoadDigits(t, g);
        const std::size_t start = t.windowStart[g];
        const __mmask64 inside = t.windowMask[g];
        const __m512i totals =
            inside == ~__mmask64{0}
                ? GroupTotals<Rows, false>(rows, count, start, inside, digits, v, d.half)
                : GroupTotals<Rows, true>(rows, count, start, inside, digits, v, d.half);
        StoreMeans(totals, d, lowBytes, t.storeMask[g], out);
    }
}

// Two destination rows sharing one source row, the last of the first's A
// and the first of the second's B: every source row's taps are made once
// and added into the totals of each destination row over it. `high` and
// `low` hold the first's A weights, then the second's B.
template <int A, int B, bool Masked>
STANDIN_AVX512 inline __attribute__((always_inline)) void PairTotals(
    const std::uint8_t* const* rows, std::size_t start, __mmask64 inside, const GroupDigits& g,
    const __m512i* highWeights, const __m512i* lowWeights, __m512i half, __m512i totals[2]) {
    __m512i high[2] = {half, half};
    __m512i low[2] = {_mm512_setzero_si512(), _mm512_setzero_si512()};
#pragma GCC unroll 8
    for (int r = 0; r < A + B - 1; ++r) {
        const AcrossSums across = WeighAcross<Masked>(rows[r], start, inside, g);
        if (r < A) {
            high[0] = _mm512_dpwssd_epi32(high[0], across.high, highWeights[r]);
            low[0] = _mm512_dpwssd_epi32(low[0], across.low, lowWeights[r]);
        }
        if (r >= A - 1) {
            high[1] = _mm512_dpwssd_epi32(high[1], across.high, highWeights[r + 1]);
            low[1] = _mm512_dpwssd_epi32(low[1], across.low, lowWeights[r + 1]);
        }
    }
    totals[0] = _mm512_add_epi32(high[0], low[0]);
    totals[1] = _mm512_add_epi32(high[1], low[1]);
}

template <int A, int B>
STANDIN_AVX512 void AverageGroupPairs(const GroupTables& t, const std::uint8_t* const* rows,
                                      const RowWeight* weights, const WideDivide& d, std::uint8_t* first,
                                      std::uint8_t* second) {
    __m512i high[A + B], low[A + B];
    for (int r = 0; r < A + B; ++r) {
        high[r] = _mm512_set1_epi32(static_cast<int>(weights[r].high));
        low[r] = _mm512_set1_epi32(static_cast<int>(weights[r].low));
    }
    const __m512i lowBytes = LowBytesOfLanes();
    for (std::size_t g = 0; g < t.groups; ++g, first += kGroupBytes, second += kGroupBytes) {
        const GroupDigits digits = LoadDigits(t, g);
        const std::size_t start = t.windowStart[g];
        const __mmask64 inside = t.windowMask[g];
        __m512i totals[2];
        if (inside == ~__mmask64{0}) {
            PairTotals<A, B, false>(rows, start, inside, digits, high, low, d.half, totals);
        } else {
            PairTotals<A, B, true>(rows, start, inside, digits, high, low, d.half, totals);
        }
        StoreMeans(totals[0], d, lowBytes, t.storeMask[g], first);
        StoreMeans(totals[1], d, lowBytes, t.storeMask[g], second);
    }
}

// A vertical weight v in both 16-bit halves of a lane, times 2^bits and
// as it is.
RowWeight SplitWeight(std::uint32_t v, int bits) {
    constexpr std::uint32_t kBothHalves = 0x10001;
    return {(v << bits) * kBothHalves, v * kBothHalves};
}

using PairRoutine = void (*)(const GroupTables&, const std::uint8_t* const*, const RowWeight*,
                             const WideDivide&, std::uint8_t*, std::uint8_t*);
constexpr int kFewestPairedRows = 2;
constexpr int kMostPairedRows = 4;
constexpr int kPairedCounts = kMostPairedRows - kFewestPairedRows + 1;
constexpr PairRoutine kPairRoutines[kPairedCounts][kPairedCounts] = {
    {AverageGroupPairs<2, 2>, AverageGroupPairs<2, 3>, AverageGroupPairs<2, 4>},
    {AverageGroupPairs<3, 2>, AverageGroupPairs<3, 3>, AverageGroupPairs<3, 4>},
    {AverageGroupPairs<4, 2>, AverageGroupPairs<4, 3>, AverageGroupPairs<4, 4>},
};

}  // namespace
#endif

void RowFirstAverager::AverageRow(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                                  std::uint8_t* out) const {
#ifdef STANDIN_HAVE_SSSE3
    std::vector<RowWeight> split(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) split[static_cast<std::size_t>(r)] = SplitWeight(weights[r], digitBits_);
    const GroupTables t{windowStart_.data(), windowMask_.data(), storeMask_.data(), tables_.data(),
                        windowStart_.size()};
    const WideDivide d = MakeWideDivide(divide_);
    switch (count) {
        case 3: return AverageGroups<3>(t, rows, split.data(), count, d, out);
        case 4: return AverageGroups<4>(t, rows, split.data(), count, d, out);
        default: return AverageGroups<0>(t, rows, split.data(), count, d, out);
    }
#else
    (void)rows, (void)weights, (void)count, (void)out;
#endif
}

bool RowFirstAverager::AverageRowPair(const std::uint8_t* const* rows, const std::uint32_t* firstWeights,
                                      int firstCount, const std::uint32_t* secondWeights, int secondCount,
                                      std::uint8_t* firstOut, std::uint8_t* secondOut) const {
#ifdef STANDIN_HAVE_SSSE3
    const auto paired = [](int count) { return count >= kFewestPairedRows && count <= kMostPairedRows; };
    if (!paired(firstCount) || !paired(secondCount)) return false;
    RowWeight split[2 * kMostPairedRows];
    for (int r = 0; r < firstCount; ++r) split[r] = SplitWeight(firstWeights[r], digitBits_);
    for (int r = 0; r < secondCount; ++r) split[firstCount + r] = SplitWeight(secondWeights[r], digitBits_);
    const GroupTables t{windowStart_.data(), windowMask_.data(), storeMask_.data(), tables_.data(),
                        windowStart_.size()};
    kPairRoutines[firstCount - kFewestPairedRows][secondCount - kFewestPairedRows](
        t, rows, split, MakeWideDivide(divide_), firstOut, secondOut);
    return true;
#else
    (void)rows, (void)firstWeights, (void)firstCount, (void)secondWeights, (void)secondCount;
    (void)firstOut, (void)secondOut;
    return false;
#endif
}

}  // namespace standin

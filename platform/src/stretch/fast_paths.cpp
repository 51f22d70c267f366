#include "stretch/fast_paths.h"

#include "support/blit_routes.h"
#include "support/processor_costs.h"
#include "support/simd_support.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace standin {
namespace {

constexpr int kHalvingDivisor = 2;

std::uint8_t MeanOfFour(unsigned a, unsigned b, unsigned c, unsigned d) {
    return static_cast<std::uint8_t>((a + b + c + d + 2) >> 2);
}

// Four-byte pixels: the loop vectorises as it stands.
void HalveRowsOf4Plain(const std::uint8_t* top, const std::uint8_t* bottom, std::int32_t count,
                       std::uint8_t* out) {
    for (std::int32_t i = 0; i < count; ++i, top += 8, bottom += 8, out += 4)
        for (int c = 0; c < 4; ++c) out[c] = MeanOfFour(top[c], top[4 + c], bottom[c], bottom[4 + c]);
}

// Three-byte pixels: every channel is first averaged with the one three
// bytes on, in one plain vectorisable loop over the whole row (twice the work
// needed, but at vector speed); then every other pixel of that is kept.
void HalveRowsOf3Plain(const std::uint8_t* top, const std::uint8_t* bottom, std::int32_t count,
                       std::uint8_t* out, std::vector<std::uint8_t>* scratch) {
    // The AVX-512 steps may have finished the row.
    if (count <= 0) return;
    const std::size_t pairBytes = static_cast<std::size_t>(count) * 6;
    const std::size_t means = pairBytes - 3;
    scratch->resize(pairBytes);
    std::uint8_t* mean = scratch->data();
    for (std::size_t j = 0; j < means; ++j)
        mean[j] = MeanOfFour(top[j], top[j + 3], bottom[j], bottom[j + 3]);
    // Four-byte moves, each overlapping the next pixel, which the next move
    // rewrites; the last pixel is moved byte by byte to stay inside the row.
    for (std::int32_t i = 0; i + 1 < count; ++i) std::memcpy(out + 3 * i, mean + 6 * i, 4);
    std::memcpy(out + 3 * (count - 1), mean + 6 * (count - 1), 3);
}

#ifdef STANDIN_HAVE_SSSE3
// Three-byte pixels with SSSE3, four destination pixels a step. A shuffle
// puts the two source bytes of each channel side by side, a multiply-add
// with ones sums each pair into 16 bits, and the top and bottom sums are
// added, rounded and shifted like MeanOfFour. Each step reads 28 bytes of
// a row from its 24 and writes exactly its 12; it stops while a whole
// destination pixel is left, so the 4 extra bytes lie inside the row.
constexpr std::int32_t kHalvedPerStep = 4;

STANDIN_SSSE3 __m128i PairSums(const std::uint8_t* top, const std::uint8_t* bottom) {
    // Source pixels 0..3 of a 16-byte window: pairs (0,3) (1,4) (2,5) and
    // (6,9) (7,10) (8,11) make destination pixels 0 and 1.
    const __m128i pairs = _mm_setr_epi8(0, 3, 1, 4, 2, 5, 6, 9, 7, 10, 8, 11, -1, -1, -1, -1);
    const __m128i ones = _mm_set1_epi8(1);
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom));
    return _mm_add_epi16(_mm_maddubs_epi16(_mm_shuffle_epi8(t, pairs), ones),
                         _mm_maddubs_epi16(_mm_shuffle_epi8(b, pairs), ones));
}

STANDIN_SSSE3 std::int32_t HalveRowsOf3Shuffled(const std::uint8_t* top, const std::uint8_t* bottom,
                                                std::int32_t count, std::uint8_t* out) {
    const __m128i half = _mm_set1_epi16(2);
    // The six valid bytes of each packed half, side by side.
    const __m128i closeUp = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, -1, -1, -1, -1);
    std::int32_t i = 0;
    for (; i + kHalvedPerStep < count; i += kHalvedPerStep, top += 24, bottom += 24, out += 12) {
        const __m128i first = _mm_srli_epi16(_mm_add_epi16(PairSums(top, bottom), half), 2);
        const __m128i second = _mm_srli_epi16(_mm_add_epi16(PairSums(top + 12, bottom + 12), half), 2);
        const __m128i means = _mm_shuffle_epi8(_mm_packus_epi16(first, second), closeUp);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), means);
        const std::uint32_t last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(means, 8)));
        std::memcpy(out + 8, &last, sizeof last);
    }
    return i;
}

// The same with AVX2, eight destination pixels a step: each 128-bit lane
// does what one PairSums does, lanes paired so that packing the two halves'
// means leaves pixels 0-3 in the low lane and 4-7 in the high one. Each step
// reads 52 bytes of a row from its 48 and writes exactly its 24; it stops
// while a whole destination pixel is left.
constexpr std::int32_t kHalvedPerWideStep = 8;

STANDIN_AVX2 __m256i WidePairSums(const std::uint8_t* top, const std::uint8_t* bottom, std::size_t low,
                                  std::size_t high) {
    const __m256i pairs = _mm256_setr_epi8(0, 3, 1, 4, 2, 5, 6, 9, 7, 10, 8, 11, -1, -1, -1, -1,
                                           0, 3, 1, 4, 2, 5, 6, 9, 7, 10, 8, 11, -1, -1, -1, -1);
    const __m256i ones = _mm256_set1_epi8(1);
    const __m256i t = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(top + high),
                                          reinterpret_cast<const __m128i*>(top + low));
    const __m256i b = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(bottom + high),
                                          reinterpret_cast<const __m128i*>(bottom + low));
    const __m256i half = _mm256_set1_epi16(2);
    const __m256i sums = _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_shuffle_epi8(t, pairs), ones),
                                          _mm256_maddubs_epi16(_mm256_shuffle_epi8(b, pairs), ones));
    return _mm256_srli_epi16(_mm256_add_epi16(sums, half), 2);
}

STANDIN_AVX2 std::int32_t HalveRowsOf3Wide(const std::uint8_t* top, const std::uint8_t* bottom,
                                           std::int32_t count, std::uint8_t* out) {
    const __m256i closeUp = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, -1, -1, -1, -1,
                                             0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, -1, -1, -1, -1);
    std::int32_t i = 0;
    for (; i + kHalvedPerWideStep < count; i += kHalvedPerWideStep, top += 48, bottom += 48, out += 24) {
        // Source bytes 0, 12, 24 and 36 start destination pixels 0, 2, 4, 6.
        const __m256i first = WidePairSums(top, bottom, 0, 24);
        const __m256i second = WidePairSums(top, bottom, 12, 36);
        const __m256i means = _mm256_shuffle_epi8(_mm256_packus_epi16(first, second), closeUp);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(means));
        const __m128i upper = _mm256_extracti128_si256(means, 1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 12), upper);
        const std::uint32_t last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(upper, 8)));
        std::memcpy(out + 20, &last, sizeof last);
    }
    return i;
}

// Three-byte pixels with AVX-512 byte permutes (VBMI), 32 destination pixels
// a step from 64 source pixels (192 bytes of each row). Destination byte o
// averages source bytes s = 6 * (o / 3) + o % 3 and s + 3 of both rows; a
// two-register permute lays those pairs side by side for the destination's
// bytes in groups of 32, each from a 128-byte window of the step's bytes,
// and a multiply-add with ones sums each pair, as in PairSums. Each step
// reads exactly its 192 bytes a row and writes exactly its 96: a third of
// the AVX2 route's instructions, which on a Zen 4 leaves the two rows'
// streams reading sooner (the 4096 -> 2048 case went from 3.5 to 3.0 ms in
// interleaved runs, on 2 MiB and on 4 KiB pages alike).
constexpr std::int32_t kHalvedPerPermuteStep = 32;
constexpr int kPermuteGroups = 3;
constexpr int kPermuteGroupBytes = 32;
constexpr int kPermuteWindowBytes = 128;
constexpr int kPermuteStepBytes = 6 * kHalvedPerPermuteStep;

struct PairPermute {
    int windowStart[kPermuteGroups];
    std::uint8_t index[kPermuteGroups][2 * kPermuteGroupBytes];
};

constexpr int PairSource(int o) { return 6 * (o / 3) + o % 3; }

constexpr PairPermute MakePairPermute() {
    PairPermute p{};
    for (int g = 0; g < kPermuteGroups; ++g) {
        // The group's first source byte, down to a multiple of 16, but no
        // later than leaves the window inside the step.
        const int first = PairSource(kPermuteGroupBytes * g) / 16 * 16;
        p.windowStart[g] = first < kPermuteStepBytes - kPermuteWindowBytes ? first
                                                                          : kPermuteStepBytes - kPermuteWindowBytes;
        for (int k = 0; k < kPermuteGroupBytes; ++k) {
            const int s = PairSource(kPermuteGroupBytes * g + k) - p.windowStart[g];
            p.index[g][2 * k] = static_cast<std::uint8_t>(s);
            p.index[g][2 * k + 1] = static_cast<std::uint8_t>(s + 3);
        }
    }
    return p;
}

constexpr PairPermute kPairPermute = MakePairPermute();

// Every pair lies inside its group's window.
constexpr bool PairsInsideWindows() {
    for (int g = 0; g < kPermuteGroups; ++g) {
        const int start = kPairPermute.windowStart[g];
        if (start < 0 || start + kPermuteWindowBytes > kPermuteStepBytes) return false;
        for (int k = 0; k < kPermuteGroupBytes; ++k) {
            const int s = PairSource(kPermuteGroupBytes * g + k);
            if (s < start || s + 3 >= start + kPermuteWindowBytes) return false;
        }
    }
    return true;
}
static_assert(PairsInsideWindows(), "each group's pairs lie in its 128-byte window");

STANDIN_AVX512 std::int32_t HalveRowsOf3Permuted(const std::uint8_t* top, const std::uint8_t* bottom,
                                                 std::int32_t count, std::uint8_t* out) {
    const __m512i ones = _mm512_set1_epi8(1);
    const __m512i half = _mm512_set1_epi16(2);
    __m512i index[kPermuteGroups];
    for (int g = 0; g < kPermuteGroups; ++g) index[g] = _mm512_loadu_si512(kPairPermute.index[g]);
    std::int32_t i = 0;
    for (; i + kHalvedPerPermuteStep <= count;
         i += kHalvedPerPermuteStep, top += kPermuteStepBytes, bottom += kPermuteStepBytes, out += 96) {
        for (int g = 0; g < kPermuteGroups; ++g) {
            const std::uint8_t* t = top + kPairPermute.windowStart[g];
            const std::uint8_t* b = bottom + kPairPermute.windowStart[g];
            const __m512i tPairs = _mm512_permutex2var_epi8(_mm512_loadu_si512(t), index[g], _mm512_loadu_si512(t + 64));
            const __m512i bPairs = _mm512_permutex2var_epi8(_mm512_loadu_si512(b), index[g], _mm512_loadu_si512(b + 64));
            const __m512i sums = _mm512_add_epi16(_mm512_maddubs_epi16(tPairs, ones), _mm512_maddubs_epi16(bPairs, ones));
            const __m512i means = _mm512_srli_epi16(_mm512_add_epi16(sums, half), 2);
            // The zero-masked narrowing: GCC 12 warns of the unmasked one's
            // undefined pass-through value.
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + kPermuteGroupBytes * g),
                                _mm512_maskz_cvtepi16_epi8(~__mmask32{0}, means));
        }
    }
    return i;
}

// Four-byte pixels with AVX2, eight destination pixels a step: a shuffle
// puts each channel of two neighbouring pixels side by side and a
// multiply-add with ones sums the pair, as for three-byte pixels. Each step
// reads exactly 64 bytes of each row and writes exactly 32.
constexpr std::int32_t kHalvedOf4PerStep = 8;

STANDIN_AVX2 __m256i QuadSums(const std::uint8_t* top, const std::uint8_t* bottom) {
    const __m256i pairs = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15,
                                           0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
    const __m256i ones = _mm256_set1_epi8(1);
    const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bottom));
    const __m256i sums = _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_shuffle_epi8(t, pairs), ones),
                                          _mm256_maddubs_epi16(_mm256_shuffle_epi8(b, pairs), ones));
    return _mm256_srli_epi16(_mm256_add_epi16(sums, _mm256_set1_epi16(2)), 2);
}

STANDIN_AVX2 std::int32_t HalveRowsOf4Wide(const std::uint8_t* top, const std::uint8_t* bottom,
                                           std::int32_t count, std::uint8_t* out) {
    std::int32_t i = 0;
    for (; i + kHalvedOf4PerStep <= count; i += kHalvedOf4PerStep, top += 64, bottom += 64, out += 32) {
        // Packing interleaves the halves' lanes: pixels 0-1, 4-5, 2-3, 6-7.
        const __m256i packed = _mm256_packus_epi16(QuadSums(top, bottom), QuadSums(top + 32, bottom + 32));
        const __m256i means = _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), means);
    }
    return i;
}
#endif

// The vector routine a 2:1 reduction's rows take; the plain loops finish
// what it leaves. Both HalveRows and HalvingRouteName ask this.
enum class HalvingKernel { Avx512, Avx2, Ssse3, Plain };

HalvingKernel ChooseHalvingKernel(int pixelBytes) {
#ifdef STANDIN_HAVE_SSSE3
    if (pixelBytes == 3 && HasAvx512()) return HalvingKernel::Avx512;
    if (HasAvx2()) return HalvingKernel::Avx2;
    if (pixelBytes == 3 && HasSsse3()) return HalvingKernel::Ssse3;
#else
    (void)pixelBytes;
#endif
    return HalvingKernel::Plain;
}

void HalveRowsOf4(const std::uint8_t* top, const std::uint8_t* bottom, std::int32_t count,
                  std::uint8_t* out) {
    std::int32_t done = 0;
#ifdef STANDIN_HAVE_SSSE3
    if (ChooseHalvingKernel(4) == HalvingKernel::Avx2) done = HalveRowsOf4Wide(top, bottom, count, out);
#endif
    const std::size_t from = static_cast<std::size_t>(done) * 8;
    HalveRowsOf4Plain(top + from, bottom + from, count - done, out + static_cast<std::size_t>(done) * 4);
}

void HalveRowsOf3(const std::uint8_t* top, const std::uint8_t* bottom, std::int32_t count,
                  std::uint8_t* out, std::vector<std::uint8_t>* scratch) {
    std::int32_t done = 0;
#ifdef STANDIN_HAVE_SSSE3
    switch (ChooseHalvingKernel(3)) {
        case HalvingKernel::Avx512: {
            // The AVX2 steps take what is left of the row.
            done = HalveRowsOf3Permuted(top, bottom, count, out);
            const std::size_t from = static_cast<std::size_t>(done) * 6;
            done += HalveRowsOf3Wide(top + from, bottom + from, count - done, out + static_cast<std::size_t>(done) * 3);
            break;
        }
        case HalvingKernel::Avx2: done = HalveRowsOf3Wide(top, bottom, count, out); break;
        case HalvingKernel::Ssse3: done = HalveRowsOf3Shuffled(top, bottom, count, out); break;
        case HalvingKernel::Plain: break;
    }
#endif
    const std::size_t from = static_cast<std::size_t>(done) * 6;
    HalveRowsOf3Plain(top + from, bottom + from, count - done, out + static_cast<std::size_t>(done) * 3,
                      scratch);
}

#ifdef STANDIN_HAVE_SSSE3
// Every other three-byte pixel with SSSE3, sixteen destination pixels (48
// bytes) a step from 32 source pixels (96 bytes). Destination byte o comes
// from source byte 6 * (o / 3) + o % 3; each 16-byte store gathers its bytes
// from two 16-byte loads by two shuffles, lanes the shuffle leaves out
// being zero in one of them.
constexpr std::int32_t kPickedPerStep = 16;
constexpr std::int32_t kPickStepSourcePixels = 32;

struct PickStore {
    int firstLoad;  // source byte of the first of the two loads; the second is 16 on
    std::int8_t fromFirst[16], fromSecond[16];
};

constexpr PickStore MakePickStore(int store) {
    PickStore p{};
    p.firstLoad = 6 * (16 * store / 3) + 16 * store % 3;
    for (int i = 0; i < 16; ++i) {
        const int o = 16 * store + i;
        const int at = 6 * (o / 3) + o % 3 - p.firstLoad;
        p.fromFirst[i] = static_cast<std::int8_t>(at < 16 ? at : -1);
        p.fromSecond[i] = static_cast<std::int8_t>(at >= 16 ? at - 16 : -1);
    }
    return p;
}

constexpr PickStore kPickStores[3] = {MakePickStore(0), MakePickStore(1), MakePickStore(2)};

STANDIN_SSSE3 std::int32_t PickEveryOtherShuffled(const std::uint8_t* row, std::int32_t rowPixels,
                                                  std::int32_t count, std::uint8_t* out) {
    __m128i first[3], second[3];
    for (int k = 0; k < 3; ++k) {
        first[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPickStores[k].fromFirst));
        second[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPickStores[k].fromSecond));
    }
    std::int32_t i = 0;
    for (; i + kPickedPerStep <= count && 2 * i + kPickStepSourcePixels <= rowPixels;
         i += kPickedPerStep, row += 3 * kPickStepSourcePixels, out += 3 * kPickedPerStep) {
        for (int k = 0; k < 3; ++k) {
            const std::uint8_t* at = row + kPickStores[k].firstLoad;
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * k),
                             _mm_or_si128(_mm_shuffle_epi8(a, first[k]), _mm_shuffle_epi8(b, second[k])));
        }
    }
    return i;
}
#endif

#ifdef STANDIN_HAVE_SSSE3
// Asking for the next kept row every other step spreads the requests over
// the row at about one a cache line.
constexpr std::size_t kStepsPerPrefetch = 2;

STANDIN_SSSE3 void PickByShuffles(const std::uint32_t* windowStart, const std::int8_t* indices,
                                  std::size_t steps, const std::uint8_t* row, const std::uint8_t* ahead,
                                  std::uint8_t* out) {
    for (std::size_t k = 0; k < steps; ++k, indices += 32, out += 12) {
        const std::uint8_t* at = row + windowStart[k];
        if (ahead != nullptr && k % kStepsPerPrefetch == 0)
            _mm_prefetch(reinterpret_cast<const char*>(ahead + windowStart[k]), _MM_HINT_T0);
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16));
        const __m128i fromFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(indices));
        const __m128i fromSecond = _mm_loadu_si128(reinterpret_cast<const __m128i*>(indices + 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_or_si128(_mm_shuffle_epi8(a, fromFirst), _mm_shuffle_epi8(b, fromSecond)));
    }
}

constexpr __mmask16 kLowEight = 0x00FF;

STANDIN_AVX512 void PickByPermutes(const std::uint32_t* windowStart, const std::int8_t* indices,
                                   std::size_t steps, const std::uint8_t* row, std::uint8_t* out) {
    for (std::size_t k = 0; k < steps; ++k, indices += 32, out += 32) {
        const std::uint8_t* at = row + windowStart[k];
        // Masked to the step's eight doublewords: GCC 12 warns of the
        // undefined upper halves of the 256-bit casts.
        const __m512i index = _mm512_maskz_loadu_epi32(kLowEight, indices);
        const __m512i picked = _mm512_permutex2var_epi32(_mm512_loadu_si512(at), index, _mm512_loadu_si512(at + 64));
        _mm512_mask_storeu_epi32(out, kLowEight, picked);
    }
}
#endif

bool IsIdentity(const AxisMapping& m) { return m.srcSpan == m.destSpan && !m.mirrored; }

}  // namespace

bool IsExactHalving(const CoverageTable& axis) {
    if (axis.divisor != kHalvingDivisor || axis.size() == 0) return false;
    for (std::size_t i = 0; i < axis.size(); ++i) {
        if (axis.Count(i) != 2) return false;
        if (axis.first[i] != axis.first[0] + 2 * static_cast<std::int32_t>(i)) return false;
    }
    return true;
}

const char* HalvingRouteName(int pixelBytes) {
    switch (ChooseHalvingKernel(pixelBytes)) {
        case HalvingKernel::Avx512: return "HALFTONE 2:1 AVX-512";
        case HalvingKernel::Avx2: return "HALFTONE 2:1 AVX2";
        case HalvingKernel::Ssse3: return "HALFTONE 2:1 SSSE3";
        case HalvingKernel::Plain: break;
    }
    return "HALFTONE 2:1 scalar";
}

void HalveRows(int pixelBytes, const std::uint8_t* top, const std::uint8_t* bottom,
               std::int32_t count, std::uint8_t* out, std::vector<std::uint8_t>* scratch) {
    if (pixelBytes == 3) return HalveRowsOf3(top, bottom, count, out, scratch);
    HalveRowsOf4(top, bottom, count, out);
}

bool PicksEveryOtherColumn(const RunTable& axis) {
    for (std::size_t i = 0; i < axis.size(); ++i) {
        if (axis.count[i] != 1) return false;
        if (axis.first[i] != axis.first[0] + 2 * static_cast<std::int32_t>(i)) return false;
    }
    return true;
}

const char* PickEveryOtherRouteName(int pixelBytes) {
#ifdef STANDIN_HAVE_SSSE3
    if (pixelBytes == 3 && HasSsse3()) return "scan 2:1 picks SSSE3";
#endif
#if defined(__SSE2__)
    if (pixelBytes == 4 && CurrentSimdLimit() != SimdLimit::Portable) return "scan 2:1 picks SSE2";
#endif
    (void)pixelBytes;
    return nullptr;
}

std::int32_t PickEveryOtherOf3(const std::uint8_t* row, std::int32_t rowPixels, std::int32_t count,
                               std::uint8_t* out) {
#ifdef STANDIN_HAVE_SSSE3
    if (HasSsse3()) return PickEveryOtherShuffled(row, rowPixels, count, out);
#else
    (void)row, (void)rowPixels, (void)count, (void)out;
#endif
    return 0;
}

std::int32_t PickEveryOtherOf4(const std::uint8_t* row, std::int32_t rowPixels, std::int32_t count,
                               std::uint8_t* out) {
    std::int32_t i = 0;
#if defined(__SSE2__)
    if (CurrentSimdLimit() == SimdLimit::Portable) return 0;
    // Pixels 0 and 2 of each of two four-pixel loads, side by side.
    constexpr std::int32_t kStep = 4;
    for (; i + kStep <= count && 2 * i + 2 * kStep <= rowPixels; i += kStep, row += 32, out += 16) {
        const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(row));
        const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(row + 16));
        _mm_storeu_ps(reinterpret_cast<float*>(out), _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    }
#else
    (void)row, (void)rowPixels, (void)count, (void)out;
#endif
    return i;
}

PickShuffles::PickShuffles(const RunTable& xs, int pixelBytes)
    : pixelBytes_(pixelBytes), stepPixels_(pixelBytes == 3 ? 4 : 8) {
#ifdef STANDIN_HAVE_SSSE3
    // Three-byte pixels: 32-byte windows in two 16-byte halves, 16-byte
    // stores. Four-byte pixels: 128-byte windows, 32-byte stores.
    const bool bytes = pixelBytes == 3;
    const std::size_t window = bytes ? 32 : 128, store = bytes ? 16 : 32, n = static_cast<std::size_t>(pixelBytes);
    constexpr std::size_t kHalf = 16;
    if (pixelBytes != 3 && pixelBytes != 4) return;
    if (bytes ? !HasSsse3() : !HasAvx512()) return;
    prefetch_ = bytes && PrefetchingKeptRowsPays();
    const std::size_t count = xs.size();
    const std::size_t rowBytes = static_cast<std::size_t>(xs.sourceEnd - xs.sourceBegin) * n;
    const std::size_t stepBytes = stepPixels_ * n;
    const auto byteOf = [&](std::size_t pixel) { return static_cast<std::size_t>(xs.first[pixel] - xs.sourceBegin) * n; };
    for (std::size_t k = 0; (k + 1) * stepBytes + (store - stepBytes) <= count * n; ++k) {
        const std::size_t p = k * stepPixels_;
        std::size_t low = SIZE_MAX, high = 0;
        for (std::size_t q = p; q < p + stepPixels_; ++q) {
            low = std::min(low, byteOf(q));
            high = std::max(high, byteOf(q) + n - 1);
        }
        if (high - low >= window || low + window > rowBytes) break;
        windowStart_.push_back(static_cast<std::uint32_t>(low));
        std::int8_t step[kStepIndexBytes];
        std::fill(step, step + kStepIndexBytes, static_cast<std::int8_t>(-1));
        for (std::size_t q = 0; q < stepPixels_ && !bytes; ++q) {
            const auto word = static_cast<std::int32_t>((byteOf(p + q) - low) / n);
            std::memcpy(step + q * sizeof word, &word, sizeof word);
        }
        for (std::size_t o = 0; o < stepBytes && bytes; ++o) {
            const std::size_t at = byteOf(p + o / n) + o % n - low;
            if (at < kHalf) {
                step[o] = static_cast<std::int8_t>(at);
            } else {
                step[kHalf + o] = static_cast<std::int8_t>(at - kHalf);
            }
        }
        indices_.insert(indices_.end(), step, step + kStepIndexBytes);
        ++steps_;
    }
#else
    (void)xs;
#endif
}

const char* PickShuffles::routeName() const {
    if (pixelBytes_ == 4) return "scan picks AVX-512";
    return prefetch_ ? "scan picks SSSE3, next row ahead" : "scan picks SSSE3";
}

void PickShuffles::Pick(const std::uint8_t* row, const std::uint8_t* nextRow, std::uint8_t* out) const {
#ifdef STANDIN_HAVE_SSSE3
    if (steps_ == 0) return;
    if (pixelBytes_ == 4) return PickByPermutes(windowStart_.data(), indices_.data(), steps_, row, out);
    PickByShuffles(windowStart_.data(), indices_.data(), steps_, row, prefetch_ ? nextRow : nullptr, out);
#else
    (void)row, (void)nextRow, (void)out;
#endif
}

bool IsPlainCopy(const StretchJob& job) {
    return DedicatedRoutesAllowed() && IsIdentity(job.x) && IsIdentity(job.y);
}

void CombineRows(const StretchJob& job, int pixelBytes) {
    const std::int64_t dx = job.x.srcStart - job.x.destStart;
    const std::int64_t dy = job.y.srcStart - job.y.destStart;
    const auto count = static_cast<std::size_t>(job.columns.count);
    PatternRows<std::uint8_t> pattern(job.op.pattern, pixelBytes, job.columns);
    std::vector<std::uint8_t> scratch;
    const std::size_t from = static_cast<std::size_t>(job.columns.first + dx) * pixelBytes;
    const std::size_t to = static_cast<std::size_t>(job.columns.first) * pixelBytes;
    // Within one bitmap, rows moving down are done bottom first, so each is
    // read before it is overwritten, and each source row is copied aside
    // first in case it overlaps the row it is combined into.
    const bool bottomFirst = job.sharedPixels && dy < 0;
    RecordBlitRoute(RasterOpRouteName(job.op.code, RasterOpRows::SourceOnDestination));
    std::vector<std::uint8_t> aside(job.sharedPixels ? count * static_cast<std::size_t>(pixelBytes) : 0);
    for (std::int32_t i = 0; i < job.rows.count; ++i) {
        std::int32_t y = bottomFirst ? job.rows.first + job.rows.count - 1 - i : job.rows.first + i;
        const std::uint8_t* source = job.source.Row(static_cast<std::int32_t>(y + dy)) + from;
        if (job.sharedPixels) source = static_cast<const std::uint8_t*>(std::memcpy(aside.data(), source, aside.size()));
        ApplyPatternOp(job.op.code, pattern, y, source, job.target.Row(y) + to, &scratch);
    }
}

void CopyRows(const StretchJob& job, int pixelBytes) {
    const std::int64_t dx = job.x.srcStart - job.x.destStart;
    const std::int64_t dy = job.y.srcStart - job.y.destStart;
    const std::size_t bytes = static_cast<std::size_t>(job.columns.count) * pixelBytes;
    const std::size_t from = static_cast<std::size_t>(job.columns.first + dx) * pixelBytes;
    const std::size_t to = static_cast<std::size_t>(job.columns.first) * pixelBytes;
    // Within one bitmap, rows moving down are copied bottom first, so each
    // is read before it is overwritten; memmove handles a row onto itself.
    const bool bottomFirst = job.sharedPixels && dy < 0;
    RecordBlitRoute("row copy");
    for (std::int32_t i = 0; i < job.rows.count; ++i) {
        std::int32_t y = bottomFirst ? job.rows.first + job.rows.count - 1 - i : job.rows.first + i;
        std::memmove(job.target.Row(y) + to, job.source.Row(static_cast<std::int32_t>(y + dy)) + from,
                     bytes);
    }
}

}  // namespace standin

#include "stretch/column_average.h"

#include <algorithm>

namespace standin {
namespace {

constexpr std::uint64_t kMaxLevel = 255;
// Runs of up to this many source columns get a loop unrolled for them.
constexpr int kMaxUnrolledTaps = 5;
// 32-bit totals are used while every numerator plus the divisor stays below
// 2^31, which also lets the divider work in 64 bits.
constexpr std::uint64_t kNarrowTotalLimit = std::uint64_t{1} << 31;

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
    const std::size_t columns = static_cast<std::size_t>(xs.sourceEnd - xs.sourceBegin);
    sumsLength_ = (columns + static_cast<std::size_t>(taps_)) * pixelBytes;
}

template <class Sum>
void ColumnAverager::Dispatch(const Sum* sums, std::uint8_t* out) const {
    const Taps t{start_.size(), start_.data(), weights_.data()};
    if constexpr (sizeof(Sum) == sizeof(std::uint32_t)) {
        if (narrowTotals_) {
            if (pixelBytes_ == 3) return AverageNarrow<3>(t, taps_, sums, divide_, out);
            return AverageNarrow<4>(t, taps_, sums, divide_, out);
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

// Division by a divisor fixed for a whole stretch, rounding half up, done as
// a multiplication by a precomputed reciprocal and a shift.
//
// With m = ceil(2^k / d) and e = m * d - 2^k (so 0 <= e < d), floor(x * m / 2^k)
// equals floor(x / d) whenever x * e < 2^k; choosing 2^k >= d * (xMax + 1)
// makes that hold for every x up to xMax, so the result is bit-exact, not an
// approximation. When x * m fits in 64 bits the product is taken in 64 bits.
#ifndef STANDIN_STRETCH_DIVIDER_H
#define STANDIN_STRETCH_DIVIDER_H

#include <cstdint>

namespace standin {

class RoundingDivider {
public:
    // `divisor` > 0; `maxNumerator` + divisor must stay below 2^62.
    RoundingDivider(std::uint64_t divisor, std::uint64_t maxNumerator) : half_(divisor / 2) {
        using Wide = unsigned __int128;
        const std::uint64_t xMax = maxNumerator + half_;
        const Wide bound = static_cast<Wide>(divisor) * (xMax + 1);
        shift_ = 0;
        while ((static_cast<Wide>(1) << shift_) < bound) ++shift_;
        const Wide power = static_cast<Wide>(1) << shift_;
        multiplier_ = static_cast<std::uint64_t>((power + divisor - 1) / divisor);
        narrow_ = shift_ < 64 &&
                  static_cast<Wide>(xMax) * multiplier_ <= static_cast<Wide>(UINT64_MAX);
    }

    // round(n / divisor), halves rounded up; n <= maxNumerator.
    std::uint32_t operator()(std::uint64_t n) const {
        if (narrow_) return Narrow(n);
        using Wide = unsigned __int128;
        return static_cast<std::uint32_t>((static_cast<Wide>(n + half_) * multiplier_) >> shift_);
    }

    // Whether Narrow may be used: always so when maxNumerator + divisor < 2^31.
    bool narrow() const { return narrow_; }
    std::uint32_t Narrow(std::uint64_t n) const {
        return static_cast<std::uint32_t>(((n + half_) * multiplier_) >> shift_);
    }

    // The parts of Narrow, for vector versions of it.
    std::uint64_t half() const { return half_; }
    std::uint64_t multiplier() const { return multiplier_; }
    int shift() const { return shift_; }
    // When the multiplier is 2^j (as it is for a divisor that is a power of
    // two), multiplying and shifting by shift() is one shift right by
    // shift() - j, which this returns; -1 for any other multiplier.
    int ShiftOnly() const {
        if (multiplier_ == 0 || (multiplier_ & (multiplier_ - 1)) != 0) return -1;
        const int j = __builtin_ctzll(multiplier_);
        return j <= shift_ ? shift_ - j : -1;
    }

private:
    std::uint64_t half_;
    std::uint64_t multiplier_ = 1;
    int shift_ = 0;
    bool narrow_ = true;
};

}  // namespace standin

#endif

// The horizontal pass of area averaging: every destination pixel of a row
// from the row's column sums, weighted by horizontal coverage and divided,
// rounding half up, by the product of both axes' divisors.
#ifndef STANDIN_STRETCH_COLUMN_AVERAGE_H
#define STANDIN_STRETCH_COLUMN_AVERAGE_H

#include "stretch/divider.h"
#include "stretch/geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// Bytes the caller reads next (the source rows of the next destination
// row). The vector pass asks for two cache lines of them every step, so
// that memory brings them in while the pass computes instead of after it.
struct ReadAhead {
    const char* next = nullptr;
    const char* end = nullptr;
};

class ColumnAverager {
public:
    // `pixelBytes` channels a pixel; `rowDivisor` is the vertical divisor.
    ColumnAverager(const CoverageTable& xs, int pixelBytes, std::uint32_t rowDivisor);

    // Elements the row of column sums must have: the columns' channels and a
    // zero tail that the padded taps of the last pixels read.
    std::size_t SumsLength() const { return sumsLength_; }
    // Whether the column totals fit 32 bits; they are wider only for
    // divisors beyond any ordinary stretch.
    bool NarrowTotals() const { return narrowTotals_; }

    void Average(const std::uint32_t* sums, std::uint8_t* out, ReadAhead ahead = {}) const;
    void Average(const std::uint64_t* sums, std::uint8_t* out) const;

private:
    template <class Sum>
    void Dispatch(const Sum* sums, std::uint8_t* out, ReadAhead ahead) const;
    void BuildPairWeights();

    int pixelBytes_;
    int taps_;                          // weights per pixel, zero-padded to the longest run
    std::vector<std::uint32_t> start_;  // per pixel: first channel in the sums
    std::vector<std::uint32_t> weights_;
    // Narrow totals only: the weights of every two pixels, tap by tap, as
    // vectors of eight lanes (the first pixel's four, then the second's).
    std::vector<std::uint32_t> pairWeights_;
    std::size_t sumsLength_;
    RoundingDivider divide_;
    bool narrowTotals_;
};

}  // namespace standin

#endif

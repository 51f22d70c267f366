// Area averaging with AVX-512 byte permutes and dot products, each
// destination row made in groups of 16 output bytes and nothing stored
// between the two axes.
//
// For a group, one 64-byte window of a source row holds every column its
// outputs cover, and one byte permute lays out the (up to four) column
// bytes of each output in a 32-bit lane. A horizontal weight w is split
// into digits, w = 2^b * high + low, small enough for byte multiply-adds:
// two of them give, per output and pair of taps, the 16-bit sums of the
// pixels weighted by the high and by the low digits. Two 16-bit dot
// products then add both pairs, weighted by 2^b * v and by v for the row's
// vertical weight v, into the group's totals, which are exact:
// sum over rows of v * (2^b * high sum + low sum) = sum of v * w * pixel.
//
// Two destination rows that share a source row (the last of the first, the
// first of the second, as at any ratio that is not whole) are made in one
// pass: the shared row's taps are made once and added into both rows'
// totals, and each group's tables are read once for both.
//
// It takes 24- and 32-bit rows read in place when every group's columns fit
// one window (reductions up to about 3:1 across), the weights split into
// digits that nothing saturates, and the totals fit 32 bits. The results
// are the bytes the two-pass route gives.
#ifndef STANDIN_STRETCH_ROW_FIRST_H
#define STANDIN_STRETCH_ROW_FIRST_H

#include "stretch/divider.h"
#include "stretch/geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

class RowFirstAverager {
public:
    // `pixelBytes` is 3 or 4.
    RowFirstAverager(const CoverageTable& xs, const CoverageTable& ys, int pixelBytes);

    // Whether the processor and this stretch allow the route.
    bool usable() const { return usable_; }

    // One destination row: `rows` are the `count` source rows under it (each
    // from the first drawn column), `weights` their vertical weights.
    void AverageRow(const std::uint8_t* const* rows, const std::uint32_t* weights, int count,
                    std::uint8_t* out) const;

    // Two destination rows whose source rows overlap in one, the last of
    // the first's and the first of the second's, in one pass: `rows` are the
    // firstCount + secondCount - 1 source rows. False, with nothing
    // written, when no routine takes these counts (2 to 4 rows each).
    bool AverageRowPair(const std::uint8_t* const* rows, const std::uint32_t* firstWeights, int firstCount,
                        const std::uint32_t* secondWeights, int secondCount, std::uint8_t* firstOut,
                        std::uint8_t* secondOut) const;

private:
    bool ChooseDigits(const CoverageTable& xs, const CoverageTable& ys);
    bool Plan(const CoverageTable& xs);

    int pixelBytes_;
    int digitBits_ = 0;         // b: weights are 2^b * high + low
    std::size_t rowBytes_ = 0;  // source bytes of the drawn columns
    std::size_t outBytes_ = 0;  // destination bytes of a row
    // Per group: where its window starts in a source row, which of the
    // window's bytes lie inside the row, which output bytes are real.
    std::vector<std::uint32_t> windowStart_;
    std::vector<std::uint64_t> windowMask_;
    std::vector<std::uint16_t> storeMask_;
    // Per group, 64 bytes each: the permute's indices (byte 4i + t is tap
    // t of output i), then the taps' high digits, then their low digits.
    std::vector<std::uint8_t> tables_;
    RoundingDivider divide_;
    bool usable_ = false;
};

}  // namespace standin

#endif

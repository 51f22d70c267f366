// The vertical pass of area averaging: weighted sums of source rows, two rows
// at a time, into one row of per-channel sums.
#ifndef STANDIN_STRETCH_ROW_SUMS_H
#define STANDIN_STRETCH_ROW_SUMS_H

#include <cstddef>
#include <cstdint>

namespace standin {

// Largest row weight the 16-bit multiply-add kernel takes: a weight times a
// channel value, two of them added, must stay a positive 32-bit number.
constexpr std::uint32_t kMaxPairedWeight = 0x7FFF;

// sums[i] = (assign ? 0 : sums[i]) + wa * a[i] + wb * b[i] for i < n. With
// 32-bit sums both weights must be at most kMaxPairedWeight, and the caller
// guarantees no sum overflows.
void AddRowPair(const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b, std::uint32_t wb,
                std::size_t n, bool assign, std::uint32_t* sums);
void AddRowPair(const std::uint8_t* a, std::uint32_t wa, const std::uint8_t* b, std::uint32_t wb,
                std::size_t n, bool assign, std::uint64_t* sums);

// sums[i] = the four rows' weighted sum at i, in one pass, when the weights
// allow it and the processor has a routine for it; false (and nothing
// written) otherwise.
bool AssignRowQuad(const std::uint8_t* const rows[4], const std::uint32_t weights[4], std::size_t n,
                   std::uint32_t* sums);

}  // namespace standin

#endif

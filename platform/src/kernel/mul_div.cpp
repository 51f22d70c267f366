// MulDiv: a 64-bit product divided back to 32 bits.
#include <windows.h>

#include <climits>
#include <cstdint>

// The product of two ints always fits 64 bits. The quotient is rounded to
// the nearest integer, halves away from zero (the documentation says
// "rounded to the nearest integer" and leaves halves open; away from zero
// keeps MulDiv(-a, b, c) == -MulDiv(a, b, c)). A zero denominator or a
// quotient beyond an int gives -1, as documented.
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    const std::int64_t product = std::int64_t{nNumber} * nNumerator;
    const bool negative = (product < 0) != (nDenominator < 0);
    const std::uint64_t magnitude = product < 0 ? 0 - static_cast<std::uint64_t>(product)
                                                : static_cast<std::uint64_t>(product);
    const std::uint64_t divisor = nDenominator < 0 ? 0 - static_cast<std::uint64_t>(std::int64_t{nDenominator})
                                                   : static_cast<std::uint64_t>(nDenominator);
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (negative) {
        if (quotient > std::uint64_t{INT_MAX} + 1) return -1;
        return static_cast<int>(-static_cast<std::int64_t>(quotient));
    }
    if (quotient > static_cast<std::uint64_t>(INT_MAX)) return -1;
    return static_cast<int>(quotient);
}

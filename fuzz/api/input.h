// Decodes fuzzer bytes into call arguments: small everyday values most of
// the time, extremes and raw 32-bit patterns the rest. Reads past the end
// give zeros, so every input decodes to some sequence.
#ifndef API_FUZZ_INPUT_H
#define API_FUZZ_INPUT_H

#include <windows.h>

#include <climits>
#include <cstddef>
#include <cstdint>

namespace apifuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return offset_ >= size_; }

    std::uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }

    std::uint32_t U32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t{Byte()} << (8 * i);
        return v;
    }

    bool Bool() { return (Byte() & 1) != 0; }

    // A value in [0, n).
    unsigned Below(unsigned n) { return n == 0 ? 0 : Byte() % n; }

    template <class T, std::size_t N>
    T Pick(const T (&values)[N]) {
        return values[Below(N)];
    }

    // A coordinate or extent: mostly near a small bitmap, sometimes at or
    // around the ends of int, sometimes any 32-bit value.
    int Int() {
        static const int kExtremes[] = {INT_MIN, INT_MIN + 1, -65537, -65536, -4097, 65535, 65536,
                                        65537,   1 << 30,     -(1 << 30), INT_MAX - 1, INT_MAX};
        const std::uint8_t kind = Byte();
        if (kind < 176) return static_cast<int>(Byte() % 80) - 8;
        if (kind < 232) return Pick(kExtremes);
        return static_cast<int>(U32());
    }

    // A count of lines or entries: mostly small, sometimes huge.
    UINT Count() {
        static const UINT kExtremes[] = {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 65536u, 65537u};
        const std::uint8_t kind = Byte();
        if (kind < 200) return Byte() % 72;
        if (kind < 240) return Pick(kExtremes);
        return U32();
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

}  // namespace apifuzz

#endif

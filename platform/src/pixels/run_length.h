// Run-length encoded pixels: RLE8 and RLE4 (Windows) and RLE24 (OS/2),
// decoded from any source of stream bytes into bottom-up rows. The loader
// feeds it from a file through its reading window, SetDIBits from the
// caller's memory.
#ifndef STANDIN_PIXELS_RUN_LENGTH_H
#define STANDIN_PIXELS_RUN_LENGTH_H

#include <cstddef>
#include <cstdint>

namespace standin {

enum class RleKind { Rle8, Rle4, Rle24 };

// Where decoded pixels go: a bottom-up block of 8-, 4- or 24-bit rows
// (matching the kind), zeroed beforehand. Pixels the stream skips keep 0.
struct RleTarget {
    std::uint8_t* pixels = nullptr;
    std::size_t stride = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The bytes of a stream, handed out a code or a run at a time.
class RleStream {
public:
    virtual ~RleStream() = default;
    // The next `count` bytes, valid until the next call; false when the
    // stream holds fewer.
    virtual bool Take(std::size_t count, const std::uint8_t** bytes) = 0;
};

// A stream held in memory, every byte bounds-checked.
class RleMemoryStream final : public RleStream {
public:
    RleMemoryStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Take(std::size_t count, const std::uint8_t** bytes) override {
        if (count > size_ - position_) return false;
        *bytes = data_ + position_;
        position_ += count;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Decodes `stream` into `target`. A run that reaches past the end of its row
// keeps the pixels that fit. Fails on a run above the last row, a move that
// leaves the picture and a stream that ends before reaching either an
// end-of-bitmap code or the end of the last row. Every step consumes input,
// so the work is bounded by the length of the stream.
bool DecodeRle(RleStream* stream, RleKind kind, const RleTarget& target);

}  // namespace standin

#endif

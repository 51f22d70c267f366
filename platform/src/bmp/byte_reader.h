// A bounds-checked little-endian reader over bytes held in memory. Every
// read says whether the bytes were there; nothing is ever read past the end
// and a failed read leaves the position where it was.
#ifndef STANDIN_BMP_BYTE_READER_H
#define STANDIN_BMP_BYTE_READER_H

#include <cstddef>
#include <cstdint>

namespace standin {
namespace bmp {

// A run of bytes owned elsewhere.
struct ByteSpan {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    // The bytes from `offset` on, or an empty span past the end.
    ByteSpan From(std::size_t offset) const {
        return offset <= size ? ByteSpan{data + offset, size - offset} : ByteSpan{};
    }
    // The first `count` bytes, or all of them when there are fewer.
    ByteSpan First(std::size_t count) const {
        return ByteSpan{data, count < size ? count : size};
    }
};

class ByteReader {
public:
    explicit ByteReader(ByteSpan bytes) : bytes_(bytes) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size - position_; }
    bool Has(std::size_t count) const { return count <= remaining(); }

    bool ReadU8(std::uint8_t* out) {
        if (!Has(1)) return false;
        *out = bytes_.data[position_++];
        return true;
    }
    bool ReadU16(std::uint16_t* out) {
        if (!Has(2)) return false;
        const std::uint8_t* p = bytes_.data + position_;
        *out = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
        position_ += 2;
        return true;
    }
    bool ReadU32(std::uint32_t* out) {
        if (!Has(4)) return false;
        const std::uint8_t* p = bytes_.data + position_;
        *out = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
               (std::uint32_t{p[3]} << 24);
        position_ += 4;
        return true;
    }
    bool ReadI32(std::int32_t* out) {
        std::uint32_t value;
        if (!ReadU32(&value)) return false;
        *out = static_cast<std::int32_t>(value);
        return true;
    }
    // Hands out the next `count` bytes without copying them.
    bool ReadSpan(std::size_t count, ByteSpan* out) {
        if (!Has(count)) return false;
        *out = ByteSpan{bytes_.data + position_, count};
        position_ += count;
        return true;
    }
    bool Skip(std::size_t count) {
        if (!Has(count)) return false;
        position_ += count;
        return true;
    }

private:
    ByteSpan bytes_;
    std::size_t position_ = 0;
};

}  // namespace bmp
}  // namespace standin

#endif

// A stretch of a file read through a bounded window that is refilled as the
// bytes are taken, with the bounds-checked reader's calls: every byte still
// passes through a ByteReader over the window. A request longer than the
// window, or past the end of the stretch, fails like a read past the end.
#ifndef STANDIN_BMP_WINDOW_READER_H
#define STANDIN_BMP_WINDOW_READER_H

#include "bmp/byte_reader.h"

#include "kernel/read_only_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace standin {
namespace bmp {

// Largest window: the longest row of the stored formats (65536 pixels of 64
// bits) fits several times over.
constexpr std::size_t kWindowBytes = std::size_t{2} << 20;

class WindowReader {
public:
    // Bytes [begin, end) of `file`, which outlives the reader. The window
    // takes the stretch's length, up to kWindowBytes.
    WindowReader(const kernel::ReadOnlyFile& file, std::uint64_t begin, std::uint64_t end);

    bool ReadU8(std::uint8_t* out) { return Fill(1) && reader_.ReadU8(out); }
    // Hands out the next `count` bytes, valid until the next call.
    bool ReadSpan(std::size_t count, ByteSpan* out) { return Fill(count) && reader_.ReadSpan(count, out); }
    bool Skip(std::size_t count) { return Fill(count) && reader_.Skip(count); }

    // Whether a read failed or the file turned out shorter than measured;
    // a failed reader has handed out only bytes that were really read.
    bool failed() const { return failed_; }

private:
    // Makes `count` bytes available in the window when the stretch holds
    // them, keeping the bytes not yet taken and reading more after them.
    bool Fill(std::size_t count) { return reader_.Has(count) || Refill(count); }
    bool Refill(std::size_t count);

    const kernel::ReadOnlyFile& file_;
    std::uint64_t next_;  // file offset of the first byte not yet in the window
    std::uint64_t end_;
    std::size_t capacity_;
    std::unique_ptr<std::uint8_t[]> window_;
    ByteReader reader_{ByteSpan{}};
    bool failed_ = false;
};

}  // namespace bmp
}  // namespace standin

#endif

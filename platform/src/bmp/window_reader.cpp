#include "bmp/window_reader.h"

#include <cstring>

namespace standin {
namespace bmp {

WindowReader::WindowReader(const kernel::ReadOnlyFile& file, std::uint64_t begin, std::uint64_t end)
    : file_(file),
      next_(begin),
      end_(end > begin ? end : begin),
      capacity_(static_cast<std::size_t>(end_ - begin < kWindowBytes ? end_ - begin : kWindowBytes)) {}

bool WindowReader::Refill(std::size_t count) {
    const std::size_t kept = reader_.remaining();
    if (failed_ || count > capacity_ || count - kept > end_ - next_) return false;
    if (!window_) window_.reset(new std::uint8_t[capacity_]);
    ByteSpan rest;
    if (reader_.ReadSpan(kept, &rest) && kept > 0) std::memmove(window_.get(), rest.data, kept);
    const std::uint64_t wanted64 = end_ - next_ < capacity_ - kept ? end_ - next_ : capacity_ - kept;
    const std::size_t wanted = static_cast<std::size_t>(wanted64);
    std::size_t got = 0;
    if (!file_.ReadAt(next_, window_.get() + kept, wanted, &got) || got < wanted) failed_ = true;
    next_ += got;
    reader_ = ByteReader(ByteSpan{window_.get(), kept + got});
    return reader_.Has(count);
}

}  // namespace bmp
}  // namespace standin

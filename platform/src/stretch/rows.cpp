#include "stretch/rows.h"

#include <cstring>

namespace standin {
namespace {

template <class Op>
void CombineBytes(const std::uint8_t* existing, std::size_t count, std::uint8_t* pixels, Op op) {
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] = static_cast<std::uint8_t>(op(existing[i], pixels[i]));
}

void ApplyRasterOp(RasterOp op, const std::uint8_t* existing, std::size_t count,
                   std::uint8_t* pixels) {
    switch (op) {
        case RasterOp::Copy:
            return;
        case RasterOp::And:
            return CombineBytes(existing, count, pixels, [](unsigned d, unsigned s) { return d & s; });
        case RasterOp::Or:
            return CombineBytes(existing, count, pixels, [](unsigned d, unsigned s) { return d | s; });
        case RasterOp::Xor:
            return CombineBytes(existing, count, pixels, [](unsigned d, unsigned s) { return d ^ s; });
    }
}

std::size_t WorkBytes(std::int32_t pixels) {
    return static_cast<std::size_t>(pixels) * kWorkBytesPerPixel;
}

}  // namespace

DecodedSource::DecodedSource(const Surface& surface, std::int32_t columnBegin,
                             std::int32_t columnEnd)
    : surface_(surface),
      codec_(surface.dib().format, surface.dib().colors.data(), surface.dib().colorCount),
      columnBegin_(columnBegin),
      columnCount_(columnEnd - columnBegin) {
    for (auto& slot : slots_) slot.resize(WorkBytes(columnCount_));
}

const std::uint8_t* DecodedSource::Row(std::int32_t y) {
    for (int i = 0; i < kSlots; ++i) {
        if (slotRow_[i] == y) {
            lastUsed_ = i;
            return slots_[i].data();
        }
    }
    const int slot = 1 - lastUsed_;
    codec_.Unpack(surface_.Row(y), columnBegin_, columnCount_, slots_[slot].data());
    slotRow_[slot] = y;
    lastUsed_ = slot;
    return slots_[slot].data();
}

EncodedTarget::EncodedTarget(const Surface& surface, DrawnRange columns, RasterOp op)
    : surface_(surface),
      codec_(surface.dib().format, surface.dib().colors.data(), surface.dib().colorCount),
      columns_(columns),
      op_(op),
      pixels_(WorkBytes(columns.count)) {
    if (op != RasterOp::Copy) existing_.resize(pixels_.size());
}

void EncodedTarget::Commit() {
    std::uint8_t* row = surface_.Row(row_);
    if (op_ != RasterOp::Copy) {
        codec_.Unpack(row, columns_.first, columns_.count, existing_.data());
        ApplyRasterOp(op_, existing_.data(), existing_.size(), pixels_.data());
    }
    codec_.Pack(pixels_.data(), columns_.first, columns_.count, row);
}

}  // namespace standin

#include "stretch/rows.h"

#include "pixels/pixel_values.h"

#include <cstring>

namespace standin {

void KeyToMonochrome(const RGBQUAD& background, std::uint8_t* pixels, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; i += kWorkBytesPerPixel) {
        const bool match = pixels[i] == background.rgbBlue && pixels[i + 1] == background.rgbGreen &&
                           pixels[i + 2] == background.rgbRed;
        const std::uint8_t level = match ? 255 : 0;
        pixels[i] = pixels[i + 1] = pixels[i + 2] = level;
        pixels[i + 3] = 0;
    }
}

namespace {

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

EncodedTarget::EncodedTarget(const Surface& surface, DrawnRange columns, const PixelOp& op)
    : surface_(surface),
      codec_(surface.dib().format, surface.dib().colors.data(), surface.dib().colorCount),
      columns_(columns),
      op_(op),
      pixels_(WorkBytes(columns.count)) {
    if (op.code == kSourceCopy) return;
    const int bitCount = surface.dib().format.bitCount;
    const auto count = static_cast<std::size_t>(columns.count);
    packed_.resize(static_cast<std::size_t>(DibStride(columns.count, bitCount)));
    if (bitCount >= 8) {
        patternBytes_ = std::make_unique<PatternRows<std::uint8_t>>(op.pattern, bitCount / 8, columns);
        return;
    }
    source_.resize(count);
    values_.resize(count);
    patternValues_ = std::make_unique<PatternRows<std::uint32_t>>(op.pattern, 0, columns);
}

void EncodedTarget::Commit() {
    std::uint8_t* row = surface_.Row(row_);
    if (op_.toMonochrome) KeyToMonochrome(op_.background, pixels_.data(), pixels_.size());
    if (op_.code == kSourceCopy) return codec_.Pack(pixels_.data(), columns_.first, columns_.count, row);
    const PixelFormat& format = surface_.dib().format;
    codec_.Pack(pixels_.data(), 0, columns_.count, packed_.data());
    if (format.bitCount >= 8) {
        // Whole-byte pixels: the operation runs on the row's bytes in place.
        const std::size_t pixelBytes = static_cast<std::size_t>(format.bitCount / 8);
        ApplyPatternOp(op_.code, *patternBytes_, row_, packed_.data(),
                       row + static_cast<std::size_t>(columns_.first) * pixelBytes, &byteScratch_);
        return;
    }
    ReadPixelValues(format, packed_.data(), 0, columns_.count, source_.data());
    ReadPixelValues(format, row, columns_.first, columns_.count, values_.data());
    ApplyPatternOp(op_.code, *patternValues_, row_, source_.data(), values_.data(), &valueScratch_);
    WritePixelValues(format, values_.data(), columns_.first, columns_.count, row);
}

}  // namespace standin

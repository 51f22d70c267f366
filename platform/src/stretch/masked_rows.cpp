#include "stretch/masked_rows.h"

#include "pixels/pixel_values.h"
#include "stretch/rows.h"

#include <cstring>

namespace standin {
namespace {

constexpr std::size_t kWork = kWorkBytesPerPixel;

// The drawn columns of one decoded source row, as working pixels.
void PickColumns(const RunTable& xs, const std::uint8_t* row, std::uint8_t* out) {
    for (std::size_t j = 0; j < xs.size(); ++j)
        std::memcpy(out + j * kWork, row + static_cast<std::size_t>(xs.first[j] - xs.sourceBegin) * kWork, kWork);
}

}  // namespace

MaskedTarget::MaskedTarget(const Surface& target, DrawnRange columns, const PixelOp& op, std::uint8_t otherCode)
    : surface_(target),
      codec_(target.dib().format, target.dib().colors.data(), target.dib().colorCount),
      columns_(columns),
      op_(op),
      otherCode_(otherCode) {
    const int bitCount = target.dib().format.bitCount;
    const auto count = static_cast<std::size_t>(columns.count);
    packed_.resize(static_cast<std::size_t>(DibStride(columns.count, bitCount)));
    if (bitCount >= 8) {
        patternBytes_ = std::make_unique<PatternRows<std::uint8_t>>(op.pattern, bitCount / 8, columns);
        return;
    }
    patternValues_ = std::make_unique<PatternRows<std::uint32_t>>(op.pattern, 0, columns);
    sourceValues_.resize(count);
    firstValues_.resize(count);
    secondValues_.resize(count);
}

void MaskedTarget::Write(std::int32_t y, std::uint8_t* source, const std::uint8_t* chosen) {
    const auto count = static_cast<std::size_t>(columns_.count);
    if (source != nullptr) {
        if (op_.toMonochrome) KeyToMonochrome(op_.background, source, count * kWork);
        codec_.Pack(source, 0, columns_.count, packed_.data());
    }
    std::uint8_t* row = surface_.Row(y);
    if (surface_.dib().format.bitCount >= 8) return CombineBytes(y, row, chosen);
    CombineValues(y, row, chosen);
}

// Whole-byte pixels: both operations run on copies of the row's bytes, and
// each pixel takes its bytes from the one it chose.
void MaskedTarget::CombineBytes(std::int32_t y, std::uint8_t* row, const std::uint8_t* chosen) {
    const std::size_t pixelBytes = static_cast<std::size_t>(surface_.dib().format.bitCount / 8);
    const std::size_t bytes = patternBytes_->count();
    std::uint8_t* dest = row + static_cast<std::size_t>(columns_.first) * pixelBytes;
    first_.assign(dest, dest + bytes);
    ApplyPatternOp(op_.code, *patternBytes_, y, packed_.data(), first_.data(), &byteScratch_);
    const bool keepOthers = otherCode_ == kDestinationKept;
    if (!keepOthers) {
        second_.assign(dest, dest + bytes);
        ApplyPatternOp(otherCode_, *patternBytes_, y, packed_.data(), second_.data(), &byteScratch_);
    }
    for (std::size_t j = 0; j < bytes / pixelBytes; ++j) {
        const std::size_t at = j * pixelBytes;
        if (chosen[j] != 0)
            std::memcpy(dest + at, first_.data() + at, pixelBytes);
        else if (!keepOthers)
            std::memcpy(dest + at, second_.data() + at, pixelBytes);
    }
}

void MaskedTarget::CombineValues(std::int32_t y, std::uint8_t* row, const std::uint8_t* chosen) {
    const PixelFormat& format = surface_.dib().format;
    const std::size_t count = firstValues_.size();
    ReadPixelValues(format, packed_.data(), 0, columns_.count, sourceValues_.data());
    ReadPixelValues(format, row, columns_.first, columns_.count, firstValues_.data());
    secondValues_ = firstValues_;
    ApplyPatternOp(op_.code, *patternValues_, y, sourceValues_.data(), firstValues_.data(), &valueScratch_);
    ApplyPatternOp(otherCode_, *patternValues_, y, sourceValues_.data(), secondValues_.data(), &valueScratch_);
    for (std::size_t j = 0; j < count; ++j)
        if (chosen[j] == 0) firstValues_[j] = secondValues_[j];
    WritePixelValues(format, firstValues_.data(), columns_.first, columns_.count, row);
}

void KeyedStretch(const StretchJob& job, RGBQUAD key) {
    const DibDescription& from = job.source.dib();
    const RunTable xs = BuildRunTable(job.x, job.columns, from.width, false);
    const RunTable ys = BuildRunTable(job.y, job.rows, from.height, false);
    std::vector<std::uint8_t> copy;
    DecodedSource source(SourceRows(job, ys.sourceBegin, ys.sourceEnd, &copy), xs.sourceBegin, xs.sourceEnd);
    MaskedTarget target(job.target, job.columns, job.op, kDestinationKept);
    const auto count = static_cast<std::size_t>(job.columns.count);
    std::vector<std::uint8_t> pixels(count * kWork), chosen(count);
    for (std::size_t i = 0; i < ys.size(); ++i) {
        PickColumns(xs, source.Row(ys.first[i]), pixels.data());
        for (std::size_t j = 0; j < count; ++j) {
            const std::uint8_t* px = pixels.data() + j * kWork;
            chosen[j] = px[0] != key.rgbBlue || px[1] != key.rgbGreen || px[2] != key.rgbRed;
        }
        target.Write(job.rows.first + static_cast<std::int32_t>(i), pixels.data(), chosen.data());
    }
}

void MaskedBlit(const StretchJob& job, std::uint8_t backCode, bool readsSource, const Surface* mask,
                std::int32_t maskOffsetX, std::int32_t maskOffsetY) {
    const auto count = static_cast<std::size_t>(job.columns.count);
    std::vector<std::uint8_t> pixels(readsSource ? count * kWork : 0), chosen(count, 1);
    std::vector<std::uint32_t> maskValues(mask != nullptr ? count : 0);
    RunTable xs, ys;
    std::vector<std::uint8_t> copy;
    Surface rows = job.source;
    if (readsSource) {
        xs = BuildRunTable(job.x, job.columns, job.source.dib().width, false);
        ys = BuildRunTable(job.y, job.rows, job.source.dib().height, false);
        rows = SourceRows(job, ys.sourceBegin, ys.sourceEnd, &copy);
    }
    DecodedSource source(rows, readsSource ? xs.sourceBegin : 0, readsSource ? xs.sourceEnd : 0);
    MaskedTarget target(job.target, job.columns, job.op, backCode);
    for (std::int32_t i = 0; i < job.rows.count; ++i) {
        const std::int32_t y = job.rows.first + i;
        if (readsSource) PickColumns(xs, source.Row(ys.first[static_cast<std::size_t>(i)]), pixels.data());
        if (mask != nullptr) {
            ReadPixelValues(mask->dib().format, mask->Row(y + maskOffsetY), job.columns.first + maskOffsetX,
                            job.columns.count, maskValues.data());
            for (std::size_t j = 0; j < count; ++j) chosen[j] = static_cast<std::uint8_t>(maskValues[j] & 1);
        }
        target.Write(y, readsSource ? pixels.data() : nullptr, chosen.data());
    }
}

}  // namespace standin

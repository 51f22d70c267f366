#include "stretch/blend.h"

#include "stretch/blend_rows.h"
#include "stretch/rows.h"

#include <cstring>
#include <vector>

namespace standin {
namespace {

constexpr int kPixelBytes = 4;

bool ContiguousColumns(const RunTable& xs) {
    for (std::size_t j = 1; j < xs.size(); ++j)
        if (xs.first[j] != xs.first[0] + static_cast<std::int32_t>(j)) return false;
    return true;
}

// The drawn columns of one source row as four-byte pixels: in place when
// they are consecutive, gathered into `gathered` otherwise.
const std::uint8_t* SourcePixels(const RunTable& xs, bool contiguous, const std::uint8_t* row,
                                 std::vector<std::uint8_t>* gathered) {
    if (contiguous) return row + static_cast<std::size_t>(xs.first[0] - xs.sourceBegin) * kPixelBytes;
    std::uint8_t* out = gathered->data();
    for (std::size_t j = 0; j < xs.size(); ++j, out += kPixelBytes)
        std::memcpy(out, row + static_cast<std::size_t>(xs.first[j] - xs.sourceBegin) * kPixelBytes, kPixelBytes);
    return gathered->data();
}

void BlendPixels(const BlendParameters& blend, const std::uint8_t* src, std::uint8_t* dst, std::size_t count) {
    if (blend.perPixel) return BlendPremultipliedRow(src, dst, count);
    BlendConstantRow(src, dst, count, blend.constantAlpha);
}

template <class Source>
void BlendRows(const StretchJob& job, const BlendParameters& blend, const RunTable& xs, const RunTable& ys,
               Source source) {
    const auto count = static_cast<std::size_t>(job.columns.count);
    const bool contiguous = ContiguousColumns(xs);
    const bool scale = blend.perPixel && blend.constantAlpha != 255;
    const bool inPlace = job.target.dib().format.hasFourthByte();
    std::vector<std::uint8_t> gathered(contiguous ? 0 : count * kPixelBytes);
    std::vector<std::uint8_t> scaled(scale ? count * kPixelBytes : 0);
    std::vector<std::uint8_t> work(inPlace ? 0 : count * kPixelBytes);
    const DibDescription& to = job.target.dib();
    RowCodec codec(to.format, to.colors.data(), to.colorCount);
    for (std::size_t i = 0; i < ys.size(); ++i) {
        const std::uint8_t* src = SourcePixels(xs, contiguous, source.Row(ys.first[i]), &gathered);
        if (scale) {
            ScaleRow(src, scaled.data(), scaled.size(), blend.constantAlpha);
            src = scaled.data();
        }
        std::uint8_t* row = job.target.Row(job.rows.first + static_cast<std::int32_t>(i));
        if (inPlace) {
            BlendPixels(blend, src, row + static_cast<std::size_t>(job.columns.first) * kPixelBytes, count);
            continue;
        }
        codec.Unpack(row, job.columns.first, job.columns.count, work.data());
        BlendPixels(blend, src, work.data(), count);
        codec.Pack(work.data(), job.columns.first, job.columns.count, row);
    }
}

}  // namespace

bool HasAlphaByte(const PixelFormat& format) {
    if (format.bitCount != 32) return false;
    if (!format.bitfields) return true;
    return format.red.mask == 0x00FF0000 && format.green.mask == 0x0000FF00 && format.blue.mask == 0x000000FF;
}

void BlendStretch(const StretchJob& job, const BlendParameters& blend) {
    const DibDescription& from = job.source.dib();
    const RunTable xs = BuildRunTable(job.x, job.columns, from.width, false);
    const RunTable ys = BuildRunTable(job.y, job.rows, from.height, false);
    if (HasAlphaByte(from.format))
        return BlendRows(job, blend, xs, ys, DirectSource<kPixelBytes>(job.source, xs.sourceBegin));
    BlendRows(job, blend, xs, ys, DecodedSource(job.source, xs.sourceBegin, xs.sourceEnd));
}

}  // namespace standin

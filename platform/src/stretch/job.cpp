#include "stretch/job.h"

namespace standin {
namespace {

bool IsPlainBgrx(const PixelFormat& f) { return f.bitCount == 32 && !f.bitfields; }

}  // namespace

int DirectFormatBytes(const StretchJob& job) {
    const PixelFormat& from = job.source.dib().format;
    const PixelFormat& to = job.target.dib().format;
    if (from.bitCount == 24 && to.bitCount == 24) return 3;
    if (IsPlainBgrx(from) && IsPlainBgrx(to)) return 4;
    return 0;
}

int DirectPixelBytes(const StretchJob& job) {
    return job.op.code == kSourceCopy ? DirectFormatBytes(job) : 0;
}

Surface SourceRows(const StretchJob& job, std::int32_t rowBegin, std::int32_t rowEnd,
                   std::vector<std::uint8_t>* storage) {
    if (!job.sharedPixels) return job.source;
    return job.source.CopyRows(rowBegin, rowEnd, storage);
}

}  // namespace standin

#include "stretch/job.h"

namespace standin {
namespace {

bool IsPlainBgrx(const PixelFormat& f) { return f.bitCount == 32 && !f.bitfields; }

}  // namespace

bool PlaceStretch(StretchJob* job, std::int64_t xDest, std::int64_t yDest, std::int64_t wDest,
                  std::int64_t hDest, std::int64_t xSrc, std::int64_t ySrc, std::int64_t wSrc,
                  std::int64_t hSrc) {
    if (!MakeAxisMapping(xDest, wDest, xSrc, wSrc, &job->x) || !MakeAxisMapping(yDest, hDest, ySrc, hSrc, &job->y))
        return false;
    const DibDescription& target = job->target.dib();
    const DibDescription& source = job->source.dib();
    job->columns = ClipAxis(job->x, target.width, source.width);
    job->rows = ClipAxis(job->y, target.height, source.height);
    return job->columns.count != 0 && job->rows.count != 0;
}

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

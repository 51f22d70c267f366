#include "stretch/parallelogram.h"

#include "pixels/pixel_values.h"
#include "pixels/row_codec.h"
#include "stretch/exact_steps.h"
#include "stretch/masked_rows.h"

#include <algorithm>
#include <vector>

namespace standin {
namespace {

std::int32_t Wrap(std::int64_t v, std::int32_t size) {
    const std::int64_t m = v % size;
    return static_cast<std::int32_t>(m < 0 ? m + size : m);
}

}  // namespace

bool HasArea(const Parallelogram& p) {
    return (p.bx - p.ax) * (p.cy - p.ay) - (p.by - p.ay) * (p.cx - p.ax) != 0;
}

void ParallelogramBlit(const StretchJob& job, const Parallelogram& p, const Surface* mask, std::int32_t xMask,
                       std::int32_t yMask, const RGBQUAD* key) {
    const std::int64_t abx = p.bx - p.ax, aby = p.by - p.ay, acx = p.cx - p.ax, acy = p.cy - p.ay;
    std::int64_t det = abx * acy - aby * acx;
    const int sign = det < 0 ? -1 : 1;
    det *= sign;
    // With P and A doubled (centres are odd), s = cross(P - A, AC) / (2 det)
    // and t = cross(AB, P - A) / (2 det).
    const Wide denominator = Wide{2} * det;
    const std::int64_t dx = p.bx + p.cx - p.ax;  // D
    const std::int64_t dy = p.by + p.cy - p.ay;
    const std::int64_t left = std::max<std::int64_t>(job.columns.first, std::min({p.ax, p.bx, p.cx, dx}));
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{job.columns.first} + job.columns.count, std::max({p.ax, p.bx, p.cx, dx}));
    const std::int64_t top = std::max<std::int64_t>(job.rows.first, std::min({p.ay, p.by, p.cy, dy}));
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{job.rows.first} + job.rows.count, std::max({p.ay, p.by, p.cy, dy}));
    if (left >= right || top >= bottom) return;

    const DibDescription& from = job.source.dib();
    const std::int32_t srcTop = std::max(p.ySrc, 0);
    const std::int32_t srcBottom = static_cast<std::int32_t>(std::min<std::int64_t>(from.height, std::int64_t{p.ySrc} + p.height));
    if (srcTop >= srcBottom) return;
    std::vector<std::uint8_t> copy;
    const Surface source = SourceRows(job, srcTop, srcBottom, &copy);
    RowCodec codec(from.format, from.colors.data(), from.colorCount);

    const DrawnRange columns{static_cast<std::int32_t>(left), static_cast<std::int32_t>(right - left)};
    MaskedTarget target(job.target, columns, job.op, kDestinationKept);
    const auto count = static_cast<std::size_t>(columns.count);
    std::vector<std::uint8_t> pixels(count * kWorkBytesPerPixel), chosen(count);
    std::uint32_t bit = 0;
    for (std::int64_t y = top; y < bottom; ++y) {
        const std::int64_t py = 2 * y + 1 - 2 * p.ay, px = 2 * left + 1 - 2 * p.ax;
        // Source column and row offsets under each centre of this row.
        ExactStepper column(Wide{sign} * (Wide{px} * acy - Wide{py} * acx) * p.width, Wide{sign} * 2 * acy * p.width,
                       denominator);
        ExactStepper row(Wide{sign} * (Wide{abx} * py - Wide{aby} * px) * p.height, Wide{sign} * -2 * aby * p.height,
                    denominator);
        bool any = false;
        for (std::size_t j = 0; j < count; ++j, column.Next(), row.Next()) {
            const Wide s = column.value(), t = row.value();
            chosen[j] = 0;
            if (s < 0 || s >= p.width || t < 0 || t >= p.height) continue;
            const std::int64_t sx = p.xSrc + static_cast<std::int64_t>(s), sy = p.ySrc + static_cast<std::int64_t>(t);
            if (sx < 0 || sx >= from.width || sy < srcTop || sy >= srcBottom) continue;
            if (mask != nullptr) {
                const DibDescription& m = mask->dib();
                ReadPixelValues(m.format, mask->Row(Wrap(yMask + static_cast<std::int64_t>(t), m.height)),
                                Wrap(xMask + static_cast<std::int64_t>(s), m.width), 1, &bit);
                if ((bit & 1) == 0) continue;
            }
            std::uint8_t* px = &pixels[j * kWorkBytesPerPixel];
            codec.Unpack(source.Row(static_cast<std::int32_t>(sy)), static_cast<int>(sx), 1, px);
            if (key != nullptr && px[0] == key->rgbBlue && px[1] == key->rgbGreen && px[2] == key->rgbRed) continue;
            chosen[j] = 1;
            any = true;
        }
        if (any) target.Write(static_cast<std::int32_t>(y), pixels.data(), chosen.data());
    }
}

}  // namespace standin

// Area averaging: every destination pixel is the coverage-weighted mean of
// the source area under it, in integers, rounded half up.
//
// Two separable passes a destination row at a time: the source rows under
// the row are summed with their vertical weights into one row of column
// sums, then each destination pixel sums its columns with their horizontal
// weights and divides by the product of the two axes' divisors. All four
// bytes of a working pixel are averaged; the fourth carries data only in
// 32-bit BI_RGB. Memory is a row of sums plus the weight tables (and a copy
// of the source rows when source and destination are one bitmap).
//
// An exact 2:1 reduction on both axes takes a shorter route to the same bytes,
// and so do rows read in place on processors with AVX-512 (row_first.h),
// which weigh both axes at once.
#include "stretch/column_average.h"
#include "stretch/fast_paths.h"
#include "stretch/row_first.h"
#include "stretch/row_sums.h"
#include "stretch/rows.h"
#include "support/blit_routes.h"
#include "support/simd_support.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace standin {
namespace {

constexpr std::uint64_t kMaxLevel = 255;

// The two-pass route's name, by the kernels its passes take (row_sums.cpp,
// column_average.cpp): AVX2 for both, SSE2 rows and scalar columns, or
// scalar for both.
const char* TwoPassRouteName() {
#ifdef STANDIN_HAVE_SSSE3
    if (HasAvx2()) return "HALFTONE two-pass AVX2";
#endif
#if defined(__SSE2__)
    if (CurrentSimdLimit() != SimdLimit::Portable) return "HALFTONE two-pass SSE2";
#endif
    return "HALFTONE two-pass scalar";
}

// Sums the source rows under destination row `i` into `sums`, two at a time.
template <class Sum, class Source>
void SumRows(const CoverageTable& ys, std::size_t i, std::size_t width, Source& source, Sum* sums) {
    const std::uint32_t* weights = ys.Weights(i);
    const std::int32_t first = ys.first[i];
    const int count = ys.Count(i);
    // Rows read in place (decoded ones share two slots): three or four of
    // them in one pass, a missing fourth weighing 0.
    if constexpr (std::is_same_v<Sum, std::uint32_t> && !std::is_same_v<Source, DecodedSource>) {
        if (count == 3 || count == 4) {
            const std::uint8_t* rows[4] = {source.Row(first), source.Row(first + 1), source.Row(first + 2),
                                           source.Row(first + count - 1)};
            const std::uint32_t quad[4] = {weights[0], weights[1], weights[2], count == 4 ? weights[3] : 0};
            if (AssignRowQuad(rows, quad, width, sums)) return;
        }
    }
    for (int t = 0; t < count; t += 2) {
        const std::uint8_t* a = source.Row(first + t);
        if (t + 1 < count) {
            AddRowPair(a, weights[t], source.Row(first + t + 1), weights[t + 1], width, t == 0, sums);
        } else {
            AddRowPair(a, weights[t], a, 0, width, t == 0, sums);
        }
    }
}

// The source rows destination row `i + 1` reads that row `i` did not, for
// rows read in place (decoded rows are made on demand). Rows lie one
// stride apart in either order, so they span one range of addresses.
template <class Source>
ReadAhead RowsReadNext(const CoverageTable& ys, std::size_t i, std::size_t width, Source& source) {
    if constexpr (std::is_same_v<Source, DecodedSource>) {
        return {};
    } else {
        if (i + 1 >= ys.size()) return {};
        const std::int32_t from = std::max(ys.first[i] + ys.Count(i), ys.first[i + 1]);
        const std::int32_t last = ys.first[i + 1] + ys.Count(i + 1) - 1;
        if (from > last) return {};
        const char* a = reinterpret_cast<const char*>(source.Row(from));
        const char* b = reinterpret_cast<const char*>(source.Row(last));
        return {std::min(a, b), std::max(a, b) + width};
    }
}

// The AVX-512 route for rows read in place; false when it does not apply.
template <class Source, class Target>
bool AverageRowsFirst(const CoverageTable& xs, const CoverageTable& ys, std::int32_t destTop, Source& source,
                      Target& target) {
    if constexpr (std::is_same_v<Source, DecodedSource>) {
        return false;
    } else {
        static_assert(!std::is_same_v<Target, EncodedTarget>, "rows read in place are written in place");
        const RowFirstAverager averager(xs, ys, Source::kPixelBytes);
        if (!averager.usable()) return false;
        std::vector<const std::uint8_t*> rows;
        const auto gather = [&](std::int32_t first, int count) {
            rows.resize(static_cast<std::size_t>(count));
            for (int t = 0; t < count; ++t) rows[static_cast<std::size_t>(t)] = source.Row(first + t);
        };
        for (std::size_t i = 0; i < ys.size();) {
            const int count = ys.Count(i);
            std::uint8_t* out = target.Row(destTop + static_cast<std::int32_t>(i));
            // The next row starting on this one's last source row: both in one pass.
            if (i + 1 < ys.size() && ys.first[i + 1] == ys.first[i] + count - 1) {
                const int next = ys.Count(i + 1);
                gather(ys.first[i], count + next - 1);
                std::uint8_t* nextOut = target.Row(destTop + static_cast<std::int32_t>(i + 1));
                if (averager.AverageRowPair(rows.data(), ys.Weights(i), count, ys.Weights(i + 1), next, out,
                                            nextOut)) {
                    target.Commit();
                    i += 2;
                    continue;
                }
            }
            gather(ys.first[i], count);
            averager.AverageRow(rows.data(), ys.Weights(i), count, out);
            target.Commit();
            ++i;
        }
        return true;
    }
}

template <class Sum, class Source, class Target>
void AverageRows(const CoverageTable& xs, const CoverageTable& ys, std::int32_t destTop,
                 Source& source, Target& target) {
    constexpr int N = Source::kPixelBytes;
    const ColumnAverager columns(xs, N, ys.divisor);
    const std::size_t width = static_cast<std::size_t>(xs.sourceEnd - xs.sourceBegin) * N;
    std::vector<Sum> sums(columns.SumsLength());
    for (std::size_t i = 0; i < ys.size(); ++i) {
        SumRows(ys, i, width, source, sums.data());
        std::uint8_t* out = target.Row(destTop + static_cast<std::int32_t>(i));
        if constexpr (std::is_same_v<Sum, std::uint32_t>) {
            columns.Average(sums.data(), out, RowsReadNext(ys, i, width, source));
        } else {
            columns.Average(sums.data(), out);
        }
        target.Commit();
    }
}

template <class Source, class Target>
void HalveArea(const CoverageTable& xs, const CoverageTable& ys, std::int32_t destTop,
               Source& source, Target& target) {
    const auto count = static_cast<std::int32_t>(xs.size());
    std::vector<std::uint8_t> scratch;
    for (std::size_t i = 0; i < ys.size(); ++i) {
        const std::uint8_t* top = source.Row(ys.first[i]);
        const std::uint8_t* bottom = source.Row(ys.first[i] + 1);
        HalveRows(Source::kPixelBytes, top, bottom, count,
                  target.Row(destTop + static_cast<std::int32_t>(i)), &scratch);
        target.Commit();
    }
}

template <class Source, class Target>
void Average(const CoverageTable& xs, const CoverageTable& ys, std::int32_t destTop,
             Source source, Target target) {
    static_assert(Source::kPixelBytes == Target::kPixelBytes, "one pixel layout on both sides");
    if (DedicatedRoutesAllowed() && IsExactHalving(xs) && IsExactHalving(ys)) {
        RecordBlitRoute(HalvingRouteName(Source::kPixelBytes));
        return HalveArea(xs, ys, destTop, source, target);
    }
    if (DedicatedRoutesAllowed() && AverageRowsFirst(xs, ys, destTop, source, target)) {
        RecordBlitRoute("HALFTONE row-first AVX-512");
        return;
    }
    // Column sums fit 32 bits unless the vertical divisor is enormous.
    if (kMaxLevel * ys.divisor <= UINT32_MAX) {
        RecordBlitRoute(std::is_same_v<Source, DecodedSource> ? "HALFTONE two-pass, decoded rows"
                                                              : TwoPassRouteName());
        return AverageRows<std::uint32_t>(xs, ys, destTop, source, target);
    }
    RecordBlitRoute("HALFTONE two-pass, 64-bit sums");
    AverageRows<std::uint64_t>(xs, ys, destTop, source, target);
}

}  // namespace

void AverageArea(const StretchJob& job) {
    const DibDescription& from = job.source.dib();
    const CoverageTable xs = BuildCoverageTable(job.x, job.columns, from.width);
    const CoverageTable ys = BuildCoverageTable(job.y, job.rows, from.height);
    std::vector<std::uint8_t> copy;
    const Surface source = SourceRows(job, ys.sourceBegin, ys.sourceEnd, &copy);
    const std::int32_t top = job.rows.first;
    switch (DirectPixelBytes(job)) {
        case 3:
            return Average(xs, ys, top, DirectSource<3>(source, xs.sourceBegin),
                           DirectTarget<3>(job.target, job.columns.first));
        case 4:
            return Average(xs, ys, top, DirectSource<4>(source, xs.sourceBegin),
                           DirectTarget<4>(job.target, job.columns.first));
        default:
            return Average(xs, ys, top, DecodedSource(source, xs.sourceBegin, xs.sourceEnd),
                           EncodedTarget(job.target, job.columns, job.op));
    }
}

}  // namespace standin

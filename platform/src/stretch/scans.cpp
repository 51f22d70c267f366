// The three scan modes. Each destination pixel takes a run of source pixels
// per axis from a RunTable: COLORONCOLOR takes the one pixel under its
// centre (deleting the eliminated rows and columns), BLACKONWHITE ANDs and
// WHITEONBLACK ORs together every source pixel whose centre falls into it.
// On an axis that enlarges every mode takes the pixel under the centre, so
// enlargement replicates. The working pixels are combined byte by byte, so
// AND keeps black and OR keeps white.
#include "stretch/fast_paths.h"
#include "stretch/rows.h"
#include "support/blit_routes.h"

#include <cstring>
#include <optional>
#include <type_traits>
#include <vector>

namespace standin {
namespace {

struct AndBytes {
    std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const {
        return static_cast<std::uint8_t>(a & b);
    }
};

struct OrBytes {
    std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const {
        return static_cast<std::uint8_t>(a | b);
    }
};

template <class Op>
void MergeRow(const std::uint8_t* row, std::size_t n, std::uint8_t* merged, Op op) {
    for (std::size_t i = 0; i < n; ++i) merged[i] = op(merged[i], row[i]);
}

template <int N, class Op>
void GatherColumns(const RunTable& xs, const std::uint8_t* row, std::uint8_t* out, Op op) {
    for (std::size_t j = 0; j < xs.size(); ++j, out += N) {
        const std::uint8_t* px = row + static_cast<std::size_t>(xs.first[j] - xs.sourceBegin) * N;
        for (int c = 0; c < N; ++c) out[c] = px[c];
        for (std::int32_t t = 1; t < xs.count[j]; ++t)
            for (int c = 0; c < N; ++c) out[c] = op(out[c], px[t * N + c]);
    }
}

// Every destination pixel takes exactly one source pixel (COLORONCOLOR,
// or any mode that does not reduce): a plain gather, no combining.
// `everyOther` says the table picks every other column (2:1), which is
// taken in vector steps first.
// `shuffles`, where it covers pixels, takes the first ones of any other
// table (`nextRow` is the row the next call reads, for asking ahead).
template <int N>
void PickColumns(const RunTable& xs, bool everyOther, const PickShuffles* shuffles, const std::uint8_t* row,
                 const std::uint8_t* nextRow, std::uint8_t* out) {
    const std::int32_t* first = xs.first.data();
    const std::size_t count = xs.size();
    std::size_t j = 0;
    if (shuffles != nullptr) {
        shuffles->Pick(row, nextRow, out);
        j = shuffles->covered();
        out += j * N;
    } else if (everyOther && count > 0) {
        const std::uint8_t* from = row + static_cast<std::size_t>(first[0] - xs.sourceBegin) * N;
        const std::int32_t available = xs.sourceEnd - first[0];
        const auto wanted = static_cast<std::int32_t>(count);
        j = static_cast<std::size_t>(N == 3 ? PickEveryOtherOf3(from, available, wanted, out)
                                            : PickEveryOtherOf4(from, available, wanted, out));
        out += j * N;
    }
    for (; j < count; ++j, out += N)
        std::memcpy(out, row + static_cast<std::size_t>(first[j] - xs.sourceBegin) * N, N);
}

bool SinglePixelRuns(const RunTable& table) {
    for (std::int32_t count : table.count)
        if (count != 1) return false;
    return true;
}

// The scan route's name: a vector 2:1 pick, or picks or merges of rows read
// in place or decoded to working pixels.
const char* ScanRouteName(bool decoded, bool pick, const char* everyOther) {
    if (everyOther != nullptr) return everyOther;
    if (decoded) return pick ? "scan picks, decoded rows" : "scan merges, decoded rows";
    return pick ? "scan picks" : "scan merges";
}

template <class Op, class Source, class Target>
void ScanRows(const RunTable& xs, const RunTable& ys, std::int32_t destTop, Source source,
              Target target, Op op) {
    static_assert(Source::kPixelBytes == Target::kPixelBytes, "one pixel layout on both sides");
    constexpr int N = Source::kPixelBytes;
    const std::size_t width = static_cast<std::size_t>(xs.sourceEnd - xs.sourceBegin) * N;
    const bool pick = SinglePixelRuns(xs);
    const bool everyOther = pick && DedicatedRoutesAllowed() && PicksEveryOtherColumn(xs) &&
                            PickEveryOtherRouteName(N) != nullptr;
    // Other picks of rows read in place go by shuffles where the processor
    // has them.
    std::optional<PickShuffles> shuffles;
    if (pick && !everyOther && DedicatedRoutesAllowed() && !std::is_same_v<Source, DecodedSource>)
        shuffles.emplace(xs, N);
    if (shuffles && shuffles->covered() == 0) shuffles.reset();
    RecordBlitRoute(shuffles ? shuffles->routeName()
                             : ScanRouteName(std::is_same_v<Source, DecodedSource>, pick,
                                             everyOther ? PickEveryOtherRouteName(N) : nullptr));
    std::vector<std::uint8_t> merged;
    for (std::size_t i = 0; i < ys.size(); ++i) {
        const std::int32_t first = ys.first[i];
        const std::uint8_t* row = source.Row(first);
        if (ys.count[i] > 1) {
            merged.assign(row, row + width);
            for (std::int32_t t = 1; t < ys.count[i]; ++t)
                MergeRow(source.Row(first + t), width, merged.data(), op);
            row = merged.data();
        }
        std::uint8_t* out = target.Row(destTop + static_cast<std::int32_t>(i));
        if (pick) {
            // The row the next destination row keeps, where it is read in place.
            const std::uint8_t* next = nullptr;
            if (shuffles && i + 1 < ys.size()) next = source.Row(ys.first[i + 1]);
            PickColumns<N>(xs, everyOther, shuffles ? &*shuffles : nullptr, row, next, out);
        }
        else
            GatherColumns<N>(xs, row, out, op);
        target.Commit();
    }
}

template <class Op>
void ScanWith(const StretchJob& job, const RunTable& xs, const RunTable& ys, const Surface& source,
              Op op) {
    const std::int32_t top = job.rows.first;
    switch (DirectPixelBytes(job)) {
        case 3:
            return ScanRows(xs, ys, top, DirectSource<3>(source, xs.sourceBegin),
                            DirectTarget<3>(job.target, job.columns.first), op);
        case 4:
            return ScanRows(xs, ys, top, DirectSource<4>(source, xs.sourceBegin),
                            DirectTarget<4>(job.target, job.columns.first), op);
        default:
            return ScanRows(xs, ys, top, DecodedSource(source, xs.sourceBegin, xs.sourceEnd),
                            EncodedTarget(job.target, job.columns, job.op), op);
    }
}

}  // namespace

void ScanStretch(const StretchJob& job, ScanMode mode) {
    const DibDescription& from = job.source.dib();
    const bool combine = mode != ScanMode::Delete;
    const RunTable xs = BuildRunTable(job.x, job.columns, from.width, combine);
    const RunTable ys = BuildRunTable(job.y, job.rows, from.height, combine);
    std::vector<std::uint8_t> copy;
    const Surface source = SourceRows(job, ys.sourceBegin, ys.sourceEnd, &copy);
    if (mode == ScanMode::Or) return ScanWith(job, xs, ys, source, OrBytes{});
    ScanWith(job, xs, ys, source, AndBytes{});
}

}  // namespace standin

// StretchBlt between 24-bit or 32-bit DIB sections: HALFTONE and
// COLORONCOLOR reductions of the large picture (each also by the general
// route), and the same reductions of smaller pictures to show how the cost grows with the pixel count.
#include "bench_cases.h"
#include "heap_counter.h"
#include "pictures.h"

#include <benchmark/benchmark.h>
#include <standin/testing.h>

#include <algorithm>
#include <string>

namespace bench {
namespace {

struct StretchCase {
    int mode;
    int bitCount;
    int sourceSide;
    int targetSide;
    bool general = false;  // every dedicated route off (standin::UseDedicatedRoutes)
};

const char* ModeName(int mode) { return mode == HALFTONE ? "HALFTONE" : "COLORONCOLOR"; }

std::string CaseName(const StretchCase& c) {
    return std::string("StretchBlt/") + ModeName(c.mode) + "/" + std::to_string(c.bitCount) + "bit/" +
           std::to_string(c.sourceSide) + "->" + std::to_string(c.targetSide) + (c.general ? "/general" : "");
}

void RunStretch(benchmark::State& state, StretchCase c) {
    Canvas& source = SharedPicture(c.sourceSide, c.bitCount);
    Canvas target(c.targetSide, c.targetSide, c.bitCount, false);
    source.Select();
    target.Select();
    SetStretchBltMode(target.dc(), c.mode);
    std::size_t extraHeap = 0;
    standin::UseDedicatedRoutes(!c.general);
    for (auto _ : state) {
        StartHeapWatch();
        if (!StretchBlt(target.dc(), 0, 0, c.targetSide, c.targetSide, source.dc(), 0, 0,
                        c.sourceSide, c.sourceSide, SRCCOPY)) {
            state.SkipWithError("StretchBlt failed");
            break;
        }
        extraHeap = std::max(extraHeap, HeapPeakSinceWatch());
        benchmark::ClobberMemory();
    }
    standin::UseDedicatedRoutes(true);
    // The route that ran, for the report.
    state.SetLabel(standin::LastBlitRoute());
    source.Deselect();
    state.SetItemsProcessed(state.iterations() * c.sourceSide * c.sourceSide);
    state.counters["extra_heap_bytes"] = static_cast<double>(extraHeap);
}

}  // namespace

void RegisterStretchBenchmarks() {
    for (int mode : {HALFTONE, COLORONCOLOR})
        for (int bitCount : {24, 32})
            for (int targetSide : {2048, 1500})
                for (bool general : {false, true}) {
                    // The general route too, to show what each dedicated one saves.
                    const StretchCase c{mode, bitCount, kLargeSide, targetSide, general};
                    benchmark::RegisterBenchmark(CaseName(c).c_str(), RunStretch, c)->UseRealTime();
                }
    // Growth with size: the same two ratios on smaller pictures, and on a
    // larger one, since the large picture is the first that outgrows the
    // last-level cache and the step from it to the next shows the trend.
    for (int sourceSide : {1024, 2048, 2 * kLargeSide})
        for (int targetSide : {sourceSide / 2, sourceSide * 1500 / kLargeSide}) {
            const StretchCase c{HALFTONE, 24, sourceSide, targetSide};
            benchmark::RegisterBenchmark(CaseName(c).c_str(), RunStretch, c)->UseRealTime();
        }
}

}  // namespace bench

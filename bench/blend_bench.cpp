// AlphaBlend of the large 32-bit picture onto another with per-pixel alpha
// (AC_SRC_ALPHA): the row kernel that reads both pictures and writes one.
#include "bench_cases.h"
#include "pictures.h"

#include <benchmark/benchmark.h>

namespace bench {
namespace {

void RunBlend(benchmark::State& state) {
    Canvas& source = SharedPicture(kLargeSide, 32);
    Canvas target(kLargeSide, kLargeSide, 32, false);
    source.Select();
    target.Select();
    const BLENDFUNCTION function = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (auto _ : state) {
        if (!AlphaBlend(target.dc(), 0, 0, kLargeSide, kLargeSide, source.dc(), 0, 0, kLargeSide, kLargeSide,
                        function)) {
            state.SkipWithError("AlphaBlend failed");
            break;
        }
        benchmark::ClobberMemory();
    }
    source.Deselect();
    state.SetItemsProcessed(state.iterations() * kLargeSide * kLargeSide);
}

}  // namespace

void RegisterBlendBenchmarks() {
    benchmark::RegisterBenchmark("AlphaBlend/perpixel/32bit/4096x4096", RunBlend)->UseRealTime();
}

}  // namespace bench

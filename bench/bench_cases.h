// The benchmark groups; main registers them in this order.
#ifndef BENCH_CASES_H
#define BENCH_CASES_H

namespace bench {

void RegisterStretchBenchmarks();
void RegisterBlitBenchmarks();
void RegisterBlendBenchmarks();
void RegisterTransferBenchmarks();
void RegisterFileBenchmarks();

}  // namespace bench

#endif

// Counts the bytes held through operator new, so a benchmark can report the
// most extra memory one call took on top of what was held before it.
#ifndef BENCH_HEAP_COUNTER_H
#define BENCH_HEAP_COUNTER_H

#include <cstddef>

namespace bench {

// Starts watching: the peak is reset to what is held now.
void StartHeapWatch();
// Bytes above the level at StartHeapWatch that were held at the peak since.
std::size_t HeapPeakSinceWatch();

}  // namespace bench

#endif

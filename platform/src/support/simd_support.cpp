#include "support/simd_support.h"
#include "support/streaming_stores.h"

#include <atomic>

namespace standin {
namespace {

std::atomic<SimdLimit> limit{SimdLimit::All};

}  // namespace

SimdLimit CurrentSimdLimit() { return limit.load(std::memory_order_relaxed); }

void LimitSimd(SimdLimit value) { limit.store(value, std::memory_order_relaxed); }

void FinishStreamingStores() {
#ifdef STANDIN_HAVE_SSSE3
    _mm_sfence();
#endif
}

}  // namespace standin

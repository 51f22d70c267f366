#include "support/simd_support.h"

#include <atomic>

namespace standin {
namespace {

std::atomic<SimdLimit> limit{SimdLimit::All};

}  // namespace

SimdLimit CurrentSimdLimit() { return limit.load(std::memory_order_relaxed); }

void LimitSimd(SimdLimit value) { limit.store(value, std::memory_order_relaxed); }

}  // namespace standin

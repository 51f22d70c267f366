#include "support/large_blocks.h"

#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

namespace standin {
namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// Below two huge pages the rounding would waste more than it saves.
constexpr std::size_t kLargeBlockBytes = 2 * kHugePageBytes;

}  // namespace

void* AllocateBlock(std::size_t bytes, bool zeroed) {
    if (bytes == 0) bytes = 1;
    if (bytes < kLargeBlockBytes) return zeroed ? std::calloc(bytes, 1) : std::malloc(bytes);
    const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    void* block = std::aligned_alloc(kHugePageBytes, rounded);
    if (block == nullptr) return nullptr;
#ifdef MADV_HUGEPAGE
    // Advice only: where huge pages are off or exhausted it changes nothing.
    ::madvise(block, rounded, MADV_HUGEPAGE);
#endif
    if (zeroed) std::memset(block, 0, bytes);
    return block;
}

}  // namespace standin

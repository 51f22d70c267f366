#include "support/large_blocks.h"

#include <cstdint>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

namespace standin {
namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// Below two huge pages the rounding would waste more than it saves.
constexpr std::size_t kLargeBlockBytes = 2 * kHugePageBytes;

// Gives `advice` for the pages of `unit` bytes lying wholly inside a block.
void AdviseWholeUnits(void* block, std::size_t bytes, std::size_t unit, int advice) {
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (begin + unit - 1) / unit * unit;
    const std::uintptr_t last = (begin + bytes) / unit * unit;
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, advice);
}

// Offers the 2 MiB pages lying wholly inside a block for huge pages.
void AdviseHugePages(void* block, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    // Advice only: where huge pages are off or exhausted it changes nothing.
    AdviseWholeUnits(block, bytes, kHugePageBytes, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

std::size_t PageBytes() {
    static const long page = ::sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<std::size_t>(page) : 4096;
}

}  // namespace

std::size_t PageRounded(std::size_t bytes) {
    const std::size_t page = PageBytes();
    if (bytes == 0) return page;
    return (bytes + page - 1) / page * page;
}

void* AllocatePages(std::size_t bytes) {
    const std::size_t rounded = PageRounded(bytes);
    void* block = ::mmap(nullptr, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
    if (rounded >= kLargeBlockBytes) AdviseHugePages(block, rounded);
    return block;
}

void FreePages(void* block, std::size_t bytes) {
    if (block != nullptr) ::munmap(block, PageRounded(bytes));
}

void* AllocateBlock(std::size_t bytes, bool zeroed) {
    if (bytes == 0) bytes = 1;
    if (bytes < kLargeBlockBytes) return zeroed ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (zeroed) {
        // calloc takes a large block straight from the kernel, whose pages
        // are zero already, and then writes nothing: the pages are first
        // touched by whoever fills the block, not twice.
        void* block = std::calloc(bytes, 1);
        if (block != nullptr) AdviseHugePages(block, bytes);
        return block;
    }
    const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    void* block = std::aligned_alloc(kHugePageBytes, rounded);
    if (block == nullptr) return nullptr;
    AdviseHugePages(block, rounded);
    return block;
}

void CommitPages(void* block, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    // Small blocks gain nothing; kernels before 5.14 refuse the advice.
    static const long page = ::sysconf(_SC_PAGESIZE);
    if (bytes >= kLargeBlockBytes && page > 0)
        AdviseWholeUnits(block, bytes, static_cast<std::size_t>(page), MADV_POPULATE_WRITE);
#else
    (void)block;
    (void)bytes;
#endif
}

}  // namespace standin

// The process heap. Every block handed out is registered, so freeing a
// pointer that HeapAlloc did not return (or freeing twice) fails cleanly
// instead of corrupting memory, and tests can count what is still live.
#include "support/api_boundary.h"
#include "support/fault_injection.h"
#include "support/large_blocks.h"
#include "support/last_error.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_set>

namespace standin {
namespace {

struct ProcessHeap {
    std::mutex mutex;
    std::unordered_set<void*> blocks;
};

ProcessHeap& Heap() {
    static ProcessHeap heap;
    return heap;
}

// The process heap's handle: any distinct, never-dereferenced value.
HANDLE HeapHandle() { return reinterpret_cast<HANDLE>(&Heap()); }

// Larger requests fail as an exhausted heap would, before malloc is asked.
constexpr SIZE_T kMaxBlockBytes = SIZE_T{1} << 31;

}  // namespace

std::size_t LiveHeapBlocks() {
    std::lock_guard<std::mutex> lock(Heap().mutex);
    return Heap().blocks.size();
}

}  // namespace standin

using namespace standin;

HANDLE WINAPI GetProcessHeap(void) { return HeapHandle(); }

LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) try {
    if (hHeap != HeapHandle()) return Fail<LPVOID>(ERROR_INVALID_HANDLE);
    if (dwBytes > kMaxBlockBytes || InjectedFailure(Call::HeapAlloc))
        return Fail<LPVOID>(ERROR_NOT_ENOUGH_MEMORY);
    // A zero-byte request still yields a distinct block, as on the platform.
    void* block = AllocateBlock(dwBytes, (dwFlags & HEAP_ZERO_MEMORY) != 0);
    if (block == nullptr) return Fail<LPVOID>(ERROR_NOT_ENOUGH_MEMORY);
    // Registering the block can run out of memory too; the block is then
    // given back before the failure is reported.
    std::unique_ptr<void, decltype(&std::free)> owned(block, &std::free);
    std::lock_guard<std::mutex> lock(Heap().mutex);
    Heap().blocks.insert(block);
    return owned.release();
} catch (...) {
    return OutOfMemory<LPVOID>();
}

BOOL WINAPI HeapFree(HANDLE hHeap, DWORD /*dwFlags*/, LPVOID lpMem) try {
    if (hHeap != HeapHandle()) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lpMem == nullptr) return TRUE;
    {
        std::lock_guard<std::mutex> lock(Heap().mutex);
        if (Heap().blocks.erase(lpMem) == 0) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    }
    std::free(lpMem);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

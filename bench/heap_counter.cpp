// Replaces the global operator new and delete with ones that keep a running
// total and its peak. Each block carries its size in a header of one
// maximal alignment unit, so the pointer handed out keeps malloc's alignment.
#include "heap_counter.h"

#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHeader = alignof(std::max_align_t);

std::size_t held = 0;
std::size_t peak = 0;
std::size_t watchBase = 0;

void* Allocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) return nullptr;
    *static_cast<std::size_t*>(block) = size;
    held += size;
    if (held > peak) peak = held;
    return static_cast<char*>(block) + kHeader;
}

void Release(void* p) {
    if (p == nullptr) return;
    void* block = static_cast<char*>(p) - kHeader;
    held -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

namespace bench {

void StartHeapWatch() {
    watchBase = held;
    peak = held;
}

std::size_t HeapPeakSinceWatch() { return peak - watchBase; }

}  // namespace bench

void* operator new(std::size_t size) {
    void* p = Allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

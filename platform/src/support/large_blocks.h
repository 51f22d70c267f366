// Memory for whole pictures and whole files. Blocks of several megabytes are
// offered to the kernel for transparent huge pages: their first touch then
// costs one fault per 2 MiB instead of one per 4 KiB page, which on a fresh
// block of tens of megabytes is most of the time spent filling it. Blocks
// that need no clearing are placed on 2 MiB boundaries; cleared ones come
// from calloc, which leaves the kernel's fresh zero pages untouched, so the
// block is written once, by whoever fills it. Smaller blocks come from
// malloc as usual.
#ifndef STANDIN_LARGE_BLOCKS_H
#define STANDIN_LARGE_BLOCKS_H

#include <cstddef>

namespace standin {

// A block of `bytes` (at least 1) released with std::free, or null. `zeroed`
// clears it as calloc would.
void* AllocateBlock(std::size_t bytes, bool zeroed);

// Commits the whole pages of `bytes` from `block` in one call, for a block
// about to be written from end to end (by a file read, say): one request
// instead of a fault at every page, or every 2 MiB, while it is filled.
// Advice only: where the kernel lacks it, nothing changes.
void CommitPages(void* block, std::size_t bytes);

// Zeroed whole pages for at least `bytes` (at least one page), page-aligned,
// straight from the kernel, or null; released with FreePages and the same
// `bytes`. The pages are cleared lazily, on first touch, and a write past
// `bytes` but inside the last page lands in memory the block owns.
void* AllocatePages(std::size_t bytes);
void FreePages(void* block, std::size_t bytes);
// The bytes AllocatePages takes for `bytes`: rounded up to whole pages.
std::size_t PageRounded(std::size_t bytes);

}  // namespace standin

#endif

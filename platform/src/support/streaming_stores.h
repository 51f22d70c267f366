// Stores that go around the cache, for results too large to stay in it.
//
// A plain store first reads the line it writes into the cache; a streaming
// (non-temporal) store fills whole lines in a write-combining buffer and
// sends them on, so a large output costs one pass over memory instead of
// two. The results leave the nearest caches, which is why only large
// outputs are written this way.
#ifndef STANDIN_STREAMING_STORES_H
#define STANDIN_STREAMING_STORES_H

#include <cstddef>

namespace standin {

// Outputs of at least this many bytes are written with streaming stores:
// several times a core's own mid-level cache (1 or 2 MiB on today's
// processors), so little written early in the call would still be close by
// when it ends.
constexpr std::size_t kStreamingOutputBytes = std::size_t{8} << 20;

enum class Stores { Cached, Streaming };

constexpr Stores StoresFor(std::size_t outputBytes) {
    return outputBytes >= kStreamingOutputBytes ? Stores::Streaming : Stores::Cached;
}

// Orders the streaming stores made so far before any later store, so the
// bytes are visible to whoever reads them next (another thread included).
void FinishStreamingStores();

}  // namespace standin

#endif

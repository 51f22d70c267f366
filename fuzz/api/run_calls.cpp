#include "run_calls.h"

#include "session.h"

#include <standin/testing.h>

namespace apifuzz {
namespace {

// Calls one input may make: enough for a scene of several bitmaps and
// contexts, few enough that each input runs in milliseconds.
constexpr int kMaxCalls = 48;

}  // namespace

std::string RunCalls(const std::uint8_t* data, std::size_t size, const std::string& scratchFile, bool timeCalls) {
    const std::size_t objects = standin::LiveGdiObjects();
    const std::size_t files = standin::OpenFiles();
    const std::size_t blocks = standin::LiveHeapBlocks();
    Input in(data, size);
    Session session(in, scratchFile, timeCalls);
    for (int call = 0; call < kMaxCalls && !in.empty() && session.failure().empty(); ++call) session.Step();
    session.CleanUp();
    if (!session.failure().empty()) return session.failure();
    if (standin::LiveGdiObjects() != objects) return "GDI objects leaked";
    if (standin::OpenFiles() != files) return "file handles leaked";
    if (standin::LiveHeapBlocks() != blocks) return "heap blocks leaked";
    return {};
}

}  // namespace apifuzz

#include "support/caller_memory.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

namespace standin {
namespace {

// Whether `bytes` at `to` are writable, asked of the kernel: reading from a
// pipe into them fails with EFAULT when they are not. The pipe is fresh and
// drained, so nothing is left behind whatever the answer.
bool WritableThroughPipe(void* to, std::size_t bytes) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    bool writable = true;
    char probe[64] = {};
    for (std::size_t done = 0; done < bytes && writable;) {
        std::size_t chunk = bytes - done < sizeof probe ? bytes - done : sizeof probe;
        // Peek by reading the caller's bytes first, so they are written back
        // unchanged: only their writability is asked, not their contents.
        char* at = static_cast<char*>(to) + done;
        writable = ::write(ends[1], at, chunk) == static_cast<ssize_t>(chunk) &&
                   ::read(ends[0], at, chunk) == static_cast<ssize_t>(chunk);
        done += chunk;
    }
    ::close(ends[0]);
    ::close(ends[1]);
    return writable;
}

}  // namespace

bool CopyToCaller(void* to, const void* from, std::size_t bytes) {
    if (bytes == 0) return true;
    if (to == nullptr || bytes > SSIZE_MAX) return false;
    // The process writing into itself: the kernel copies, and a destination
    // that is not mapped writable fails with EFAULT.
    iovec local{const_cast<void*>(from), bytes};
    iovec remote{to, bytes};
    const ssize_t written = ::process_vm_writev(::getpid(), &local, 1, &remote, 1, 0);
    if (written == static_cast<ssize_t>(bytes)) return true;
    if (written >= 0 || errno == EFAULT) return false;
    // Where the call is not allowed (a seccomp filter, an old kernel), ask
    // through a pipe instead, then copy.
    if (!WritableThroughPipe(to, bytes)) return false;
    std::memcpy(to, from, bytes);
    return true;
}

}  // namespace standin

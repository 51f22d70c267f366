// The POSIX side of the kernel's file calls, shared by CreateFileA/ReadFile/
// WriteFile and by the stand-in's own readers (ReadOnlyFile): one map from
// errno to the platform's error codes and one transfer loop.
#ifndef STANDIN_KERNEL_POSIX_IO_H
#define STANDIN_KERNEL_POSIX_IO_H

#include <windows.h>

#include <cerrno>
#include <cstddef>
#include <sys/types.h>

namespace standin {
namespace kernel {

// The platform's error code for a failed open, read or write.
DWORD ErrorFromErrno(int error);

// open(2), retried while a signal interrupts it; -1 with errno set on failure.
// `mode` is the permission of a file that O_CREAT makes.
int OpenRetrying(const char* path, int flags, mode_t mode = 0666);

// Moves up to `count` bytes by calling `step(done)`, one read or write of the
// bytes from `done` on, until all have moved, the call returns 0 (the end of
// a file) or it fails. Interrupted and partial calls are retried. Returns the
// bytes moved; `*error` is the errno of a failure, 0 otherwise.
template <class Step>
std::size_t MoveAll(std::size_t count, Step step, int* error) {
    std::size_t done = 0;
    *error = 0;
    while (done < count) {
        const ssize_t n = step(done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *error = errno;
            break;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace kernel
}  // namespace standin

#endif

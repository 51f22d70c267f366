#include "kernel/read_only_file.h"

#include "kernel/posix_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace standin {
namespace kernel {

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

DWORD ReadOnlyFile::Open(const char* path) {
    if (path == nullptr || path[0] == '\0') return ERROR_PATH_NOT_FOUND;
    // Non-blocking, so that opening a pipe with no writer cannot hang; it is
    // then refused as not a regular file.
    const int fd = OpenRetrying(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return ErrorFromErrno(errno);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return ERROR_ACCESS_DENIED;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return ERROR_SUCCESS;
}

bool ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count, std::size_t* got) const {
    char* bytes = static_cast<char*>(buffer);
    int error = 0;
    *got = MoveAll(
        count,
        [&](std::size_t done) {
            return ::pread(fd_, bytes + done, count - done, static_cast<off_t>(offset + done));
        },
        &error);
    return error == 0;
}

}  // namespace kernel
}  // namespace standin

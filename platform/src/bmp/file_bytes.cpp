#include "bmp/file_bytes.h"

#include "support/large_blocks.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace standin {
namespace bmp {
namespace {

DWORD OpenError(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES: case EPERM: return ERROR_ACCESS_DENIED;
        case ENAMETOOLONG: return ERROR_INVALID_NAME;
        case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        default: return ERROR_READ_FAULT;
    }
}

// Reads exactly `size` bytes; a file that shrank since it was measured
// fails like one that could not be read.
bool ReadExactly(int fd, std::uint8_t* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

DWORD ReadOpenFile(int fd, std::size_t maxBytes, FileBytes* out) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return ERROR_READ_FAULT;
    if (!S_ISREG(st.st_mode)) return ERROR_ACCESS_DENIED;
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) return ERROR_NOT_ENOUGH_MEMORY;
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    FileBytes file;
    // One byte at least, so an empty file still gets a valid address.
    file.data.reset(static_cast<std::uint8_t*>(AllocateBlock(size > 0 ? size : 1, false)));
    if (!file.data) return ERROR_NOT_ENOUGH_MEMORY;
    if (!ReadExactly(fd, file.data.get(), size)) return ERROR_READ_FAULT;
    file.size = size;
    *out = std::move(file);
    return ERROR_SUCCESS;
}

}  // namespace

DWORD ReadWholeFile(const char* path, std::size_t maxBytes, FileBytes* out) {
    if (path == nullptr || path[0] == '\0') return ERROR_PATH_NOT_FOUND;
    // Non-blocking, so that opening a pipe with no writer cannot hang; it is
    // then refused as not a regular file.
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return OpenError(errno);
    DWORD result = ReadOpenFile(fd, maxBytes, out);
    ::close(fd);
    return result;
}

}  // namespace bmp
}  // namespace standin

#include "kernel/posix_io.h"

#include <fcntl.h>

namespace standin {
namespace kernel {

DWORD ErrorFromErrno(int error) {
    switch (error) {
        // ENXIO: a FIFO opened for writing with no reader, a device absent.
        case ENOENT: case ENXIO: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES: case EPERM: case EROFS: case EISDIR: case EBUSY: return ERROR_ACCESS_DENIED;
        case EEXIST: return ERROR_FILE_EXISTS;
        case ENOTEMPTY: return ERROR_ALREADY_EXISTS;
        case EXDEV: return ERROR_NOT_SAME_DEVICE;
        case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case ENOSPC: case EDQUOT: return ERROR_DISK_FULL;
        case ENAMETOOLONG: return ERROR_INVALID_NAME;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        default: return ERROR_INVALID_PARAMETER;
    }
}

int OpenRetrying(const char* path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace kernel
}  // namespace standin

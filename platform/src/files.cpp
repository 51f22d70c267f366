// Kernel file calls over POSIX descriptors. Transfers run to completion
// across short and interrupted system calls and report the real count.
#include "fault_injection.h"
#include "last_error.h"
#include "object_table.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace standin {
namespace {

struct File : Object {
    static constexpr ObjectKind kKind = ObjectKind::File;
    File(int descriptor, DWORD accessMask) : Object(kKind), fd(descriptor), access(accessMask) {}
    ~File() override { ::close(fd); }
    int fd;
    DWORD access;
};

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES: case EPERM: case EROFS: case EISDIR: return ERROR_ACCESS_DENIED;
        case EEXIST: return ERROR_FILE_EXISTS;
        case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case ENOSPC: case EDQUOT: return ERROR_DISK_FULL;
        case ENAMETOOLONG: return ERROR_INVALID_NAME;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        default: return ERROR_INVALID_PARAMETER;
    }
}

bool OpenFlags(DWORD access, DWORD disposition, DWORD flags, int* out) {
    bool read = (access & GENERIC_READ) != 0;
    bool write = (access & GENERIC_WRITE) != 0;
    int mode = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    switch (disposition) {
        case CREATE_NEW: mode |= O_CREAT | O_EXCL; break;
        case CREATE_ALWAYS: mode |= O_CREAT | O_TRUNC; break;
        case OPEN_EXISTING: break;
        case OPEN_ALWAYS: mode |= O_CREAT; break;
        case TRUNCATE_EXISTING:
            if (!write) return false;
            mode |= O_TRUNC;
            break;
        default: return false;
    }
    // Write-through: each write returns only once its data is on the device.
    if (flags & FILE_FLAG_WRITE_THROUGH) mode |= O_DSYNC;
    *out = mode | O_CLOEXEC;
    return true;
}

File* LookupFile(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : Lookup<File>(handle);
}

// A fault of kind ShortTransfer moves half of the bytes, at least one fewer.
DWORD ShortenedCount(DWORD count) { return count / 2; }

}  // namespace

std::size_t OpenFiles() {
    ApiLock lock(ApiMutex());
    return Objects().LiveCount(ObjectKind::File);
}

}  // namespace standin

using namespace standin;

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD /*dwShareMode*/,
                          LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                          HANDLE hTemplateFile) {
    // Sharing modes have no POSIX counterpart and are accepted as given;
    // templates are not supported.
    int flags = 0;
    if (lpFileName == nullptr || lpFileName[0] == '\0' || hTemplateFile != nullptr ||
        !OpenFlags(dwDesiredAccess, dwCreationDisposition, dwFlagsAndAttributes, &flags)) {
        SetError(lpFileName == nullptr || lpFileName[0] == '\0' ? ERROR_PATH_NOT_FOUND
                                                                 : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (InjectedFailure(Call::CreateFileA)) {
        SetError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    int fd;
    do {
        fd = ::open(lpFileName, flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        SetError(ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    // The platform opens directories only with backup semantics.
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        SetError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    ApiLock lock(ApiMutex());
    HANDLE handle = Objects().Insert(std::make_unique<File>(fd, dwDesiredAccess));
    if (handle == nullptr) {
        SetError(ERROR_TOO_MANY_OPEN_FILES);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = 0;
    int fd;
    {
        ApiLock lock(ApiMutex());
        File* file = LookupFile(hFile);
        if (file == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
        if (!(file->access & GENERIC_READ)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
        fd = file->fd;
    }
    if (lpOverlapped != nullptr) return Fail<BOOL>(ERROR_NOT_SUPPORTED);
    if (lpBuffer == nullptr && nNumberOfBytesToRead > 0) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    Fault fault;
    if (InjectedFault(Call::ReadFile, &fault)) {
        if (fault == Fault::Fail) return Fail<BOOL>(ERROR_READ_FAULT);
        nNumberOfBytesToRead = ShortenedCount(nNumberOfBytesToRead);
    }
    DWORD done = 0;
    char* buffer = static_cast<char*>(lpBuffer);
    while (done < nNumberOfBytesToRead) {
        ssize_t n = ::read(fd, buffer + done, nNumberOfBytesToRead - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = done;
            return Fail<BOOL>(ErrorFromErrno(errno));
        }
        if (n == 0) break;  // end of file: success with the bytes there were
        done += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesRead != nullptr) *lpNumberOfBytesRead = done;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = 0;
    int fd;
    {
        ApiLock lock(ApiMutex());
        File* file = LookupFile(hFile);
        if (file == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
        if (!(file->access & GENERIC_WRITE)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
        fd = file->fd;
    }
    if (lpOverlapped != nullptr) return Fail<BOOL>(ERROR_NOT_SUPPORTED);
    if (lpBuffer == nullptr && nNumberOfBytesToWrite > 0) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    Fault fault;
    if (InjectedFault(Call::WriteFile, &fault)) {
        if (fault == Fault::Fail) return Fail<BOOL>(ERROR_DISK_FULL);
        nNumberOfBytesToWrite = ShortenedCount(nNumberOfBytesToWrite);
    }
    DWORD done = 0;
    const char* buffer = static_cast<const char*>(lpBuffer);
    while (done < nNumberOfBytesToWrite) {
        ssize_t n = ::write(fd, buffer + done, nNumberOfBytesToWrite - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = done;
            return Fail<BOOL>(n < 0 ? ErrorFromErrno(errno) : ERROR_WRITE_FAULT);
        }
        done += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesWritten != nullptr) *lpNumberOfBytesWritten = done;
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    ApiLock lock(ApiMutex());
    if (LookupFile(hObject) == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    // The handle is gone whatever happens; an injected fault reports the
    // failure a late write error would.
    bool fail = InjectedFailure(Call::CloseHandle);
    Objects().Remove(hObject);
    return fail ? Fail<BOOL>(ERROR_WRITE_FAULT) : TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
    if (lpFileName == nullptr || lpFileName[0] == '\0') return Fail<BOOL>(ERROR_PATH_NOT_FOUND);
    if (InjectedFailure(Call::DeleteFileA)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
    struct stat st;
    if (::lstat(lpFileName, &st) == 0 && S_ISDIR(st.st_mode)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
    if (::unlink(lpFileName) != 0) return Fail<BOOL>(ErrorFromErrno(errno));
    return TRUE;
}

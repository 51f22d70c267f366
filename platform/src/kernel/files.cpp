// Kernel file calls over POSIX descriptors. Transfers run to completion
// across short and interrupted system calls and report the real count.
#include "kernel/posix_io.h"
#include "support/fault_injection.h"
#include "support/last_error.h"
#include "support/object_table.h"

#include <cerrno>
#include <cstdint>
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

// GetFileSize's failure: INVALID_FILE_SIZE with the reason as last error.
DWORD FailedSize(DWORD code) {
    SetError(code);
    return INVALID_FILE_SIZE;
}

struct Direction {
    bool reading;
    DWORD access;       // the access right the handle needs
    Call call;          // for fault injection
    DWORD faultError;   // the error an injected failure reports
};
constexpr Direction kRead{true, GENERIC_READ, Call::ReadFile, ERROR_READ_FAULT};
constexpr Direction kWrite{false, GENERIC_WRITE, Call::WriteFile, ERROR_DISK_FULL};

// Moves `count` bytes, retrying interrupted and partial system calls; a read
// stops early only at the end of the file. Reports the bytes really moved.
BOOL MoveBytes(const Direction& d, int fd, char* buffer, DWORD count, LPDWORD moved) {
    int error = 0;
    const std::size_t done = kernel::MoveAll(
        count,
        [&](std::size_t offset) {
            return d.reading ? ::read(fd, buffer + offset, count - offset)
                             : ::write(fd, buffer + offset, count - offset);
        },
        &error);
    if (moved != nullptr) *moved = static_cast<DWORD>(done);
    if (error != 0) return Fail<BOOL>(kernel::ErrorFromErrno(error));
    if (done < count && !d.reading) return Fail<BOOL>(ERROR_WRITE_FAULT);
    return TRUE;
}

BOOL Transfer(const Direction& d, HANDLE handle, char* buffer, DWORD count, LPDWORD moved,
              LPOVERLAPPED overlapped) {
    if (moved != nullptr) *moved = 0;
    int fd;
    {
        ApiLock lock(ApiMutex());
        File* file = LookupFile(handle);
        if (file == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
        if (!(file->access & d.access)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
        fd = file->fd;
    }
    // Only synchronous transfers are offered.
    if (overlapped != nullptr) return Fail<BOOL>(ERROR_NOT_SUPPORTED);
    if (buffer == nullptr && count > 0) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    Fault fault;
    if (InjectedFault(d.call, &fault)) {
        if (fault == Fault::Fail) return Fail<BOOL>(d.faultError);
        count = ShortenedCount(count);
    }
    return MoveBytes(d, fd, buffer, count, moved);
}

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
    const int fd = kernel::OpenRetrying(lpFileName, flags);
    if (fd < 0) {
        SetError(kernel::ErrorFromErrno(errno));
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
    return Transfer(kRead, hFile, static_cast<char*>(lpBuffer), nNumberOfBytesToRead,
                    lpNumberOfBytesRead, lpOverlapped);
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    // The buffer is only ever written from, never to.
    return Transfer(kWrite, hFile, const_cast<char*>(static_cast<const char*>(lpBuffer)),
                    nNumberOfBytesToWrite, lpNumberOfBytesWritten, lpOverlapped);
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

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    int fd;
    {
        ApiLock lock(ApiMutex());
        File* file = LookupFile(hFile);
        if (file == nullptr) return FailedSize(ERROR_INVALID_HANDLE);
        fd = file->fd;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) return FailedSize(kernel::ErrorFromErrno(errno));
    std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (lpFileSizeHigh != nullptr) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    // Without a place for the high half a size of 4 GiB or more cannot be
    // told, and the call fails.
    if (lpFileSizeHigh == nullptr && (size >> 32) != 0) return FailedSize(ERROR_INVALID_PARAMETER);
    // INVALID_FILE_SIZE can be a real low half; callers tell by the error.
    SetError(NO_ERROR);
    return static_cast<DWORD>(size);
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
    if (lpFileName == nullptr || lpFileName[0] == '\0') return Fail<BOOL>(ERROR_PATH_NOT_FOUND);
    if (InjectedFailure(Call::DeleteFileA)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
    struct stat st;
    if (::lstat(lpFileName, &st) == 0 && S_ISDIR(st.st_mode)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
    if (::unlink(lpFileName) != 0) return Fail<BOOL>(kernel::ErrorFromErrno(errno));
    return TRUE;
}

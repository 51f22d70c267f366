// Kernel file calls over POSIX descriptors. Transfers run to completion
// across short and interrupted system calls and report the real count.
// Read-only files and share modes hold as on the platform (see
// kernel/open_files.h).
#include "support/api_boundary.h"
#include "kernel/posix_io.h"
#include "kernel/open_files.h"
#include "support/fault_injection.h"
#include "support/last_error.h"
#include "support/object_table.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace standin {
namespace {

// An open file handle. Its identity, access and share mode stay registered
// while it is open (it is made and destroyed under ApiMutex).
struct File : Object {
    static constexpr ObjectKind kKind = ObjectKind::File;
    File(int descriptor, const struct stat& st, DWORD access, DWORD share)
        : Object(kKind), fd(descriptor), entry{st.st_dev, st.st_ino, access, share} {
        RegisterOpenFile(&entry);
    }
    ~File() override {
        UnregisterOpenFile(&entry);
        ::close(fd);
    }
    int fd;
    OpenFileEntry entry;
};

constexpr DWORD kShareModes = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What a creation disposition does with a file that exists and with a name
// that is free.
struct Disposition {
    bool opensExisting;
    bool creates;
    bool truncates;
    bool reportsExisting;  // ERROR_ALREADY_EXISTS when the file was there
};

bool DispositionOf(DWORD disposition, DWORD access, Disposition* out) {
    switch (disposition) {
        case CREATE_NEW: *out = {false, true, false, false}; return true;
        case CREATE_ALWAYS: *out = {true, true, true, true}; return true;
        case OPEN_EXISTING: *out = {true, false, false, false}; return true;
        case OPEN_ALWAYS: *out = {true, true, false, true}; return true;
        case TRUNCATE_EXISTING:
            *out = {true, false, true, false};
            return (access & GENERIC_WRITE) != 0;
        default: return false;
    }
}

int AccessFlags(DWORD access, DWORD flags) {
    bool read = (access & GENERIC_READ) != 0;
    bool write = (access & GENERIC_WRITE) != 0;
    int mode = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    // Write-through: each write returns only once its data is on the device.
    if (flags & FILE_FLAG_WRITE_THROUGH) mode |= O_DSYNC;
    return mode | O_CLOEXEC;
}

// Opens without waiting: a FIFO with no peer or a device that is not ready
// would otherwise block open(2) forever. Once open, the descriptor blocks
// again, so transfers behave as on any file.
int OpenWithoutBlocking(const char* path, int flags, mode_t mode) {
    const int fd = kernel::OpenRetrying(path, flags | O_NONBLOCK, mode);
    if (fd < 0) return -1;
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Opens the file that is there or creates it, as the disposition says, and
// tells which happened. Creating uses O_EXCL, so `created` is never a guess;
// a name that appears or vanishes in between is tried once more. A link to
// a missing file is followed, and the file it names is created.
int OpenByDisposition(const char* path, int flags, mode_t mode, const Disposition& d, bool* created) {
    *created = false;
    if (d.opensExisting) {
        int fd = OpenWithoutBlocking(path, flags, 0);
        if (fd >= 0 || errno != ENOENT || !d.creates) return fd;
    }
    *created = true;
    int fd = OpenWithoutBlocking(path, flags | O_CREAT | O_EXCL, mode);
    if (fd >= 0 || errno != EEXIST || !d.opensExisting) return fd;
    *created = false;
    fd = OpenWithoutBlocking(path, flags, 0);
    if (fd >= 0 || errno != ENOENT) return fd;
    *created = true;
    return OpenWithoutBlocking(path, flags | O_CREAT, mode);
}

File* LookupFile(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : Lookup<File>(handle);
}

// Refuses what the platform would not open: a directory, and writing,
// deleting or truncating a read-only file that was there before.
DWORD OpenedFileError(const struct stat& st, DWORD access, const Disposition& disposition, bool created) {
    // The platform opens directories only with backup semantics.
    if (S_ISDIR(st.st_mode)) return ERROR_ACCESS_DENIED;
    bool changes = (access & (GENERIC_WRITE | kDeleteAccess)) != 0 || disposition.truncates;
    if (!created && changes && IsReadOnly(st)) return ERROR_ACCESS_DENIED;
    return NO_ERROR;
}

// Hands the descriptor to a new File object in the table; on failure the
// descriptor is closed and the last error set.
HANDLE InsertFile(int fd, const struct stat& st, DWORD access, DWORD share) {
    std::unique_ptr<File> file;
    try {
        file = std::make_unique<File>(fd, st, access, share);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    }
    // From here the object owns the descriptor: destroying it closes it.
    try {
        HANDLE handle = Objects().Insert(std::move(file));
        return handle != nullptr ? handle : Fail<HANDLE>(ERROR_TOO_MANY_OPEN_FILES);
    } catch (const std::bad_alloc&) {
        return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    }
}

// A fault of kind ShortTransfer moves half of the bytes, at least one fewer.
DWORD ShortenedCount(DWORD count) { return count / 2; }

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
        if (!(file->entry.access & d.access)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
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

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                          HANDLE hTemplateFile) try {
    // Templates are not supported.
    Disposition disposition;
    if (lpFileName == nullptr || lpFileName[0] == '\0')
        return Fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
    if (hTemplateFile != nullptr || (dwShareMode & ~kShareModes) != 0 ||
        !DispositionOf(dwCreationDisposition, dwDesiredAccess, &disposition))
        return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    if (InjectedFailure(Call::CreateFileA)) return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    // A read-only file is made without write permission for anyone; the
    // handle that creates it may still write it.
    mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    bool created = false;
    int fd = OpenByDisposition(lpFileName, AccessFlags(dwDesiredAccess, dwFlagsAndAttributes), mode,
                               disposition, &created);
    if (fd < 0) return Fail(kernel::ErrorFromErrno(errno), INVALID_HANDLE_VALUE);
    struct stat st;
    DWORD refusal = ::fstat(fd, &st) != 0 ? kernel::ErrorFromErrno(errno)
                                          : OpenedFileError(st, dwDesiredAccess, disposition, created);
    ApiLock lock(ApiMutex());
    if (refusal == NO_ERROR && !SharingAllows(st, dwDesiredAccess, dwShareMode)) refusal = ERROR_SHARING_VIOLATION;
    // Truncated only once every check passed, so a refused open loses nothing.
    if (refusal == NO_ERROR && disposition.truncates && !created && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0)
        refusal = kernel::ErrorFromErrno(errno);
    if (refusal != NO_ERROR) {
        ::close(fd);
        return Fail(refusal, INVALID_HANDLE_VALUE);
    }
    HANDLE handle = InsertFile(fd, st, dwDesiredAccess, dwShareMode);
    if (handle == nullptr) return INVALID_HANDLE_VALUE;
    // The documented outcome for CREATE_ALWAYS and OPEN_ALWAYS: whether the
    // file was there before.
    SetError(disposition.reportsExisting && !created ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
} catch (...) {
    return OutOfMemory<HANDLE>(INVALID_HANDLE_VALUE);
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) try {
    return Transfer(kRead, hFile, static_cast<char*>(lpBuffer), nNumberOfBytesToRead,
                    lpNumberOfBytesRead, lpOverlapped);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) try {
    // The buffer is only ever written from, never to.
    return Transfer(kWrite, hFile, const_cast<char*>(static_cast<const char*>(lpBuffer)),
                    nNumberOfBytesToWrite, lpNumberOfBytesWritten, lpOverlapped);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI CloseHandle(HANDLE hObject) try {
    ApiLock lock(ApiMutex());
    if (LookupFile(hObject) == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    // The handle is gone whatever happens; an injected fault reports the
    // failure a late write error would.
    bool fail = InjectedFailure(Call::CloseHandle);
    Objects().Remove(hObject);
    return fail ? Fail<BOOL>(ERROR_WRITE_FAULT) : TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) try {
    int fd;
    {
        ApiLock lock(ApiMutex());
        File* file = LookupFile(hFile);
        if (file == nullptr) return Fail<DWORD>(ERROR_INVALID_HANDLE, INVALID_FILE_SIZE);
        fd = file->fd;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) return Fail<DWORD>(kernel::ErrorFromErrno(errno), INVALID_FILE_SIZE);
    std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (lpFileSizeHigh != nullptr) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    // Without a place for the high half a size of 4 GiB or more cannot be
    // told, and the call fails.
    if (lpFileSizeHigh == nullptr && (size >> 32) != 0)
        return Fail<DWORD>(ERROR_INVALID_PARAMETER, INVALID_FILE_SIZE);
    // INVALID_FILE_SIZE can be a real low half; callers tell by the error.
    SetError(NO_ERROR);
    return static_cast<DWORD>(size);
} catch (...) {
    return OutOfMemory<DWORD>(INVALID_FILE_SIZE);
}

DWORD WINAPI GetFileType(HANDLE hFile) try {
    int fd;
    {
        ApiLock lock(ApiMutex());
        File* file = LookupFile(hFile);
        if (file == nullptr) return Fail<DWORD>(ERROR_INVALID_HANDLE);
        fd = file->fd;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) return Fail<DWORD>(kernel::ErrorFromErrno(errno));
    // FILE_TYPE_UNKNOWN from a valid handle comes with no error.
    SetError(NO_ERROR);
    if (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)) return FILE_TYPE_DISK;
    if (S_ISCHR(st.st_mode)) return FILE_TYPE_CHAR;
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return FILE_TYPE_PIPE;
    return FILE_TYPE_UNKNOWN;
} catch (...) {
    return OutOfMemory<DWORD>(FILE_TYPE_UNKNOWN);
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) try {
    if (lpFileName == nullptr || lpFileName[0] == '\0') return Fail<BOOL>(ERROR_PATH_NOT_FOUND);
    if (InjectedFailure(Call::DeleteFileA)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
    ApiLock lock(ApiMutex());
    struct stat st;
    if (::lstat(lpFileName, &st) != 0) return Fail<BOOL>(kernel::ErrorFromErrno(errno));
    if (S_ISDIR(st.st_mode)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
    DWORD refusal = RemovalError(st);
    if (refusal != NO_ERROR) return Fail<BOOL>(refusal);
    if (::unlink(lpFileName) != 0) return Fail<BOOL>(kernel::ErrorFromErrno(errno));
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

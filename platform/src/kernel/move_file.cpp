// MoveFileExA over rename(2): a move within one file system that either
// happens whole or not at all.
#include "support/api_boundary.h"
#include "kernel/posix_io.h"
#include "kernel/open_files.h"
#include "support/fault_injection.h"
#include "support/last_error.h"
#include "support/object_table.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace standin {
namespace {

constexpr DWORD kSupportedFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// The folder that holds `path`'s last component.
std::string FolderOf(const char* path) {
    std::string p(path);
    std::size_t slash = p.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : p.substr(0, slash);
}

// Makes the folder's entries durable: after a rename, the new name survives
// a crash only once its folder has been flushed.
bool SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    ::close(fd);
    return result == 0;
}

// Flushes the folders of both names (once when they share one).
bool SyncFolders(const char* source, const char* target) {
    try {
        std::string from = FolderOf(source), to = FolderOf(target);
        return SyncFolder(to) && (from == to || SyncFolder(from));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// What may stand at the target name for MOVEFILE_REPLACE_EXISTING to replace
// it: a file or a symbolic link. Directories are never replaced, as on the
// platform; FIFOs, sockets and device nodes are not either, so a move can
// never unlink a device in place of a file.
DWORD ReplaceableError(const struct stat& source, const char* target) {
    struct stat st;
    if (::lstat(target, &st) != 0) return errno == ENOENT ? NO_ERROR : kernel::ErrorFromErrno(errno);
    if (S_ISDIR(source.st_mode)) return ERROR_ACCESS_DENIED;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return ERROR_ACCESS_DENIED;
    // Replacing a file deletes it: not when it is read-only or open without
    // FILE_SHARE_DELETE.
    return RemovalError(st);
}

// Renames only when nothing stands at `target`, atomically where the file
// system can tell.
int RenameNoReplace(const char* source, const char* target) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source, AT_FDCWD, target, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
#endif
    struct stat st;
    if (::lstat(target, &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(source, target);
}

// The source was there a moment before, so a missing name is the target's
// folder.
DWORD MoveError(int error) {
    if (error == EEXIST) return ERROR_ALREADY_EXISTS;
    if (error == ENOENT) return ERROR_PATH_NOT_FOUND;
    return kernel::ErrorFromErrno(error);
}

// The checks and the rename, under the API lock so that no handle opens or
// closes in between. Returns NO_ERROR or the reason for refusing.
DWORD Rename(const char* existing, const char* target, DWORD flags) {
    ApiLock lock(ApiMutex());
    struct stat source;
    if (::lstat(existing, &source) != 0) return kernel::ErrorFromErrno(errno);
    // Moving a file open without FILE_SHARE_DELETE is refused, as on the
    // platform; a read-only file may move.
    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (!SharingAllows(source, kDeleteAccess, shareAll)) return ERROR_SHARING_VIOLATION;
    if (!(flags & MOVEFILE_REPLACE_EXISTING))
        return RenameNoReplace(existing, target) == 0 ? NO_ERROR : MoveError(errno);
    DWORD refusal = ReplaceableError(source, target);
    if (refusal != NO_ERROR) return refusal;
    return ::rename(existing, target) == 0 ? NO_ERROR : MoveError(errno);
}

}  // namespace
}  // namespace standin

using namespace standin;

// A symbolic link at the target name is replaced itself, as the platform
// does; the file it pointed to is left as it was.
BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) try {
    if (lpExistingFileName == nullptr || lpExistingFileName[0] == '\0')
        return Fail<BOOL>(ERROR_PATH_NOT_FOUND);
    // A null target (deletion at the next restart) and copying across
    // volumes are not offered.
    if (lpNewFileName == nullptr || lpNewFileName[0] == '\0' || (dwFlags & ~kSupportedFlags) != 0)
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (InjectedFailure(Call::MoveFileExA)) return Fail<BOOL>(ERROR_ACCESS_DENIED);
    DWORD error = Rename(lpExistingFileName, lpNewFileName, dwFlags);
    if (error != NO_ERROR) return Fail<BOOL>(error);
    if ((dwFlags & MOVEFILE_WRITE_THROUGH) && !SyncFolders(lpExistingFileName, lpNewFileName))
        return Fail<BOOL>(ERROR_WRITE_FAULT);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

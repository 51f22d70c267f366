// The files this process holds open, by identity (device and inode), with
// each handle's access and share mode, so that opens, deletions and moves
// honour share modes as the platform does. POSIX has no mandatory locks, so
// this holds within the process only. Every call is made under ApiMutex.
#ifndef STANDIN_KERNEL_OPEN_FILES_H
#define STANDIN_KERNEL_OPEN_FILES_H

#include <windows.h>

#include <sys/stat.h>

namespace standin {

// The DELETE access right.
constexpr DWORD kDeleteAccess = 0x00010000;

struct OpenFileEntry {
    dev_t device;
    ino_t inode;
    DWORD access;
    DWORD share;
};

void RegisterOpenFile(const OpenFileEntry* entry);
void UnregisterOpenFile(const OpenFileEntry* entry);

// Whether a new handle with `access` and `share` may open the file `st`
// describes beside the handles already open on it: each side's access must be
// in the other's share mode.
bool SharingAllows(const struct stat& st, DWORD access, DWORD share);

// A file the platform would call read-only: a regular file with no write
// permission for anyone. Root may write it, so its permission bits are
// checked here rather than left to open(2).
bool IsReadOnly(const struct stat& st);

// NO_ERROR when the name `st` describes (not followed through a link) may be
// deleted or replaced: not read-only, and no open handle refuses to share
// deletion.
DWORD RemovalError(const struct stat& st);

}  // namespace standin

#endif

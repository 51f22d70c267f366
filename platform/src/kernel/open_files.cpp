#include "kernel/open_files.h"

#include <algorithm>
#include <vector>

namespace standin {
namespace {

std::vector<const OpenFileEntry*>& Entries() {
    static std::vector<const OpenFileEntry*> entries;
    return entries;
}

// The share-mode bits that must be granted for `access`: reading, writing
// and deleting each need the matching FILE_SHARE_* bit.
DWORD ShareNeeded(DWORD access) {
    DWORD needed = 0;
    if (access & GENERIC_READ) needed |= FILE_SHARE_READ;
    if (access & GENERIC_WRITE) needed |= FILE_SHARE_WRITE;
    if (access & kDeleteAccess) needed |= FILE_SHARE_DELETE;
    return needed;
}

}  // namespace

void RegisterOpenFile(const OpenFileEntry* entry) { Entries().push_back(entry); }

void UnregisterOpenFile(const OpenFileEntry* entry) {
    auto& entries = Entries();
    entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
}

bool SharingAllows(const struct stat& st, DWORD access, DWORD share) {
    for (const OpenFileEntry* e : Entries()) {
        if (e->device != st.st_dev || e->inode != st.st_ino) continue;
        // A handle without read, write or delete access (attributes only)
        // neither restricts nor is restricted.
        if (ShareNeeded(e->access) == 0 || ShareNeeded(access) == 0) continue;
        if ((ShareNeeded(access) & ~e->share) != 0 || (ShareNeeded(e->access) & ~share) != 0)
            return false;
    }
    return true;
}

bool IsReadOnly(const struct stat& st) {
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

DWORD RemovalError(const struct stat& st) {
    if (IsReadOnly(st)) return ERROR_ACCESS_DENIED;
    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (!SharingAllows(st, kDeleteAccess, shareAll)) return ERROR_SHARING_VIOLATION;
    return NO_ERROR;
}

}  // namespace standin

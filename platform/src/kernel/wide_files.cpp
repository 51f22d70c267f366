// The wide forms of the file calls: the names convert to UTF-8, then the
// narrow call does the work.
#include "kernel/wide_names.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

using namespace standin;

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                          HANDLE hTemplateFile) try {
    const NarrowName name(lpFileName);
    if (!name.Converts()) return Fail(kUnconvertibleNameError, INVALID_HANDLE_VALUE);
    return CreateFileA(name.Get(), dwDesiredAccess, dwShareMode, lpSecurityAttributes,
                       dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile);
} catch (...) {
    return OutOfMemory(INVALID_HANDLE_VALUE);
}

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) try {
    const NarrowName name(lpFileName);
    if (!name.Converts()) return Fail<BOOL>(kUnconvertibleNameError);
    return DeleteFileA(name.Get());
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) try {
    const NarrowName from(lpExistingFileName);
    const NarrowName to(lpNewFileName);
    if (!from.Converts() || !to.Converts()) return Fail<BOOL>(kUnconvertibleNameError);
    return MoveFileExA(from.Get(), to.Get(), dwFlags);
} catch (...) {
    return OutOfMemory<BOOL>();
}

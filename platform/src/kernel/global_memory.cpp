// GlobalAlloc and LocalAlloc with their companions: the two families of one
// set of memory objects (kernel/memory_objects.h).
#include "kernel/memory_objects.h"

using namespace standin;

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    return AllocMemory(kGlobalMemory, uFlags, dwBytes);
}
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) {
    return ReAllocMemory(kGlobalMemory, hMem, dwBytes, uFlags);
}
SIZE_T WINAPI GlobalSize(HGLOBAL hMem) { return MemorySize(hMem); }
UINT WINAPI GlobalFlags(HGLOBAL hMem) { return MemoryFlags(kGlobalMemory, hMem); }
LPVOID WINAPI GlobalLock(HGLOBAL hMem) { return LockMemory(hMem); }
BOOL WINAPI GlobalUnlock(HGLOBAL hMem) { return UnlockMemory(hMem); }
HGLOBAL WINAPI GlobalHandle(LPCVOID pMem) { return MemoryHandle(pMem); }
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) { return FreeMemory(hMem); }

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
    return AllocMemory(kLocalMemory, uFlags, uBytes);
}
HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags) {
    return ReAllocMemory(kLocalMemory, hMem, uBytes, uFlags);
}
SIZE_T WINAPI LocalSize(HLOCAL hMem) { return MemorySize(hMem); }
UINT WINAPI LocalFlags(HLOCAL hMem) { return MemoryFlags(kLocalMemory, hMem); }
LPVOID WINAPI LocalLock(HLOCAL hMem) { return LockMemory(hMem); }
BOOL WINAPI LocalUnlock(HLOCAL hMem) { return UnlockMemory(hMem); }
HLOCAL WINAPI LocalHandle(LPCVOID pMem) { return MemoryHandle(pMem); }
HLOCAL WINAPI LocalFree(HLOCAL hMem) { return FreeMemory(hMem); }

// Global and local memory objects. The platform keeps both families in one
// heap, so a handle from either works with the calls of both; each family
// has only its own flag values.
//
// A fixed object is its own address: its handle is the pointer to its first
// byte. A movable object is a checked handle in the object table that locks
// to its current address. Fixed addresses are registered, so a call given
// any other value, a freed block's address included, fails cleanly instead
// of touching memory it does not own.
#ifndef STANDIN_KERNEL_MEMORY_OBJECTS_H
#define STANDIN_KERNEL_MEMORY_OBJECTS_H

#include <windows.h>

namespace standin {

// One family's flag values: GMEM_* or LMEM_*.
struct MemoryFamily {
    UINT validFlags;   // what Alloc accepts
    UINT discardable;  // the flag that asks for, and reports, a discardable object
    UINT invalidHandle;  // what Flags returns for a bad handle
};

constexpr MemoryFamily kGlobalMemory{GMEM_VALID_FLAGS, GMEM_DISCARDABLE, GMEM_INVALID_HANDLE};
constexpr MemoryFamily kLocalMemory{LMEM_VALID_FLAGS, LMEM_DISCARDABLE, LMEM_INVALID_HANDLE};

// The calls, as the platform documents them for both families (the shared
// flag values MOVEABLE, ZEROINIT, MODIFY, DISCARDED and LOCKCOUNT agree).
HANDLE AllocMemory(const MemoryFamily& family, UINT flags, SIZE_T bytes);
HANDLE ReAllocMemory(const MemoryFamily& family, HANDLE handle, SIZE_T bytes, UINT flags);
SIZE_T MemorySize(HANDLE handle);
UINT MemoryFlags(const MemoryFamily& family, HANDLE handle);
LPVOID LockMemory(HANDLE handle);
BOOL UnlockMemory(HANDLE handle);
HANDLE MemoryHandle(LPCVOID address);
HANDLE FreeMemory(HANDLE handle);

// The bytes of a memory object for a caller that already holds the API lock
// and copies what it needs before letting go of it (a brush made from a
// packed DIB in global memory): no lock count changes. False, with the last
// error set as GlobalLock sets it, for a bad or discarded handle.
bool PeekMemoryLocked(HANDLE handle, const void** bytes, SIZE_T* size);

}  // namespace standin

#endif

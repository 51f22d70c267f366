// Test hooks of the Win32 stand-in: counts of live resources, so that tests
// can prove nothing leaked, and fault injection, so that every failure path
// of code built on the stand-in can be driven on purpose.
#ifndef STANDIN_TESTING_H
#define STANDIN_TESTING_H

#include <cstddef>

namespace standin {

// Calls that can be made to fail on purpose.
enum class Call {
    CreateCompatibleDC,
    CreateDIBSection,
    SelectObject,
    GetObjectA,
    GetDIBits,
    SetDIBits,
    StretchBlt,
    LoadImageA,
    CreateFileA,
    ReadFile,
    WriteFile,
    CloseHandle,
    DeleteFileA,
    HeapAlloc,
    Count
};

enum class Fault {
    // The call fails as the platform documents (NULL, FALSE, 0 or
    // INVALID_HANDLE_VALUE) and sets a plausible last-error code.
    Fail,
    // ReadFile and WriteFile succeed but move only half of the bytes asked
    // for (at least one fewer), as a full disk or a truncated file would.
    ShortTransfer,
};

// Makes the n-th call of `call` from now on (1 is the very next one) fail
// with `fault`. Replaces any fault pending for that call.
void FailNthCall(Call call, int n, Fault fault = Fault::Fail);

// Clears every pending fault.
void ClearFaults();

// How many times `call` has been made since the last ClearFaults.
int CallCount(Call call);

// Vector instruction sets the stand-in may use: none, up to SSSE3, or all
// the processor has (the default). Tests lower it so that every version of
// a routine is checked on one machine; it applies to calls made afterwards.
enum class SimdLimit { Portable, Ssse3, All };
void LimitSimd(SimdLimit limit);

// Live GDI objects made by the caller (stock objects excluded).
std::size_t LiveGdiObjects();
// Open file handles.
std::size_t OpenFiles();
// Heap blocks handed out by HeapAlloc and not yet freed.
std::size_t LiveHeapBlocks();

}  // namespace standin

#endif

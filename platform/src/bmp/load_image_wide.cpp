// LoadImageW: a file name converts to UTF-8, then LoadImageA loads.
#include "kernel/wide_names.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

using namespace standin;

HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad) try {
    // A resource identifier (MAKEINTRESOURCE) is a number in the pointer,
    // not a string. LoadImageA refuses resources; as a file name it could
    // only be read through a pointer that points nowhere, so it names no
    // file.
    if (name != nullptr && IS_INTRESOURCE(name)) {
        if (fuLoad & LR_LOADFROMFILE) return Fail<HANDLE>(ERROR_FILE_NOT_FOUND);
        return LoadImageA(hInst, reinterpret_cast<LPCSTR>(name), type, cx, cy, fuLoad);
    }
    const NarrowName narrow(name);
    if (!narrow.Converts()) return Fail<HANDLE>(kUnconvertibleNameError);
    return LoadImageA(hInst, narrow.Get(), type, cx, cy, fuLoad);
} catch (...) {
    return OutOfMemory<HANDLE>();
}

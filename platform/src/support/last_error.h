// The calling thread's last-error code, and a shorthand for failing with one.
#ifndef STANDIN_LAST_ERROR_H
#define STANDIN_LAST_ERROR_H

#include <windows.h>

namespace standin {

void SetError(DWORD code);

// Records `code` as the last error and returns the call's failure value: by
// default that of type T (a null handle, FALSE or 0), or the one given
// (INVALID_HANDLE_VALUE, INVALID_FILE_SIZE, CLR_INVALID, ...).
template <class T>
T Fail(DWORD code, T failure = T{}) {
    SetError(code);
    return failure;
}

}  // namespace standin

#endif

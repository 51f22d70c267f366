// The calling thread's last-error code, and a shorthand for failing with one.
#ifndef STANDIN_LAST_ERROR_H
#define STANDIN_LAST_ERROR_H

#include <windows.h>

namespace standin {

void SetError(DWORD code);

// Records `code` as the last error and returns the failure value of type T
// (a null handle, FALSE or 0).
template <class T>
T Fail(DWORD code) {
    SetError(code);
    return T{};
}

}  // namespace standin

#endif

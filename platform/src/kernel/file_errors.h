// The last-error code of a failed POSIX file call.
#ifndef STANDIN_KERNEL_FILE_ERRORS_H
#define STANDIN_KERNEL_FILE_ERRORS_H

#include <windows.h>

namespace standin {

DWORD ErrorFromErrno(int error);

}  // namespace standin

#endif

#include "support/last_error.h"

namespace standin {
namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

void SetError(DWORD code) { lastError = code; }

}  // namespace standin

DWORD WINAPI GetLastError(void) { return standin::lastError; }
void WINAPI SetLastError(DWORD dwErrCode) { standin::SetError(dwErrCode); }

// No exception crosses the C API. Every entry point's body is a function
// try-block whose handler returns OutOfMemory: the only exceptions the
// stand-in's code can raise come from allocating (operator new, a container
// growing, the API mutex's resources), so each becomes the call's documented
// failure value with ERROR_NOT_ENOUGH_MEMORY:
//
//   BOOL WINAPI FillRect(...) try {
//       ...
//   } catch (...) {
//       return OutOfMemory<BOOL>();
//   }
//
// Locals, the API lock among them, are released before the handler runs.
#ifndef STANDIN_API_BOUNDARY_H
#define STANDIN_API_BOUNDARY_H

#include "support/last_error.h"

namespace standin {

template <class T>
T OutOfMemory(T failure = T{}) {
    return Fail<T>(ERROR_NOT_ENOUGH_MEMORY, failure);
}

}  // namespace standin

#endif

// Writing into memory a caller handed over, without trusting the pointer.
// A bad address the platform would survive (it reports ERROR_NOACCESS) must
// not take the process down here, so the bytes are copied by the kernel,
// which reports an unwritable destination instead of faulting.
#ifndef STANDIN_CALLER_MEMORY_H
#define STANDIN_CALLER_MEMORY_H

#include <cstddef>

namespace standin {

// Copies `bytes` from `from` to the caller's `to`; false when `to` is not
// writable for all of them (the leading bytes that are writable may then
// hold the copy). An unwritable `to` is found by the kernel, never by
// touching it from here.
bool CopyToCaller(void* to, const void* from, std::size_t bytes);

}  // namespace standin

#endif
